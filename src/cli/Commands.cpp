#include "cli/Commands.h"

namespace larkspan::cli {

CLI::App* addSubcommand(CLI::App& app, const std::string& name, const std::string& summary,
                        const std::string& details, const char* exitCodeHelp)
{
    CLI::App* command = app.add_subcommand(name, summary);
    command->footer(details + "\n\n" + exitCodeHelp + "\n");
    return command;
}

} // namespace larkspan::cli
