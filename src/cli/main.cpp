#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/HelpFormatter.h"

#include <exception>
#include <iostream>
#include <memory>
#include <vector>

using namespace larkspan::cli;

namespace {

std::string usageFailure(const CLI::App*, const CLI::Error& error)
{
    return std::string("rfa: ") + error.what() + "\nRun with --help for more information.\n";
}

} // namespace

int main(int argc, char** argv)
{
    prepareConsole();
    CLI::App app("Lists, unpacks, packs, converts and checks RFA archives (Battlefield 1942 mods).", "rfa");
    // A path such as /tmp/a.rfa is a path on every system, never an option.
    app.allow_windows_style_options(false);
    app.set_version_flag("--version", "rfa " LARKSPAN_VERSION);
    app.require_subcommand(1);
    app.failure_message(usageFailure);
    app.footer(std::string(kExitCodeHelp) + "\n");
    // Set before the commands are added: each takes its parent's formatter.
    app.formatter(std::make_shared<HelpFormatter>());

    const std::vector<Command> commands{addListCommand(app),    addInfoCommand(app),
                                        addExtractCommand(app), addPackCommand(app),
                                        addConvertCommand(app), addCatCommand(app),
                                        addVerifyCommand(app),  addGrepCommand(app),
                                        addDiffCommand(app),    addModCommand(app),
                                        addUpdateCommand(app)};
    const std::vector<std::string> arguments = utf8Arguments(argc, argv);
    std::vector<const char*> pointers;
    for (const std::string& argument : arguments)
        pointers.push_back(argument.c_str());
    try {
        app.parse(static_cast<int>(pointers.size()), pointers.data());
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? 0 : static_cast<int>(ExitCode::Usage);
    }
    for (const Command& command : commands) {
        if (!command.parser->parsed())
            continue;
        try {
            return static_cast<int>(command.run());
        } catch (const std::exception& error) { // out of memory, above all
            std::cerr << "rfa: " << command.parser->get_name() << ": " << error.what() << std::endl;
            return static_cast<int>(ExitCode::Failure);
        }
    }
    return static_cast<int>(ExitCode::Usage);
}
