#pragma once

#include <string>
#include <vector>

// Runs another program for a benchmark, with its output thrown away.
class CChildProgram {
public:
    struct SResult {
        bool m_bOk = false; // ended with status 0
        double m_dSeconds = 0;
        long m_nMaxRssKiB = 0;
    };

    // Wall time and peak resident memory of `args`.
    static SResult Run(const std::vector<std::string>& args);
    // Instructions of every thread of `args`, as counted by callgrind (the same on every
    // run, unlike time); -1 when the run failed. `strOutFile` takes callgrind's record.
    static long long CountInstructions(const std::vector<std::string>& args,
                                       const std::string& strOutFile);
    static double Median(std::vector<double> values);
};
