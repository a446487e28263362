// Start-up time of `lm740 --simulator` beside a bare Qt main window, from process start to the
// first painted main window, in interleaved runs on the current display (run it under Xvfb).
// Both programs are watched by the same plugin (startup_probe.cpp), so neither carries code of its
// own for it; the order alternates each round so that neither gains from the other's warm caches.
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

extern char **environ;

namespace {

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

struct Timing
{
    double wallMs = -1; // from the spawn to the probe's line; negative when no window showed
    double cpuMs = 0;   // processor time of the whole process, user and system
};

// Starts the program and waits for its window, for at most 30 s.
Timing timeStart(const std::vector<std::string> &command, const std::vector<std::string> &env)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The read end is closed first: it may be descriptor 3 itself.
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
    std::vector<char *> argv;
    for (const std::string &a : command)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char *> envp;
    for (const std::string &e : env)
        envp.push_back(const_cast<char *>(e.c_str()));
    envp.push_back(nullptr);

    pid_t pid = 0;
    const double start = nowMs();
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    Timing result;
    if (spawned == 0) {
        pollfd p{fds[0], POLLIN, 0};
        char buffer[16];
        if (poll(&p, 1, 30000) == 1 && read(fds[0], buffer, sizeof buffer) > 0)
            result.wallMs = nowMs() - start;
        else
            kill(pid, SIGKILL);
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        result.cpuMs = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                       double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    }
    close(fds[0]);
    return result;
}

} // namespace

int main(int argc, char *argv[])
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::string program = argc > 2 ? argv[2] : LM740_PROGRAM;
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        std::fprintf(stderr, "bench_startup: run it on a display, for example under xvfb-run\n");
        return 2;
    }

    std::vector<std::string> env;
    for (char **e = environ; *e; ++e)
        if (std::strncmp(*e, "QT_QPA_GENERIC_PLUGINS=", 23) &&
            std::strncmp(*e, "QT_PLUGIN_PATH=", 15) && std::strncmp(*e, "STARTUP_PROBE_FD=", 17) &&
            std::strncmp(*e, "XDG_CONFIG_HOME=", 16) && std::strncmp(*e, "XDG_STATE_HOME=", 15))
            env.emplace_back(*e);
    env.emplace_back("QT_QPA_GENERIC_PLUGINS=startupprobe");
    env.emplace_back(std::string("QT_PLUGIN_PATH=") + PROBE_PLUGIN_DIR);
    env.emplace_back("STARTUP_PROBE_FD=3");
    // Each program starts as a new user's would: no window place kept from an earlier run (the
    // window then opens at the bare one's size), no recovery files, no simulated memory.
    char home[] = "/tmp/bench_startup.XXXXXX";
    if (!mkdtemp(home)) {
        std::perror("bench_startup: mkdtemp");
        return 1;
    }
    const std::string config = std::string(home) + "/config", state = std::string(home) + "/state";
    env.emplace_back("XDG_CONFIG_HOME=" + config);
    env.emplace_back("XDG_STATE_HOME=" + state);
    const auto forget = [&] {
        const std::string command = "rm -rf '" + config + "' '" + state + "'";
        return std::system(command.c_str()) == 0;
    };

    struct Contestant
    {
        const char *name;
        std::vector<std::string> command;
        std::vector<double> ms;
        std::vector<double> cpu;
    };
    Contestant contestants[2] = {{"bare Qt main window", {BARE_WINDOW_PROGRAM}, {}, {}},
                                 {"lm740 --simulator", {program, "--simulator"}, {}, {}}};

    // One round of each first, unmeasured: the libraries into the page cache.
    for (Contestant &c : contestants)
        if (timeStart(c.command, env).wallMs < 0) {
            std::fprintf(stderr, "bench_startup: %s did not show a window\n", c.command[0].c_str());
            return 1;
        }
    if (!forget())
        return 1;
    for (int r = 0; r < rounds; ++r)
        for (int i = 0; i < 2; ++i) {
            Contestant &c = contestants[(r + i) % 2];
            const Timing t = timeStart(c.command, env);
            if (t.wallMs < 0) {
                std::fprintf(stderr, "bench_startup: %s did not show a window\n", c.name);
                return 1;
            }
            c.ms.push_back(t.wallMs);
            c.cpu.push_back(t.cpuMs);
            if (!forget())
                return 1;
        }
    rmdir(home);

    std::printf("%d interleaved rounds, process start to the first painted main window:\n", rounds);
    for (const Contestant &c : contestants)
        std::printf("  %-20s median %6.1f ms (min %6.1f, max %6.1f), processor %6.1f ms\n", c.name,
                    median(c.ms), *std::min_element(c.ms.begin(), c.ms.end()),
                    *std::max_element(c.ms.begin(), c.ms.end()), median(c.cpu));
    std::printf("  ratio %.2fx (goal: at most 1.30x), processor time %.2fx\n",
                median(contestants[1].ms) / median(contestants[0].ms),
                median(contestants[1].cpu) / median(contestants[0].cpu));
    return 0;
}
