#include "Rounds.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <numeric>
#include <random>
#include <thread>

namespace larkspan::bench {

std::vector<double> medianSeconds(const std::vector<TimedTask>& tasks, int rounds)
{
    std::vector<std::vector<double>> seconds(tasks.size());
    std::vector<std::size_t> order(tasks.size());
    std::iota(order.begin(), order.end(), 0);
    std::mt19937 random(1942);
    for (int round = 0; round < rounds; ++round) {
        std::shuffle(order.begin(), order.end(), random);
        for (const std::size_t i : order) {
            if (tasks[i].prepare)
                tasks[i].prepare();
            const auto started = std::chrono::steady_clock::now();
            tasks[i].run();
            seconds[i].push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
        }
    }
    std::vector<double> medians;
    for (std::vector<double>& times : seconds) {
        std::sort(times.begin(), times.end());
        const std::size_t n = times.size();
        medians.push_back(n == 0 ? 0 : n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2);
    }
    return medians;
}

std::string takeTextFlag(int& argc, char** argv, const char* name, std::string fallback)
{
    const std::string flag = std::string("--") + name + "=";
    std::string value = std::move(fallback);
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], flag.c_str(), flag.size()) == 0)
            value = argv[i] + flag.size();
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return value;
}

std::size_t takeSizeFlag(int& argc, char** argv, const char* name, std::size_t fallback)
{
    const std::string value = takeTextFlag(argc, argv, name, "");
    return value.empty() ? fallback : std::stoul(value);
}

int takeRounds(int& argc, char** argv, int fallback)
{
    return static_cast<int>(takeSizeFlag(argc, argv, "rounds", static_cast<std::size_t>(fallback)));
}

std::string machineLoad()
{
    std::ifstream in("/proc/loadavg");
    double one = 0, five = 0, fifteen = 0;
    in >> one >> five >> fifteen;
    char text[96];
    std::snprintf(text, sizeof text, "load average %.2f %.2f %.2f (%u cores)", one, five, fifteen,
                  std::thread::hardware_concurrency());
    return text;
}

void startReport(const char* name)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("%s: %s\n", name, machineLoad().c_str());
}

void printComparison(const std::string& figure, const std::string& anchor, Ratio kind, double ratio, Goal goal,
                     double goalRatio)
{
    std::printf("  %s\n    anchor %s\n    %s ratio %.2f", figure.c_str(), anchor.c_str(),
                kind == Ratio::Time ? "time" : kind == Ratio::Speed ? "speed" : "size", ratio);
    if (goal == Goal::AtMost)
        std::printf(" (goal <= %.2f: %s)", goalRatio, ratio <= goalRatio ? "met" : "NOT met");
    else if (goal == Goal::AtLeast)
        std::printf(" (goal >= %.2f: %s)", goalRatio, ratio >= goalRatio ? "met" : "NOT met");
    std::printf("\n");
    std::fflush(stdout);
}

std::string milliseconds(double seconds)
{
    char text[32];
    if (seconds < 1e-3)
        std::snprintf(text, sizeof text, "%.1f us", seconds * 1e6);
    else
        std::snprintf(text, sizeof text, "%.1f ms", seconds * 1e3);
    return text;
}

std::string timeAndThroughput(double seconds, double bytes)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.1f ms (%.0f MB/s)", seconds * 1e3, bytes / seconds / 1e6);
    return text;
}

} // namespace larkspan::bench
