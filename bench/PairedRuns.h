#pragma once

#include <benchmark/benchmark.h>

// A benchmark and its reference, run alternately in one process so that drift of the
// machine affects both alike.
struct SPairedResult {
    bool m_bOk = false;
    double m_dMedian = 0;          // time per iteration of the benchmark, in `unit`
    double m_dReferenceMedian = 0; // the same of the reference
    double m_dRatio = 0;           // median of the pairwise ratios
};

class CPairedRuns {
public:
    using Function = void (*)(benchmark::State&);

    static SPairedResult Run(const char* strName, Function function, const char* strReference,
                             Function reference, benchmark::TimeUnit unit, int nRounds = 3);
};
