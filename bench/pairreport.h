#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

// The console report, followed by each measured figure beside its reference with their
// ratio and the target the ratio is held to, so a run answers "is it fast enough" by itself.
// Both figures of a pair come from the same run of the same program.
class PairReport : public benchmark::ConsoleReporter
{
public:
    struct Pair
    {
        std::string what;      // as the summary names it
        std::string measured;  // benchmark names as printed
        std::string reference; // empty: the target is an absolute time in milliseconds
        double target;
        bool cpuTime = false; // one-thread work on a shared machine: compare CPU time
    };

    explicit PairReport(std::vector<Pair> pairs)
        : m_pairs(std::move(pairs))
    {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration)
                continue;
            const double perSecond = benchmark::GetTimeUnitMultiplier(run.time_unit);
            m_times[run.benchmark_name()] = {run.GetAdjustedRealTime() / perSecond,
                                             run.GetAdjustedCPUTime() / perSecond};
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        bool header = false;
        for (const Pair &pair : m_pairs) {
            const auto measured = m_times.find(pair.measured);
            if (measured == m_times.end())
                continue;
            if (!header)
                std::printf("\n%-44s %12s %12s %8s %8s\n", "pair", "measured", "reference", "ratio",
                            "target");
            header = true;
            const double ms =
                1e3 * (pair.cpuTime ? measured->second.second : measured->second.first);
            if (pair.reference.empty()) {
                std::printf("%-44s %9.3f ms %12s %8s %5.1f ms %s\n", pair.what.c_str(), ms, "-",
                            "-", pair.target, ms <= pair.target ? "met" : "MISSED");
                continue;
            }
            const auto reference = m_times.find(pair.reference);
            if (reference == m_times.end())
                continue;
            const double refMs =
                1e3 * (pair.cpuTime ? reference->second.second : reference->second.first);
            const double ratio = refMs > 0 ? ms / refMs : 0;
            std::printf("%-44s %9.3f ms %9.3f ms %8.2f %7.2fx %s\n", pair.what.c_str(), ms, refMs,
                        ratio, pair.target, ratio <= pair.target ? "met" : "MISSED");
        }
        std::fflush(stdout);
    }

private:
    std::vector<Pair> m_pairs;
    // Real and CPU seconds per iteration, by benchmark name.
    std::map<std::string, std::pair<double, double>> m_times;
};
