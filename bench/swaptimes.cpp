// Preloaded into radioshow by bench/showfps: times every buffer swap from
// outside the program, which stays unchanged. At exit it writes the frame
// intervals after the first second, as percentiles, to the file named by
// SWAPTIMES_OUT (standard error when unset).

#include <GL/glx.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

using SwapFunction = void (*)(Display*, GLXDrawable);

double NowSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

struct SwapLog
{
    SwapLog() { stamps.reserve(1 << 20); }
    ~SwapLog() { Report(); }

    void Report() const
    {
        std::vector<double> intervals;
        for (size_t i = 1; i < stamps.size(); ++i) {
            if (stamps[i - 1] - stamps.front() >= 1.0)
                intervals.push_back((stamps[i] - stamps[i - 1]) * 1000.0);
        }
        const char* path = std::getenv("SWAPTIMES_OUT");
        FILE* out = path ? std::fopen(path, "w") : stderr;
        if (!out)
            return;
        if (intervals.empty()) {
            std::fprintf(out, "swaps: %zu, too few to measure\n", stamps.size());
        } else {
            std::sort(intervals.begin(), intervals.end());
            const auto at = [&](double share) { return intervals[size_t(share * double(intervals.size() - 1))]; };
            const size_t over20 = size_t(intervals.end() - std::upper_bound(intervals.begin(), intervals.end(), 20.0));
            std::fprintf(out,
                         "swaps: %zu; frame interval after the first second, ms: p50 %.2f, p90 %.2f, "
                         "p99 %.2f, p99.9 %.2f, max %.2f; intervals over 20 ms: %zu\n",
                         stamps.size(), at(0.5), at(0.9), at(0.99), at(0.999), intervals.back(), over20);
        }
        if (out != stderr)
            std::fclose(out);
    }

    std::vector<double> stamps;
};

SwapLog& Log()
{
    static SwapLog log;
    return log;
}

}

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable)
{
    static const auto next = reinterpret_cast<SwapFunction>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    next(display, drawable);
    Log().stamps.push_back(NowSeconds());
}
