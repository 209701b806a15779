#pragma once

#include "cli/ExitCode.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <string>

namespace larkspan::cli {

// A subcommand added to the tool's parser, and the work it does when the
// command line chose it (its options are filled in by then).
struct Command {
    CLI::App* parser;
    std::function<ExitCode()> run;
};

// A subcommand whose summary is listed by `rfa --help` and whose details
// follow its own options in `rfa NAME --help`, with the exit statuses it
// gives.
CLI::App* addSubcommand(CLI::App& app, const std::string& name, const std::string& summary,
                        const std::string& details, const char* exitCodeHelp = kExitCodeHelp);

Command addListCommand(CLI::App& app);
Command addInfoCommand(CLI::App& app);
Command addExtractCommand(CLI::App& app);
Command addPackCommand(CLI::App& app);
Command addConvertCommand(CLI::App& app);
Command addCatCommand(CLI::App& app);
Command addVerifyCommand(CLI::App& app);
Command addGrepCommand(CLI::App& app);
Command addDiffCommand(CLI::App& app);
Command addModCommand(CLI::App& app);
Command addUpdateCommand(CLI::App& app);

} // namespace larkspan::cli
