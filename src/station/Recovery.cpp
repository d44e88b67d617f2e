// Recovery from the ledger's rows: finish what was begun, then enter what no row knows, once.
#include "station/Recovery.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>

#include "i18n/Translate.h"
#include "transfer/RecordFile.h"
#include "util/LocalTime.h"
#include "util/Sha256.h"

namespace k52 {
namespace {

constexpr std::string_view kPartialSuffix = ".partial";

bool EndsWith(std::string_view s, std::string_view end) {
    return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

bool Contains(const std::vector<platform::FileId>& ids, const platform::FileId& id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

std::time_t ModifiedAt(const std::string& path, std::time_t otherwise) {
    std::error_code ec;
    const auto modified = std::filesystem::last_write_time(path, ec);
    if (ec) return otherwise;
    return std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(modified));
}

// The name a partial file's records were meant for: "X.TXT" for "X.TXT.<tag>.partial".
std::string TargetOf(const std::string& partial, std::time_t when) {
    const auto txt = partial.rfind(".TXT.");
    if (txt != std::string::npos) return partial.substr(0, txt + 4);
    return partial.substr(0, partial.rfind('/') + 1) + LocalFileStamp(when) + ".TXT";
}

}  // namespace

std::string FileIdText(const platform::FileId& id) {
    return std::to_string(id.device) + ":" + std::to_string(id.inode);
}

std::vector<FolderFile> FilesInFolder(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<FolderFile> files;
    std::error_code ec;
    for (const fs::directory_entry& terminal : fs::directory_iterator(folder, ec)) {
        if (!terminal.is_directory(ec)) continue;
        const std::string name = terminal.path().filename().string();
        for (const fs::directory_entry& e : fs::directory_iterator(terminal.path(), ec)) {
            const std::string leaf = e.path().filename().string();
            const bool partial = EndsWith(leaf, kPartialSuffix);
            if ((!partial && !EndsWith(leaf, ".TXT")) || !e.is_regular_file(ec)) continue;
            const std::optional<platform::FileId> id = platform::IdentityOf(e.path().string());
            if (!id) continue;
            files.push_back(
                {name + "/" + leaf, *id, partial, partial && RecordFile::Live(e.path().string())});
        }
    }
    std::sort(files.begin(), files.end(),
              [](const FolderFile& a, const FolderFile& b) { return a.relative < b.relative; });
    return files;
}

std::vector<std::string> FilesWithoutRow(const std::string& folder, const std::vector<UploadRow>& rows) {
    std::vector<platform::FileId> known;
    for (const UploadRow& r : rows)
        for (const std::string* f : {&r.file, &r.partial})
            if (!f->empty())
                if (const auto id = platform::IdentityOf(folder + "/" + *f)) known.push_back(*id);
    std::vector<std::string> unknown;
    for (const FolderFile& f : FilesInFolder(folder)) {
        if (f.live || Contains(known, f.id)) continue;
        known.push_back(f.id);
        unknown.push_back(f.relative);
    }
    return unknown;
}

bool Recovery::NeedsFinishing(const UploadRow& row) const {
    return row.outcome == UploadOutcomeKey(UploadOutcome::Receiving) || EndsWith(row.file, kPartialSuffix);
}

int Recovery::Run(const std::vector<UploadRow>& given) {
    std::vector<UploadRow> rows = given;
    const std::vector<FolderFile> files = FilesInFolder(folder_);
    for (const UploadRow& r : rows)
        if (NeedsFinishing(r)) Finish(r, files);
    for (const UploadRow& r : rows)
        if (!NeedsFinishing(r) && !r.file.empty())
            if (const auto id = platform::IdentityOf(Full(r.file))) known_.push_back(*id);
    for (const FolderFile& f : files) {
        if (f.live) continue;
        if (!Contains(known_, f.id)) {
            EnterUnknown(f, rows);
        } else if (f.partial && platform::IdentityOf(Full(f.relative))) {
            // Another name of a stored file, left by a kill between the link and the unlink.
            std::error_code ec;
            std::filesystem::remove(Full(f.relative), ec);
        }
    }
    return written_;
}

// The name the records stand under when the partial name is gone or is one of two: found by the
// identity the row kept, which every rename and link keeps too.
std::string Recovery::FindStored(const UploadRow& row, const std::vector<FolderFile>& files) const {
    for (const FolderFile& f : files)
        if (!f.partial && !row.fileId.empty() && FileIdText(f.id) == row.fileId) return f.relative;
    return "";
}

void Recovery::Finish(UploadRow row, const std::vector<FolderFile>& files) {
    const std::string partial = EndsWith(row.file, kPartialSuffix) ? row.file : row.partial;
    const bool partialThere =
        !partial.empty() && platform::KindOf(Full(partial)) == platform::PathKind::Regular;
    if (partialThere && RecordFile::Live(Full(partial))) return;  // its writer is still at it
    const bool receiving = row.outcome == UploadOutcomeKey(UploadOutcome::Receiving);
    std::string stored = FindStored(row, files);
    std::string trouble;
    std::error_code ec;
    if (!stored.empty() && partialThere) {
        std::filesystem::remove(Full(partial), ec);
    } else if (stored.empty() && partialThere && RecordFile::CountRecords(Full(partial)) == 0 && receiving) {
        std::filesystem::remove(Full(partial), ec);  // answered, then cut off before any record
    } else if (stored.empty() && partialThere) {
        int error = 0;
        const std::time_t when = ModifiedAt(Full(partial), wall_());
        const auto adopted = RecordFile::Adopt(Full(partial), Full(TargetOf(partial, when)), &error);
        stored = adopted ? adopted->substr(folder_.size() + 1) : partial;
        if (!adopted)
            trouble = Substitute(K52_EN("the records stay in %1: %2"), {partial, std::strerror(error)});
    }
    Count(row, stored);
    if (receiving) {
        row.outcome = UploadOutcomeKey(UploadOutcome::Interrupted);
        // The last record was written before its acknowledgement was sent, and may not have been.
        row.acknowledged = std::max(0, row.records - 1);
        row.message = Substitute(K52_EN("cut off when the station stopped; %1 records in the file"),
                                 {std::to_string(row.records)});
        if (row.records > 0)
            row.message += "; " + Substitute(K52_EN("record %1 may come again in the terminal's next upload"),
                                             {std::to_string(row.records)});
    }
    if (!trouble.empty()) row.message += (row.message.empty() ? "" : "; ") + trouble;
    if (row.ended.empty() || receiving) {
        const std::time_t ended = stored.empty() ? wall_() : ModifiedAt(Full(stored), wall_());
        row.ended = LocalIsoTime(ended);
        row.endedUtc = UtcIsoTime(ended);
    }
    Write(row);
}

void Recovery::Count(UploadRow& row, const std::string& file) {
    row.file = file;
    row.sha256.clear();
    row.records = 0;
    if (file.empty()) return;
    row.records = static_cast<int>(RecordFile::CountRecords(Full(file)));
    if (const auto hash = FileSha256Hex(Full(file))) row.sha256 = *hash;
    if (const auto id = platform::IdentityOf(Full(file))) {
        known_.push_back(*id);
        row.fileId = FileIdText(*id);
    }
}

void Recovery::EnterUnknown(const FolderFile& f, std::vector<UploadRow>& rows) {
    std::string file = f.relative;
    std::error_code ec;
    if (f.partial && RecordFile::CountRecords(Full(file)) == 0) {
        std::filesystem::remove(Full(file), ec);  // nothing was acknowledged into it
        return;
    }
    const std::optional<std::string> hash = FileSha256Hex(Full(file));
    // A copy of a stored upload whose own file is gone: that row's file, never a second upload.
    for (UploadRow& r : rows) {
        if (r.file.empty() || !hash || r.sha256 != *hash || platform::EntryExists(Full(r.file))) continue;
        r.file = f.relative;
        r.fileId = FileIdText(f.id);
        known_.push_back(f.id);
        Write(r);
        return;
    }
    const std::time_t when = ModifiedAt(Full(file), wall_());
    UploadRow row;
    row.key = Ledger::NewKey(wall_());
    row.terminal = row.device = file.substr(0, file.find('/'));
    row.started = row.ended = LocalIsoTime(when);
    row.startedUtc = row.endedUtc = UtcIsoTime(when);
    row.outcome = UploadOutcomeKey(UploadOutcome::Partial);
    row.message = K52_EN("found stored but not in the ledger after the station stopped");
    if (f.partial) {
        int error = 0;
        const auto adopted = RecordFile::Adopt(Full(file), Full(TargetOf(file, when)), &error);
        if (adopted) file = adopted->substr(folder_.size() + 1);
        row.outcome = UploadOutcomeKey(UploadOutcome::Interrupted);
        row.message = K52_EN("kept from an upload cut off when the station was stopped");
    }
    known_.push_back(f.id);
    Count(row, file);
    row.acknowledged = f.partial ? std::max(0, row.records - 1) : row.records;
    if (f.partial && row.records > 0)
        row.message += "; " + Substitute(K52_EN("record %1 may come again in the terminal's next upload"),
                                         {std::to_string(row.records)});
    Write(row);
}

void Recovery::Write(const UploadRow& row) {
    journal_.Put(row, [this, row] { entered_(row); });
    ++written_;
}

}  // namespace k52
