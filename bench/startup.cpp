// Time from starting a program to its first top-level window being mapped, and
// its resident memory once shown, for a baseline program and others run in turn,
// round by round, so that each ratio compares runs made under the same machine
// state. Needs an X server (Xvfb).
#include <X11/Xlib.h>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
    double ms = 0;
    double cpuMs = 0;
    long rssKiB = 0;
};

// Time on a processor of all the program's threads so far. Unlike the time to
// the window it hardly moves when other work on the machine keeps the program
// waiting for a processor.
double cpuMs(pid_t pid) {
    std::error_code error;
    double ns = 0;
    for (const auto& task :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        double onCpu = 0;
        if (schedstat >> onCpu) {
            ns += onCpu;
        }
    }
    return ns / 1e6;
}

long residentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(4096, '\n');
    }
    return -1;
}

// Starts the program and waits for the first MapNotify of a normal top-level
// window; returns a negative time if none came within the limit.
Sample measure(Display* dpy, const std::string& program, int settleMs) {
    XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask);
    XSync(dpy, True);
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    Sample s{-1, -1, -1};
    const auto limit = start + std::chrono::seconds(20);
    const int fd = ConnectionNumber(dpy);
    while (Clock::now() < limit) {
        while (XPending(dpy) > 0) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == MapNotify && !ev.xmap.override_redirect) {
                s.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                s.cpuMs = cpuMs(pid);
                break;
            }
        }
        if (s.ms >= 0) {
            break;
        }
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        timeval tv{0, 1000};
        select(fd + 1, &fds, nullptr, nullptr, &tv);
    }
    if (s.ms >= 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
        s.rssKiB = residentKiB(pid);
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    XSelectInput(dpy, DefaultRootWindow(dpy), NoEventMask);
    return s;
}

// Linear interpolation between the closest ranks, as spreadsheets do.
double quantile(std::vector<double> v, double q) {
    if (v.empty()) {
        return 0;
    }
    std::sort(v.begin(), v.end());
    const double at = q * static_cast<double>(v.size() - 1);
    const auto below = static_cast<std::size_t>(at);
    const std::size_t above = std::min(below + 1, v.size() - 1);
    return v[below] + (at - static_cast<double>(below)) * (v[above] - v[below]);
}

struct Spread {
    double median, q1, q3;
};

Spread spread(const std::vector<double>& v) {
    return {quantile(v, 0.5), quantile(v, 0.25), quantile(v, 0.75)};
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s ROUNDS BASELINE PROGRAM [PROGRAM...]\n", argv[0]);
        return 2;
    }
    const int rounds = std::atoi(argv[1]);
    std::vector<std::string> programs(argv + 2, argv + argc);
    Display* dpy = XOpenDisplay(nullptr);
    if (dpy == nullptr) {
        std::fprintf(stderr, "startup: no X display (run under xvfb-run)\n");
        return 2;
    }
    // One unmeasured start each fills the file cache.
    for (const auto& p : programs) {
        measure(dpy, p, 50);
    }
    const std::size_t n = programs.size();
    std::vector<std::vector<double>> ms(n), cpu(n), rss(n), msRatio(n), cpuRatio(n), rssRatio(n);
    std::vector<Sample> round(n);
    for (int r = 0; r < rounds; ++r) {
        // Every other round runs the programs in reverse, so none always goes first.
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t i = r % 2 == 0 ? k : n - 1 - k;
            round[i] = measure(dpy, programs[i], 300);
            if (round[i].ms < 0) {
                std::fprintf(stderr, "startup: %s mapped no window\n", programs[i].c_str());
                return 1;
            }
        }
        // Each round's ratio compares runs made moments apart, so a load that
        // comes and goes on the machine weighs on both sides of it.
        for (std::size_t i = 0; i < n; ++i) {
            ms[i].push_back(round[i].ms);
            rss[i].push_back(static_cast<double>(round[i].rssKiB));
            cpu[i].push_back(round[i].cpuMs);
            msRatio[i].push_back(round[i].ms / round[0].ms);
            cpuRatio[i].push_back(round[i].cpuMs / round[0].cpuMs);
            rssRatio[i].push_back(static_cast<double>(round[i].rssKiB) /
                                  static_cast<double>(round[0].rssKiB));
        }
    }
    XCloseDisplay(dpy);

    const int policy = sched_getscheduler(0);
    std::printf("Scheduling: %s.\n", policy == SCHED_FIFO || policy == SCHED_RR
                                         ? "real-time, ahead of other work on the machine"
                                         : "normal, shared with other work on the machine");
    std::printf(
        "%d interleaved rounds. Ratios are per round against the first program,\n"
        "shown as median [interquartile range]. Time is from start to the window\n"
        "mapped; CPU is the program's processor time until then.\n\n",
        rounds);
    std::printf("%-34s %8s %8s %8s  %-21s %-21s %-21s\n", "program", "time ms", "CPU ms", "RSS KiB",
                "time ratio", "CPU ratio", "RSS ratio");
    auto ratio = [](const std::vector<double>& v) {
        const Spread s = spread(v);
        std::printf("  %.3f [%.3f-%.3f]", s.median, s.q1, s.q3);
    };
    for (std::size_t i = 0; i < n; ++i) {
        std::printf("%-34s %8.1f %8.1f %8.0f", programs[i].c_str(), quantile(ms[i], 0.5),
                    quantile(cpu[i], 0.5), quantile(rss[i], 0.5));
        ratio(msRatio[i]);
        ratio(cpuRatio[i]);
        ratio(rssRatio[i]);
        std::printf("\n");
    }
    return 0;
}
