// The template file: its bytes, reading one without waiting on odd files, and saving one safely.
#include "template/TemplateFile.h"

#include <cerrno>
#include <cstring>

#include "util/RegularFile.h"
#include "util/SaveFile.h"

namespace k52 {

std::vector<unsigned char> SerializeTemplate(const ApplicationTemplate& t) {
    std::vector<unsigned char> out(kTemplateFileSize, 0);
    std::memcpy(out.data(), kTemplateMagic, sizeof kTemplateMagic);
    std::memcpy(out.data() + sizeof kTemplateMagic, t.bytes(), kTemplateSize);
    return out;
}

TemplateReadResult ParseTemplate(const unsigned char* data, std::size_t size, ApplicationTemplate& t) {
    if (size < kTemplateFileMinSize || std::memcmp(data, kTemplateMagic, sizeof kTemplateMagic) != 0)
        return TemplateReadResult::BadFormat;
    std::memcpy(t.bytes(), data + sizeof kTemplateMagic, kTemplateSize);
    return TemplateReadResult::Ok;
}

TemplateReadResult ReadTemplateFile(const std::string& path, ApplicationTemplate& t, std::string* reason) {
    UniqueFd fd = OpenRegularFileForReading(path, reason);
    if (!fd) return TemplateReadResult::CannotOpen;
    // Only the magic and the blocks are needed; a longer file's extra bytes are ignored.
    std::vector<unsigned char> data(kTemplateFileMinSize);
    const long got = ReadUpTo(fd.get(), data.data(), data.size());
    if (got < 0) {
        if (reason) *reason = std::strerror(errno);
        return TemplateReadResult::CannotOpen;
    }
    return ParseTemplate(data.data(), static_cast<std::size_t>(got), t);
}

bool WriteTemplateFile(const std::string& path, const ApplicationTemplate& t, std::string* reason) {
    const std::vector<unsigned char> bytes = SerializeTemplate(t);
    return SaveWholeFile(path, bytes.data(), bytes.size(), reason);
}

std::string WithTemplateExtension(std::string_view name) {
    std::string s(name);
    auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
    bool has = s.size() >= 4 && s[s.size() - 4] == '.' && upper(s[s.size() - 3]) == 'A' &&
               upper(s[s.size() - 2]) == 'T' && upper(s[s.size() - 1]) == 'C';
    if (!has) s += ".ATC";
    return s;
}

}  // namespace k52
