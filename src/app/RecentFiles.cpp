// The recent template files: newest first, no repeats, at most eight.
#include "app/RecentFiles.h"

#include <algorithm>

namespace k52 {

void RecentFiles::Add(const std::string& path) {
    if (path.empty()) return;
    Remove(path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kLimit) paths_.resize(kLimit);
}

void RecentFiles::Remove(const std::string& path) {
    paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
}

void RecentFiles::Set(const std::vector<std::string>& paths) {
    paths_.clear();
    for (const std::string& path : paths) {
        if (path.empty() || std::find(paths_.begin(), paths_.end(), path) != paths_.end()) continue;
        if (paths_.size() == kLimit) break;
        paths_.push_back(path);
    }
}

}  // namespace k52
