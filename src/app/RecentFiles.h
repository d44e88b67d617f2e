// The template files opened or saved last, newest first, as the command menu offers them again.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace k52 {

class RecentFiles {
  public:
    static constexpr std::size_t kLimit = 8;

    // Puts `path` first; a path already listed moves up, and the oldest beyond the limit drops out.
    void Add(const std::string& path);
    void Remove(const std::string& path);
    // A stored list, as the last run left it: empty entries and repeats dropped, at most the limit.
    void Set(const std::vector<std::string>& paths);
    const std::vector<std::string>& paths() const { return paths_; }

  private:
    std::vector<std::string> paths_;
};

}  // namespace k52
