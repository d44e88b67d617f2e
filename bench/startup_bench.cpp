// How long k52gen takes to put its first picture on the screen, against a bare Qt window built for the
// benchmark (and the same window showing a line of text), started in turns; and the resident memory
// of each once it shows.
//
//   startup_bench [RUNS] [K52GEN...]     (default 15 of each; under xvfb-run, or QT_QPA_PLATFORM=offscreen;
//                                         further k52gen programs, such as one built from another
//                                         branch, take their turns too)
//
// The moment is the first flush of a window's backing store (Qt's "qt.widgets.painting" log line),
// read from the program's stderr as it comes: the window exists, was exposed and has been painted.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

double Now() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

long ResidentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

struct Start {
    double seconds = -1;  // to the first flush; negative when it never came
    long residentKb = -1;
};

// Starts `program`, waits for its first flushed window, measures its memory a moment later, stops it.
Start Measure(const char* program, const char* argument, const std::string& configHome) {
    int err[2];
    if (pipe(err) != 0) std::exit(1);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> env = {"QT_LOGGING_RULES=qt.widgets.painting=true",
                                    "QT_MESSAGE_PATTERN=%{message}", "XDG_CONFIG_HOME=" + configHome};
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "QT_LOGGING_RULES=", 17) != 0 &&
            std::strncmp(*e, "QT_MESSAGE_PATTERN=", 19) != 0 && std::strncmp(*e, "XDG_CONFIG_HOME=", 16) != 0)
            env.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program), const_cast<char*>(argument), nullptr};
    Start s;
    pid_t pid = -1;
    const double t0 = Now();
    if (posix_spawn(&pid, program, &actions, nullptr, argv, envp.data()) != 0) {
        std::perror(program);
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    close(err[1]);
    std::string seen;
    char buffer[4096];
    for (ssize_t n; (n = read(err[0], buffer, sizeof buffer)) > 0;) {
        seen.append(buffer, static_cast<std::size_t>(n));
        if (seen.find("Flushing top level") != std::string::npos) {
            s.seconds = Now() - t0;
            break;
        }
    }
    // What it holds once settled, not mid-way through its first frame.
    timespec settle{0, 300'000'000};
    nanosleep(&settle, nullptr);
    s.residentKb = ResidentKb(pid);
    close(err[0]);
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (!platform && !std::getenv("DISPLAY")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        platform = "offscreen";
    }
    char folder[] = "/tmp/k52-startup-bench-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    struct Program {
        const char* name;
        const char* path;
        const char* argument;
        std::vector<double> ms, kb;
    };
    std::vector<Program> programs = {{"k52gen", K52GEN_PATH, nullptr, {}, {}},
                                     {"bare window", BARE_PATH, nullptr, {}, {}},
                                     {"bare + text", BARE_PATH, "text", {}, {}}};
    for (int i = 2; i < argc; ++i) programs.push_back({argv[i], argv[i], nullptr, {}, {}});
    // One of each to warm the page cache, not counted.
    for (const Program& p : programs) Measure(p.path, p.argument, folder);
    for (int i = 0; i < runs; ++i) {
        // Turns rotate which goes first.
        for (std::size_t turn = 0; turn < programs.size(); ++turn) {
            Program& p = programs[(turn + static_cast<std::size_t>(i)) % programs.size()];
            const Start s = Measure(p.path, p.argument, folder);
            if (s.seconds < 0) {
                std::fprintf(stderr, "%s showed no window\n", p.name);
                return 1;
            }
            p.ms.push_back(s.seconds * 1000);
            p.kb.push_back(static_cast<double>(s.residentKb));
        }
    }
    rmdir(folder);
    std::printf("Time to the first painted window (%s, %d runs each, in turns):\n",
                platform ? platform : "xcb", runs);
    for (const Program& p : programs)
        std::printf("  %-12s median %5.1f ms  (min %5.1f, max %5.1f)  resident %.1f MB\n", p.name,
                    Median(p.ms), *std::min_element(p.ms.begin(), p.ms.end()),
                    *std::max_element(p.ms.begin(), p.ms.end()), Median(p.kb) / 1024);
    // Each round's own ratio as well: a load that comes and goes between rounds cancels out of it.
    auto ratios = [](const Program& p, const Program& base) {
        std::vector<double> r;
        for (std::size_t i = 0; i < p.ms.size(); ++i) r.push_back(p.ms[i] / base.ms[i]);
        std::printf("  %s / %s  x%.3f (median of the rounds' ratios x%.3f)\n", p.name, base.name,
                    Median(p.ms) / Median(base.ms), Median(r));
    };
    const Program &bare = programs[1], &text = programs[2];
    for (const Program& p : programs)
        if (&p != &bare && &p != &text) {
            ratios(p, bare);
            ratios(p, text);
        }
    return 0;
}
