// The template file: magic "Kxx-3.10", the nine blocks byte for byte, and 100 zero bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "template/Template.h"

namespace k52 {

constexpr char kTemplateMagic[8] = {'K', 'x', 'x', '-', '3', '.', '1', '0'};
constexpr std::size_t kTemplateFileSize = 8734;
constexpr std::size_t kTemplateTrailerSize = 100;
constexpr std::size_t kTemplateFileMinSize = 8 + kTemplateSize;  // the trailer is never read
constexpr std::size_t kMaxTemplatePath = 255;

enum class TemplateReadResult { Ok, CannotOpen, BadFormat };

std::vector<unsigned char> SerializeTemplate(const ApplicationTemplate& t);
// Refuses a wrong magic and a file that ends before the last block; `t` changes only on Ok.
TemplateReadResult ParseTemplate(const unsigned char* data, std::size_t size, ApplicationTemplate& t);
// Refuses what is not a regular file (a FIFO or device is never waited on). On CannotOpen `reason` (when
// given) holds the system's words for why, such as "Permission denied".
TemplateReadResult ReadTemplateFile(const std::string& path, ApplicationTemplate& t,
                                    std::string* reason = nullptr);

// Saves so that an earlier file is never lost and stays the file it was (see SaveWholeFile): links
// followed, links and mode and owner kept, FIFOs, devices and read-only files refused. On failure
// `reason` (when given) holds the system's words for why.
bool WriteTemplateFile(const std::string& path, const ApplicationTemplate& t, std::string* reason = nullptr);

// "stock.txt" -> "stock.txt.ATC"; names ending in ".ATC" in any case are kept.
std::string WithTemplateExtension(std::string_view name);

}  // namespace k52
