#include "template/TemplateFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace k52 {

const char kFormatErrorText[] = "檔案格式錯誤!!";
const char kErrorTitle[] = "錯誤";
const char kCannotSaveText[] = "無法儲存檔案!!";
const char kPathTooLongText[] = "檔案名稱過長!!";

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

TemplateReadResult ReadTemplateFile(const std::string& path, ApplicationTemplate& t) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return TemplateReadResult::CannotOpen;
    // Only the magic and the blocks are needed; a longer file's extra bytes are ignored.
    std::vector<unsigned char> data(kTemplateFileMinSize);
    in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (in.bad()) return TemplateReadResult::CannotOpen;
    return ParseTemplate(data.data(), static_cast<std::size_t>(in.gcount()), t);
}

namespace {

bool WriteAll(int fd, const unsigned char* p, std::size_t n) {
    while (n > 0) {
        ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

std::string DirectoryOf(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace

bool WriteTemplateFile(const std::string& path, const ApplicationTemplate& t, std::string* error) {
    auto fail = [&](const char* what) {
        if (error) *error = std::string(what) + ": " + std::strerror(errno);
        return false;
    };
    std::vector<unsigned char> bytes = SerializeTemplate(t);
    std::string tmp = path + ".XXXXXX";
    std::vector<char> name(tmp.begin(), tmp.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) return fail("cannot create");
    bool ok = WriteAll(fd, bytes.data(), bytes.size());
    if (!ok) {
        int saved = errno;
        ::close(fd);
        ::unlink(name.data());
        errno = saved;
        return fail("cannot write");
    }
    // An existing file keeps its permissions; a new one gets the usual ones.
    struct stat st {};
    mode_t mode;
    if (::stat(path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        int saved = errno;
        ::unlink(name.data());
        errno = saved;
        return fail("cannot write");
    }
    if (::rename(name.data(), path.c_str()) != 0) {
        int saved = errno;
        ::unlink(name.data());
        errno = saved;
        return fail("cannot replace");
    }
    int dir = ::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

std::string WithTemplateExtension(std::string_view name) {
    std::string s(name);
    auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
    bool has = s.size() >= 4 && s[s.size() - 4] == '.' && upper(s[s.size() - 3]) == 'A' &&
               upper(s[s.size() - 2]) == 'T' && upper(s[s.size() - 1]) == 'C';
    if (!has) s += ".ATC";
    return s;
}

int OpenTemplate(TemplateDocument& doc, TemplateFileDialogs& dialogs, MessageBoxes& messages) {
    std::optional<std::string> path = dialogs.ChooseTemplateToOpen();
    if (!path) return 0;
    ApplicationTemplate loaded = doc.tmpl;
    switch (ReadTemplateFile(*path, loaded)) {
        case TemplateReadResult::CannotOpen:
            return 0;
        case TemplateReadResult::BadFormat:
            messages.ShowMessage(kFormatErrorText, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
            return 0;
        case TemplateReadResult::Ok:
            break;
    }
    doc.tmpl = loaded;
    doc.templatePath = *path;
    return 1;
}

int SaveTemplate(TemplateDocument& doc, TemplateFileDialogs& dialogs, MessageBoxes& messages) {
    if (doc.templatePath.empty()) return SaveTemplateAs(doc, dialogs, messages);
    if (!WriteTemplateFile(doc.templatePath, doc.tmpl)) {
        messages.ShowMessage(kCannotSaveText, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        return 0;
    }
    return 1;
}

int SaveTemplateAs(TemplateDocument& doc, TemplateFileDialogs& dialogs, MessageBoxes& messages) {
    std::optional<std::string> chosen = dialogs.ChooseTemplateToSave();
    if (!chosen) return 0;
    std::string path = WithTemplateExtension(*chosen);
    if (path.size() > kMaxTemplatePath) {
        messages.ShowMessage(kPathTooLongText, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        return 0;
    }
    doc.templatePath = path;
    return SaveTemplate(doc, dialogs, messages);
}

}  // namespace k52
