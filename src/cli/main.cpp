#include "cli/Commands.h"

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
    CLI::App app("Lists, unpacks, packs and checks RFA archives (Battlefield 1942 mods).", "rfa");
    app.set_version_flag("--version", "rfa " LARKSPAN_VERSION);
    app.require_subcommand(1);
    app.failure_message(usageFailure);
    app.footer("Exit status: 0 on success, 1 when an archive cannot be read or an entry fails, "
               "2 on wrong usage.\n");

    const std::vector<Command> commands{addListCommand(app),    addInfoCommand(app),
                                        addExtractCommand(app), addPackCommand(app),
                                        addCatCommand(app),     addVerifyCommand(app)};
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? 0 : static_cast<int>(ExitCode::Usage);
    }
    for (const Command& command : commands)
        if (command.parser->parsed())
            return static_cast<int>(command.run());
    return static_cast<int>(ExitCode::Usage);
}
