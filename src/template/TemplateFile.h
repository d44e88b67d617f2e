// The template file: magic "Kxx-3.10", the nine blocks byte for byte, and 100 zero bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "template/Template.h"
#include "template/UserInterface.h"

namespace k52 {

constexpr char kTemplateMagic[8] = {'K', 'x', 'x', '-', '3', '.', '1', '0'};
constexpr std::size_t kTemplateFileSize = 8734;
constexpr std::size_t kTemplateTrailerSize = 100;
constexpr std::size_t kTemplateFileMinSize = 8 + kTemplateSize;  // the trailer is never read
constexpr std::size_t kMaxTemplatePath = 255;

extern const char kFormatErrorText[];  // "檔案格式錯誤!!"
extern const char kErrorTitle[];       // "錯誤"
extern const char kCannotSaveText[];   // "無法儲存檔案!!"
extern const char kPathTooLongText[];

enum class TemplateReadResult { Ok, CannotOpen, BadFormat };

std::vector<unsigned char> SerializeTemplate(const ApplicationTemplate& t);
// Refuses a wrong magic and a file that ends before the last block; `t` changes only on Ok.
TemplateReadResult ParseTemplate(const unsigned char* data, std::size_t size, ApplicationTemplate& t);
TemplateReadResult ReadTemplateFile(const std::string& path, ApplicationTemplate& t);

// Writes to a temporary file in the same folder, flushes it to disk and renames it over `path`, so an
// earlier file is never lost. On failure `error` says why.
bool WriteTemplateFile(const std::string& path, const ApplicationTemplate& t, std::string* error = nullptr);

// "stock.txt" -> "stock.txt.ATC"; names ending in ".ATC" in any case are kept.
std::string WithTemplateExtension(std::string_view name);

// The template the shell owns, with its file path and modified flag.
struct TemplateDocument {
    ApplicationTemplate tmpl{};
    std::string templatePath;
    bool templateModified = false;
};

// The file commands' operations. Each returns 1 on success and 0 otherwise, after telling the user
// whatever went wrong. None of them touches templateModified.
int OpenTemplate(TemplateDocument& doc, TemplateFileDialogs& dialogs, MessageBoxes& messages);
int SaveTemplate(TemplateDocument& doc, TemplateFileDialogs& dialogs, MessageBoxes& messages);
int SaveTemplateAs(TemplateDocument& doc, TemplateFileDialogs& dialogs, MessageBoxes& messages);

}  // namespace k52
