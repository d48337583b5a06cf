// Timing for the Windows benchmarks: the performance counter in seconds, and the median time of
// one call over several batches (GDI work flushed at the end of each batch).
#pragma once
#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace kvbench {

inline double Now() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Microseconds per call: the median of `batches` batches of `calls` calls each.
inline double MicrosPerCall(int calls, const std::function<void()>& work, int batches = 15) {
    std::vector<double> times;
    for (int b = 0; b < batches; ++b) {
        const double start = Now();
        for (int i = 0; i < calls; ++i) work();
        GdiFlush();
        times.push_back((Now() - start) * 1e6 / calls);
    }
    return Median(times);
}

}  // namespace kvbench
