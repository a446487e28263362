// Start-up time of `lm740 --simulator` beside a bare Qt main window, in interleaved runs on the
// current display (run it under Xvfb): from process start to the first painted main window, and
// to a quiet screen, the last paint before the program stops painting (the lamp controls drawn).
// Both programs are watched by the same plugin (startup_probe.cpp), so neither carries code of its
// own for it; the order alternates each round so that neither gains from the other's warm caches.
#include <poll.h>
#include <signal.h>
#include <spawn.h>
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

constexpr int kQuietMs = 300;           // a screen this long without a paint is quiet
constexpr double kQuietLimitMs = 20000; // a program not quiet this long after its start is ended

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
    // From the spawn to the probe's lines; negative when the window never showed, or when the
    // program did not go quiet within the time allowed.
    double shownMs = -1;
    double quietMs = -1;
    double shownCpuMs = 0; // processor time of the whole process, user and system, at each
    double quietCpuMs = 0;
};

// Starts the program and reads the probe's two lines: the first painted window within 30 s, the
// quiet screen within `quietLimitMs` of the start; a program that does not go quiet is ended.
Timing timeStart(const std::vector<std::string> &command, const std::vector<std::string> &env,
                 double quietLimitMs)
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
        std::string lines;
        for (;;) {
            const double limit = result.shownMs < 0 ? 30000 : quietLimitMs;
            const int left = int(std::max(0.0, start + limit - nowMs()));
            pollfd p{fds[0], POLLIN, 0};
            char buffer[256];
            ssize_t n = 0;
            if (poll(&p, 1, left) != 1 || (n = read(fds[0], buffer, sizeof buffer)) <= 0)
                break;
            lines.append(buffer, size_t(n));
            double t = 0, cpu = 0;
            for (size_t end; (end = lines.find('\n')) != std::string::npos;
                 lines.erase(0, end + 1)) {
                if (std::sscanf(lines.c_str(), "shown %lf %lf", &t, &cpu) == 2) {
                    result.shownMs = t - start;
                    result.shownCpuMs = cpu;
                } else if (std::sscanf(lines.c_str(), "quiet %lf %lf", &t, &cpu) == 2) {
                    result.quietMs = t - start;
                    result.quietCpuMs = cpu;
                }
            }
            if (result.quietMs >= 0)
                break;
        }
        if (result.quietMs < 0)
            kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
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

    // What counts as quiet: STARTUP_PROBE_QUIET_MS without a paint. The program's preview strip
    // and its simulated controller's view fade into the first scene over the scene's time: that
    // is the show playing, as it goes on playing later, not the window being built.
    env.emplace_back("STARTUP_PROBE_QUIET_MS=" + std::to_string(kQuietMs));
    env.emplace_back("STARTUP_PROBE_IGNORE=MyDockWidget,SimulatedLm740View");
    if (const char *shot = std::getenv("STARTUP_PROBE_SHOT"))
        env.emplace_back(std::string("STARTUP_PROBE_SHOT=") + shot);

    struct Contestant
    {
        const char *name;
        std::vector<std::string> command;
        std::vector<double> shown, shownCpu, quiet, quietCpu;
        int restless = 0; // rounds in which the program did not go quiet
    };
    Contestant contestants[2] = {{"bare Qt main window", {BARE_WINDOW_PROGRAM}, {}, {}, {}, {}},
                                 {"lm740 --simulator", {program, "--simulator"}, {}, {}, {}, {}}};

    double load[3] = {};
    getloadavg(load, 3);
    const double loadBefore = load[0];
    // One round of each first, unmeasured: the libraries into the page cache.
    for (Contestant &c : contestants)
        if (timeStart(c.command, env, kQuietLimitMs).shownMs < 0) {
            std::fprintf(stderr, "bench_startup: %s did not show a window\n", c.command[0].c_str());
            return 1;
        }
    if (!forget())
        return 1;
    for (int r = 0; r < rounds; ++r)
        for (int i = 0; i < 2; ++i) {
            Contestant &c = contestants[(r + i) % 2];
            const Timing t = timeStart(c.command, env, kQuietLimitMs);
            if (t.shownMs < 0) {
                std::fprintf(stderr, "bench_startup: %s did not show a window\n", c.name);
                return 1;
            }
            c.shown.push_back(t.shownMs);
            c.shownCpu.push_back(t.shownCpuMs);
            if (t.quietMs >= 0) {
                c.quiet.push_back(t.quietMs);
                c.quietCpu.push_back(t.quietCpuMs);
            } else {
                ++c.restless;
            }
            if (!forget())
                return 1;
        }
    rmdir(home);
    getloadavg(load, 3);

    const auto line = [](const char *name, const std::vector<double> &ms,
                         const std::vector<double> &cpu) {
        std::printf("  %-20s median %6.1f ms (min %6.1f, max %6.1f), processor %6.1f ms\n", name,
                    median(ms), *std::min_element(ms.begin(), ms.end()),
                    *std::max_element(ms.begin(), ms.end()), median(cpu));
    };
    const Contestant &bare = contestants[0], &ours = contestants[1];
    std::printf("%d interleaved rounds, load average %.2f before and %.2f after\n", rounds,
                loadBefore, load[0]);
    std::printf("process start to the first painted main window:\n");
    for (const Contestant &c : contestants)
        line(c.name, c.shown, c.shownCpu);
    std::printf("  ratio %.2fx (goal: at most 1.30x), processor time %.2fx\n",
                median(ours.shown) / median(bare.shown),
                median(ours.shownCpu) / median(bare.shownCpu));
    std::printf("process start to a quiet screen (the last paint before %d ms without one; the "
                "preview strip's and simulated controller's fades not counted):\n",
                kQuietMs);
    bool allQuiet = true;
    for (const Contestant &c : contestants) {
        if (c.restless > 0) {
            allQuiet = false;
            std::printf("  %-20s did not go quiet within %.0f s in %d of %d rounds\n", c.name,
                        kQuietLimitMs / 1000, c.restless, rounds);
        }
        if (!c.quiet.empty())
            line(c.name, c.quiet, c.quietCpu);
    }
    if (!ours.quiet.empty() && !bare.quiet.empty())
        std::printf("  ratio %.2fx (goal: at most 1.50x), processor time %.2fx\n",
                    median(ours.quiet) / median(bare.quiet),
                    median(ours.quietCpu) / median(bare.quietCpu));
    return allQuiet ? 0 : 1;
}
