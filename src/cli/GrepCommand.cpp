#include "cli/Commands.h"
#include "cli/Diagnostics.h"
#include "cli/EntrySearch.h"
#include "cli/ModOpening.h"
#include "fs/SafePath.h"
#include "mod/ArchiveListing.h"
#include "model/EntryKind.h"

#include <filesystem>
#include <memory>

namespace larkspan::cli {

namespace {

struct GrepOptions {
    std::string pattern;
    std::vector<std::string> targets;
    MatchOptions match;
    bool namesOnly = false;
};

class Search {
public:
    Search(const LineMatcher& matcher, bool namesOnly) : matcher_(matcher), namesOnly_(namesOnly) {}

    void archive(const std::string& path)
    {
        const Result<ArchiveListing> listing = ArchiveListing::open(pathFromUtf8(path));
        if (!listing) {
            reportProblem(path, reasonText(listing.error()));
            trouble_ = true;
            return;
        }
        std::vector<SearchedEntry> entries;
        entries.reserve(listing->records().size());
        for (const RecordFields& record : listing->records())
            if (isText(record.name))
                entries.push_back({&path, &record.name, [&](const SegmentSink& take) { return listing->readInPieces(record, take, firstLook()); }});
        search(entries);
    }

    // Only the entries that win are searched: what the game reads.
    void mod(const std::string& folder)
    {
        const std::optional<ModIndex> index = openMod(folder);
        if (!index) {
            trouble_ = true;
            return;
        }
        std::vector<SearchedEntry> entries;
        for (const ModEntry& each : index->entries())
            if (isText(index->path(each)))
                entries.push_back({&index->archive(each.source).shownPath, &index->path(each),
                                   [&](const SegmentSink& take) { return index->readInPieces(each.source, take, firstLook()); }});
        search(entries);
    }

    ExitCode status() const { return trouble_ ? ExitCode::Trouble : matched_ ? ExitCode::Success : ExitCode::NoMatch; }

private:
    // With -l, an entry's first bytes are searched before the rest is
    // decoded: where a script matches at all, it mostly does in its first
    // lines (the header comment), and then the rest is never decoded.
    std::size_t firstLook() const { return namesOnly_ ? kFirstLook : 0; }
    static constexpr std::size_t kFirstLook = 2048;

    static bool isText(const std::string& name) { return isTextKind(entryKindOf(extensionOf(name))); }

    void search(const std::vector<SearchedEntry>& entries)
    {
        const SearchOutcome outcome = searchEntries(entries, matcher_, namesOnly_);
        matched_ = matched_ || outcome.matched;
        trouble_ = trouble_ || outcome.trouble;
    }

    const LineMatcher& matcher_;
    const bool namesOnly_;
    bool matched_ = false;
    bool trouble_ = false;
};

ExitCode runGrep(const GrepOptions& options)
{
    std::optional<LineMatcher> matcher;
    try {
        matcher.emplace(options.pattern, options.match);
    } catch (const std::regex_error& error) {
        reportProblem("grep", "not a valid regular expression: " + options.pattern + " (" + error.what() + ")");
        return ExitCode::Trouble;
    }
    Search search(*matcher, options.namesOnly);
    for (const std::string& target : options.targets) {
        std::error_code error;
        if (std::filesystem::is_directory(pathFromUtf8(target), error))
            search.mod(target);
        else
            search.archive(target);
    }
    return search.status();
}

} // namespace

Command addGrepCommand(CLI::App& app)
{
    auto options = std::make_shared<GrepOptions>();
    CLI::App* grep = addSubcommand(
        app, "grep", "Print the lines of text entries that contain a pattern",
        "Searches the text entries (scripts and plain text, told by their extension) of\n"
        "each archive, or of each mod folder as the game sees it: only the entry that\n"
        "wins a path is searched (see `rfa mod`). Each matching line is printed as\n"
        "ARCHIVE:ENTRY:LINE:TEXT, LINE counted from 1 and TEXT without its line break;\n"
        "a mod's archives are shown by their path from the game folder. The pattern is\n"
        "an ECMAScript regular expression unless -F is given; -i ignores case, also of\n"
        "accented letters. Entries are read as Latin-1 and printed as UTF-8.",
        kGrepExitCodeHelp);
    grep->add_flag("-i,--ignore-case", options->match.ignoreCase, "Ignore case");
    grep->add_flag("-l,--files-with-matches", options->namesOnly,
                   "Print only ARCHIVE:ENTRY of each entry that holds a match");
    grep->add_flag("-F,--fixed-strings", options->match.fixedString, "Take the pattern as text, not an expression");
    grep->add_option("PATTERN", options->pattern, "What to look for")->required();
    grep->add_option("TARGET", options->targets, "Archives (.rfa) and mod folders (Mods/NAME)")->required();
    return {grep, [options] { return runGrep(*options); }};
}

} // namespace larkspan::cli
