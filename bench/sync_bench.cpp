// What making each received record durable costs on a file on disk: fdatasync against fsync after each
// record's write, and the record file's own Append, one writer and four at once as in a receive from
// four terminals.
//
//   sync_bench [FOLDER] [ROUNDS]     (default /tmp and 3; 1000 records per file)
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "transfer/RecordFile.h"

namespace {

constexpr int kRecords = 1000;

double Now() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

std::string Record(int i) {
    return "4710000" + std::to_string(100000 + i) + "," + std::to_string(i % 97) + ",SHELF-" +
           std::to_string(i % 13);
}

// Writes kRecords records into `path` one by one, syncing each with `sync`; seconds taken.
double Plain(const std::string& path, int (*sync)(int)) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) std::exit(1);
    const double start = Now();
    for (int i = 0; i < kRecords; ++i) {
        const std::string line = Record(i) + "\r\n";
        if (write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size()) || sync(fd) != 0)
            std::exit(1);
    }
    const double took = Now() - start;
    close(fd);
    unlink(path.c_str());
    return took;
}

double Appended(const std::string& path) {
    int error = 0;
    std::optional<k52::RecordFile> file = k52::RecordFile::Create(path, &error);
    if (!file) std::exit(1);
    const double start = Now();
    for (int i = 0; i < kRecords; ++i) {
        const std::string r = Record(i);
        if (!file->Append(reinterpret_cast<const k52::u8*>(r.data()), r.size(), &error)) std::exit(1);
    }
    const double took = Now() - start;
    file.reset();  // dropped without a commit: the partial file goes
    return took;
}

// `writers` files filled at once; the slowest one's time.
double AtOnce(int writers, const std::string& folder, const std::function<double(const std::string&)>& fill) {
    std::vector<double> took(static_cast<std::size_t>(writers));
    std::vector<std::thread> threads;
    for (int w = 0; w < writers; ++w)
        threads.emplace_back([&, w] {
            took[static_cast<std::size_t>(w)] = fill(folder + "/sync-bench-" + std::to_string(w) + ".TXT");
        });
    for (std::thread& t : threads) t.join();
    return *std::max_element(took.begin(), took.end());
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "/tmp";
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    struct Way {
        const char* name;
        std::function<double(const std::string&)> fill;
        std::vector<double> one, four;
    };
    std::vector<Way> ways = {
        {"write + fdatasync", [](const std::string& p) { return Plain(p, fdatasync); }, {}, {}},
        {"write + fsync", [](const std::string& p) { return Plain(p, fsync); }, {}, {}},
        {"RecordFile::Append", Appended, {}, {}},
    };
    for (int r = 0; r < rounds; ++r)
        for (Way& w : ways) {
            w.one.push_back(AtOnce(1, folder, w.fill));
            w.four.push_back(AtOnce(4, folder, w.fill));
        }
    std::printf("%d records, each synced before the next, in %s (median of %d rounds):\n", kRecords,
                folder.c_str(), rounds);
    for (Way& w : ways) {
        std::sort(w.one.begin(), w.one.end());
        std::sort(w.four.begin(), w.four.end());
        const double one = w.one[w.one.size() / 2], four = w.four[w.four.size() / 2];
        std::printf("  %-20s one file %.3f s (%.0f us a record)   four at once %.3f s (%.0f us a record)\n",
                    w.name, one, one * 1e6 / kRecords, four, four * 1e6 / kRecords);
    }
    return 0;
}
