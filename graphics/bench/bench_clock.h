// The benchmarks' clock, the performance counter in microseconds, and the
// percentile of a set of timings.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <vector>

inline double bench_now_us() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// The value at fraction `p` (0 the least, 1 the greatest) of the sorted
// values, rounding the position down: percentile(v, 0.5) of an even count is
// the lower of the two middle values. `values` must not be empty.
inline double percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}
