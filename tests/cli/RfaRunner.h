#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace larkspan::test {

struct RfaRun {
    int exitCode = -1; // the signal number, negated, when the tool was killed
    std::string out;
    std::string err;
};

struct RfaRunOptions {
    std::filesystem::path workingFolder; // empty: the test's own
    bool stderrOnTerminal = false;       // stderr is a pseudo-terminal
};

// Runs the built rfa tool with the arguments and collects what it printed.
RfaRun runRfa(const std::vector<std::string>& arguments, const RfaRunOptions& options = {});

} // namespace larkspan::test
