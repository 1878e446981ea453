#include "PairedRuns.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {
// Keeps the time per iteration of every run, by name.
class CRecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            m_times[run.run_name.function_name].push_back(run.GetAdjustedRealTime());
    }
    std::map<std::string, std::vector<double>> m_times;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
} // namespace

SPairedResult CPairedRuns::Run(const char* strName, Function function, const char* strReference,
                               Function reference, benchmark::TimeUnit unit, int nRounds) {
    for (int round = 0; round < nRounds; ++round) {
        benchmark::RegisterBenchmark(strName, function)->Unit(unit);
        benchmark::RegisterBenchmark(strReference, reference)->Unit(unit);
    }
    CRecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const std::vector<double>& times = reporter.m_times[strName];
    const std::vector<double>& referenceTimes = reporter.m_times[strReference];
    std::vector<double> ratios;
    for (size_t i = 0; i < std::min(times.size(), referenceTimes.size()); ++i)
        ratios.push_back(times[i] / referenceTimes[i]);
    SPairedResult result;
    if (ratios.empty())
        return result;
    result.m_bOk = true;
    result.m_dMedian = Median(times);
    result.m_dReferenceMedian = Median(referenceTimes);
    result.m_dRatio = Median(ratios);
    return result;
}
