#pragma once

#include "cli/ExitCode.h"

#include <CLI/CLI.hpp>

#include <functional>

namespace larkspan::cli {

// A subcommand added to the tool's parser, and the work it does when the
// command line chose it (its options are filled in by then).
struct Command {
    CLI::App* parser;
    std::function<ExitCode()> run;
};

Command addListCommand(CLI::App& app);
Command addInfoCommand(CLI::App& app);
Command addExtractCommand(CLI::App& app);
Command addPackCommand(CLI::App& app);
Command addCatCommand(CLI::App& app);
Command addVerifyCommand(CLI::App& app);

} // namespace larkspan::cli
