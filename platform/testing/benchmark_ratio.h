// Benchmarks print ratios of medians at the end: this reporter keeps the median of every
// benchmark (or its single run, when no repetitions are asked for) while it prints as usual.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> medians, singles;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs) {
            const std::string name = r.run_name.str();
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
                medians[name] = r.GetAdjustedRealTime();
            else if (r.run_type == Run::RT_Iteration)
                singles[name] = r.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // The median of a benchmark by its full name, its single run's time, or 0.
    double Time(const std::string& name) const
    {
        auto m = medians.find(name);
        if (m != medians.end())
            return m->second;
        auto s = singles.find(name);
        return s != singles.end() ? s->second : 0;
    }
};
