#pragma once

#include <functional>
#include <string>
#include <vector>

namespace larkspan::bench {

// One thing to time: `prepare` runs untimed before every `run`.
struct TimedTask {
    std::string name;
    std::function<void()> run;
    std::function<void()> prepare = {};
};

// Runs every task once per round, in a fresh random order each round so that
// a busy machine slows them alike, and returns each task's median seconds.
std::vector<double> medianSeconds(const std::vector<TimedTask>& tasks, int rounds);

// "--rounds=N" taken out of the arguments; `fallback` when absent.
int takeRounds(int& argc, char** argv, int fallback);
// "--NAME=TEXT" taken out of the arguments; `fallback` when absent.
std::string takeTextFlag(int& argc, char** argv, const char* name, std::string fallback);
// "--NAME=N" taken out of the arguments; `fallback` when absent.
std::size_t takeSizeFlag(int& argc, char** argv, const char* name, std::size_t fallback);

// "load average 1.52 1.20 0.98 (2 cores)", from /proc/loadavg.
std::string machineLoad();
// Prints "NAME: load average ..." and makes standard output line-buffered,
// so that a report sent to a file shows its progress.
void startReport(const char* name);

// What a ratio compares: our time over the anchor's (lower is better), our
// speed over the anchor's, that is the anchor's time over ours (higher is
// better), or our size (memory) over the anchor's.
enum class Ratio { Time, Speed, Size };
enum class Goal { AtMost, AtLeast, None };

// The figure, its anchor, their ratio and whether the goal (ratio at most,
// or at least, `goalRatio`) is met.
void printComparison(const std::string& figure, const std::string& anchor, Ratio kind, double ratio,
                     Goal goal = Goal::None, double goalRatio = 0);

// "412.3 ms", or "41.2 us" below a millisecond
std::string milliseconds(double seconds);
// "412.3 ms (771 MB/s)"
std::string timeAndThroughput(double seconds, double bytes);

} // namespace larkspan::bench
