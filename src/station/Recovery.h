// What a killed station, or an upload whose end failed, left behind, put right from the ledger before
// serving: rows left "receiving" are finished from their files, a row naming a partial file gets the
// file under its name, and files no row names are entered once. Files are known by identity (device and
// inode, then content), never by name, so a file reached under two names is one file.
#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "station/Journal.h"
#include "station/Ledger.h"
#include "util/platform/System.h"

namespace k52 {

// One regular file in a terminal's folder, as recovery and `uploads --verify` see it.
struct FolderFile {
    std::string relative;  // "TERMINAL/NAME"
    platform::FileId id;
    bool partial = false;  // a ".partial" file
    bool live = false;     // a partial file whose writer still holds it
};

// Every ".TXT" and ".partial" file in FOLDER's terminal folders, in name order.
std::vector<FolderFile> FilesInFolder(const std::string& folder);
// Files that no row names, each once however many names it has; partial files still written are left out.
std::vector<std::string> FilesWithoutRow(const std::string& folder, const std::vector<UploadRow>& rows);

class Recovery {
  public:
    // `entered` is told each row written, with the outcome it took.
    using Entered = std::function<void(const UploadRow& row)>;
    Recovery(std::string folder, Journal& journal, std::function<std::time_t()> wall, Entered entered)
        : folder_(std::move(folder)),
          journal_(journal),
          wall_(std::move(wall)),
          entered_(std::move(entered)) {}

    // Returns how many rows were written.
    int Run(const std::vector<UploadRow>& rows);

  private:
    bool NeedsFinishing(const UploadRow& row) const;
    void Finish(UploadRow row, const std::vector<FolderFile>& files);
    std::string FindStored(const UploadRow& row, const std::vector<FolderFile>& files) const;
    void EnterUnknown(const FolderFile& file, std::vector<UploadRow>& rows);
    void Count(UploadRow& row, const std::string& file);
    void Write(const UploadRow& row);
    std::string Full(const std::string& relative) const { return folder_ + "/" + relative; }

    std::string folder_;
    Journal& journal_;
    std::function<std::time_t()> wall_;
    Entered entered_;
    std::vector<platform::FileId> known_;
    int written_ = 0;
};

// "device:inode", as a row keeps its file's identity.
std::string FileIdText(const platform::FileId& id);

}  // namespace k52
