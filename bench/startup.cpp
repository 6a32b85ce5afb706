// Time from starting a program to its first top-level window being mapped, and
// its resident memory once shown, measured for several programs run by run in
// turn so that both see the same machine state. Needs an X server (Xvfb).
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
    double ms = 0;
    long rssKiB = 0;
};

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
    Sample s{-1, -1};
    const auto limit = start + std::chrono::seconds(20);
    const int fd = ConnectionNumber(dpy);
    while (Clock::now() < limit) {
        while (XPending(dpy) > 0) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == MapNotify && !ev.xmap.override_redirect) {
                s.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
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

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n == 0 ? 0 : (n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s RUNS PROGRAM [PROGRAM...]\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
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
    std::vector<std::vector<double>> ms(programs.size()), rss(programs.size());
    for (int r = 0; r < runs; ++r) {
        for (std::size_t i = 0; i < programs.size(); ++i) {
            const Sample s = measure(dpy, programs[i], 300);
            if (s.ms < 0) {
                std::fprintf(stderr, "startup: %s mapped no window\n", programs[i].c_str());
                return 1;
            }
            ms[i].push_back(s.ms);
            rss[i].push_back(static_cast<double>(s.rssKiB));
        }
    }
    std::printf("%-40s %12s %14s %10s %10s\n", "program", "median ms", "median RSS KiB", "time ×",
                "RSS ×");
    const double baseMs = median(ms[0]);
    const double baseRss = median(rss[0]);
    for (std::size_t i = 0; i < programs.size(); ++i) {
        const double m = median(ms[i]);
        const double r = median(rss[i]);
        std::printf("%-40s %12.1f %14.0f %10.3f %10.3f\n", programs[i].c_str(), m, r, m / baseMs,
                    r / baseRss);
    }
    XCloseDisplay(dpy);
    return 0;
}
