// What the link's fuzz targets share: a user who answers No and picks fixed files, and a scratch folder
// in memory where there is one (a receive fsyncs its file for every record).
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "support/TransferUis.h"

namespace k52::fuzz {

// A user who answers No and picks fixed files.
using QuietUi = test::NullTransferUi;

inline const std::string& ScratchDir() {
    static const std::string dir = [] {
        struct stat st {};
        const char* base = stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) ? "/dev/shm" : "/tmp";
        std::string name = std::string(base) + "/k52-fuzz-XXXXXX";
        return std::string(mkdtemp(name.data()));
    }();
    return dir;
}

inline std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace k52::fuzz
