// The recovery copy's schedule and its files.
#include "app/UnsavedCopy.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "template/TemplateFile.h"
#include "util/LocalTime.h"
#include "util/Parse.h"
#include "util/RegularFile.h"
#include "util/SaveFile.h"
#include "util/platform/System.h"

namespace k52 {

void UnsavedCopySchedule::Changed(std::int64_t nowMs) {
    if (!firstPending_) firstPending_ = nowMs;
    lastChange_ = nowMs;
}

std::optional<std::int64_t> UnsavedCopySchedule::DueAt() const {
    if (!firstPending_) return std::nullopt;
    return std::min(lastChange_ + kQuietMs, *firstPending_ + kLongestWaitMs);
}

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPrefix = "unsaved-";
constexpr std::string_view kCopyExtension = ".ATC";
constexpr std::string_view kNoteExtension = ".note";
constexpr std::string_view kWrittenKey = "written=";
constexpr std::string_view kPathKey = "path=";
constexpr std::size_t kNoteLimit = 4096;

std::string NotePath(const std::string& copyPath) {
    return copyPath.substr(0, copyPath.size() - kCopyExtension.size()) + std::string(kNoteExtension);
}

void RemoveFile(const std::string& path) {
    std::error_code ec;
    fs::remove(path, ec);
}

// The process id a copy's name holds: "unsaved-4711.ATC" -> 4711.
std::optional<unsigned long> PidOfName(std::string_view name) {
    if (!name.starts_with(kPrefix) || !name.ends_with(kCopyExtension)) return std::nullopt;
    name.remove_prefix(kPrefix.size());
    name.remove_suffix(kCopyExtension.size());
    return ParseUnsigned<unsigned long>(name);
}

// True when the file at the template's own path holds this very template.
bool AlreadySaved(const TemplateDocument& doc) {
    if (doc.templatePath.empty()) return false;
    ApplicationTemplate onDisk{};
    if (ReadTemplateFile(doc.templatePath, onDisk) != TemplateReadResult::Ok) return false;
    return SerializeTemplate(onDisk) == SerializeTemplate(doc.tmpl);
}

}  // namespace

UnsavedCopies::UnsavedCopies(std::string folder, unsigned long ownPid, RunningCheck running)
    : folder_(std::move(folder)), ownPid_(ownPid), running_(running ? running : &platform::ProcessRunning) {}

std::string UnsavedCopies::DefaultFolder() {
    return platform::UserStateFolder() + platform::kPathSeparator + "k52";
}

std::string UnsavedCopies::CopyPath(unsigned long pid) const {
    return folder_ + platform::kPathSeparator + std::string(kPrefix) + std::to_string(pid) +
           std::string(kCopyExtension);
}

bool UnsavedCopies::Write(const TemplateDocument& doc, std::time_t now, std::string* reason) {
    std::error_code ec;
    fs::create_directories(folder_, ec);
    if (ec) {
        if (reason) *reason = ec.message();
        return false;
    }
    // The note first: a copy is only ever found with the note of its own write or of the one before,
    // which names the same template.
    const std::string copy = CopyPath(ownPid_);
    const std::string note =
        std::string(kWrittenKey) + UtcIsoTime(now) + "\n" + std::string(kPathKey) + doc.templatePath + "\n";
    return SaveWholeFile(NotePath(copy), note.data(), note.size(), reason) &&
           WriteTemplateFile(copy, doc.tmpl, reason);
}

void UnsavedCopies::RemoveOwn() {
    const std::string copy = CopyPath(ownPid_);
    RemoveFile(copy);
    RemoveFile(NotePath(copy));
}

void UnsavedCopies::Remove(const UnsavedCopy& copy) {
    RemoveFile(copy.file);
    RemoveFile(NotePath(copy.file));
}

std::vector<UnsavedCopy> UnsavedCopies::Leftovers() {
    std::vector<UnsavedCopy> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const auto pid = PidOfName(name);
        // A running k52gen's copy is its own business; a copy named after this process is from an
        // earlier boot's process of the same id.
        if (!pid || (*pid != ownPid_ && running_(*pid))) continue;
        UnsavedCopy copy;
        copy.file = it->path().string();
        if (ReadTemplateFile(copy.file, copy.doc.tmpl) != TemplateReadResult::Ok) {
            Remove(copy);
            continue;
        }
        copy.doc.templateModified = true;
        if (const auto note = ReadWholeFile(NotePath(copy.file), kNoteLimit)) {
            std::string_view rest = *note;
            while (!rest.empty()) {
                const std::string_view line = rest.substr(0, rest.find('\n'));
                rest.remove_prefix(std::min(rest.size(), line.size() + 1));
                if (line.starts_with(kWrittenKey)) {
                    if (const auto t = ParseInstant(std::string(line.substr(kWrittenKey.size()))))
                        copy.written = *t;
                } else if (line.starts_with(kPathKey)) {
                    copy.doc.templatePath = std::string(line.substr(kPathKey.size()));
                }
            }
        }
        if (AlreadySaved(copy.doc)) {
            Remove(copy);
            continue;
        }
        found.push_back(std::move(copy));
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const UnsavedCopy& a, const UnsavedCopy& b) { return a.written > b.written; });
    return found;
}

}  // namespace k52
