#include "cli/Commands.h"
#include "cli/Diagnostics.h"
#include "cli/EntrySelection.h"
#include "cli/FolderExtraction.h"
#include "cli/ModOpening.h"
#include "cli/Progress.h"
#include "cli/SizeText.h"

#include <cstdio>
#include <memory>

namespace larkspan::cli {

namespace {

struct ModOptions {
    std::string mod;
    bool details = false;
    std::vector<std::string> paths;
    std::string folder = ".";
    bool force = false;
    bool withPath = false;
};

ExitCode runList(const ModOptions& options)
{
    const std::optional<ModIndex> index = openMod(options.mod);
    if (!index)
        return ExitCode::Failure;
    for (const ModEntry& entry : index->entries()) {
        const std::string path = displayName(index->path(entry));
        const std::string& from = index->archive(entry.source).shownPath;
        if (!options.details) {
            std::printf("%s\t%s\n", path.c_str(), from.c_str());
            continue;
        }
        std::string overrides;
        for (const EntrySource& source : entry.overridden)
            overrides += (overrides.empty() ? "\toverrides " : ", ") + index->archive(source).shownPath;
        std::printf("%10s  %s\t%s%s\n",
                    shownSize(index->contentLength(entry.source)).c_str(), path.c_str(),
                    from.c_str(), overrides.c_str());
    }
    return ExitCode::Success;
}

ExitCode runWhich(const ModOptions& options)
{
    const std::optional<ModIndex> index = openMod(options.mod);
    if (!index)
        return ExitCode::Failure;
    // One path alone gives the bare archive, for `$(rfa mod which ...)`;
    // several need their path in front to tell the lines apart.
    const bool withPath = options.withPath || options.paths.size() > 1;
    ExitCode status = ExitCode::Success;
    for (const std::string& path : options.paths) {
        if (const ModEntry* entry = index->find(path)) {
            const std::string& archive = index->archive(entry->source).shownPath;
            if (withPath)
                std::printf("%s\t%s\n", displayName(path).c_str(), archive.c_str());
            else
                std::printf("%s\n", archive.c_str());
        } else {
            reportEntryProblem(options.mod, path, "no archive of the mod or of the mods it uses holds it");
            status = ExitCode::Failure;
        }
    }
    return status;
}

ExitCode runExtract(const ModOptions& options)
{
    const std::optional<ModIndex> index = openMod(options.mod);
    if (!index || !makeDestination(options.folder))
        return ExitCode::Failure;
    EntrySelection selection(options.paths, true);
    std::vector<const ModEntry*> selected;
    std::vector<ExtractionEntry> entries;
    for (const ModEntry& entry : index->entries()) {
        const std::string& path = index->path(entry);
        if (selection.selects(path)) {
            selected.push_back(&entry);
            entries.push_back({index->archive(entry.source).shownPath, path});
        }
    }
    FolderExtraction extraction(options.folder, options.force);
    ProgressLine progress("extracting " + options.mod);
    bool allWritten = extraction.extract(
        entries, [&](std::size_t at) { return index->content(selected[at]->source); },
        [&](std::size_t at) { progress.update(at + 1, entries.size()); });
    for (const std::string& path : selection.unmatchedPaths()) {
        reportEntryProblem(options.mod, path, "no such entry in the mod");
        allWritten = false;
    }
    if (!extraction.flushReplaced())
        allWritten = false;
    return allWritten ? ExitCode::Success : ExitCode::Failure;
}

void addModFolder(CLI::App* command, ModOptions& options)
{
    command->add_option("MODDIR", options.mod, "The mod's folder (Mods/NAME, beside the mods it uses)")
        ->required();
}

} // namespace

Command addModCommand(CLI::App& app)
{
    auto options = std::make_shared<ModOptions>();
    CLI::App* mod = addSubcommand(
        app, "mod", "Show a whole mod as the game sees it: list, which, extract",
        "A mod is a folder Mods/NAME with an init.con and an Archives folder holding\n"
        "archives at any depth. Its init.con's \"game.addModPath Mods/X/\" lines name the\n"
        "mods whose content it uses, earlier lines first; the mod itself comes before\n"
        "all of them. Within a mod, BASE_NNN.rfa beside BASE.rfa replaces its entries,\n"
        "the highest number first. Names and paths compare without regard to case.\n"
        "Two archives of one mod that are not updates of one another and hold the same\n"
        "path are warned about; the one whose path sorts last wins. Archives that cannot\n"
        "be read and listed mods that are missing are warned about and left out.\n"
        "Archives are shown by their path from the game folder (the one holding Mods).",
        kModExitCodeHelp);
    mod->require_subcommand(1);

    CLI::App* list = addSubcommand(*mod, "list", "Print every entry the game sees and the archive it comes from",
                                   "One line per entry, sorted by path: the path, a tab, the archive. With -l\n"
                                   "each line starts with the size and ends with the archives the entry\n"
                                   "overrides, strongest first.",
                                   kModExitCodeHelp);
    addModFolder(list, *options);
    list->add_flag("-l,--long", options->details, "Also show sizes and the archives each entry overrides");

    CLI::App* which = addSubcommand(*mod, "which", "Print the archive that gives the game each path",
                                    "For each path, the archive the game reads it from, one line each. With\n"
                                    "one path the line is the archive alone; with several (or -H) it is the\n"
                                    "path as given, a tab, the archive, as `rfa mod list` prints it. A path\n"
                                    "that no archive holds is reported, and the status is 1.",
                                    kModExitCodeHelp);
    addModFolder(which, *options);
    which->add_flag("-H,--with-path", options->withPath, "Print the path in front also when only one is given");
    which->add_option("PATH", options->paths, "Entry paths (bf1942/objects/...), in any case")->required();

    CLI::App* extract = addSubcommand(
        *mod, "extract", "Write what the game sees to disk, never outside the chosen folder",
        "Writes every entry the game sees, or those at or under the given paths, each\n"
        "from the archive that wins it, with the safety rules and --force of\n"
        "`rfa extract`.",
        kModExitCodeHelp);
    addModFolder(extract, *options);
    extract->add_option("PATH", options->paths, "Entries or folders to extract, in any case");
    extract->add_option("-C,--directory", options->folder,
                        "The folder to write into (made if missing; default: the current folder)");
    extract->add_flag("-f,--force", options->force, "Replace existing files");

    return {mod, [options, list, which] {
                if (list->parsed())
                    return runList(*options);
                if (which->parsed())
                    return runWhich(*options);
                return runExtract(*options);
            }};
}

} // namespace larkspan::cli
