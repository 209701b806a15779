#include "cli/Commands.h"
#include "cli/Diagnostics.h"
#include "cli/LineMatcher.h"
#include "cli/ModOpening.h"
#include "base/Latin1.h"
#include "format/ArchiveListing.h"
#include "model/EntryKind.h"

#include <cstdio>
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

    // Searches one entry when it is text; its content is read only then.
    void entry(const std::string& archive, const std::string& name,
               const std::function<Result<SharedBytes>()>& content)
    {
        if (!isTextKind(entryKindOf(extensionOf(name))))
            return;
        const Result<SharedBytes> text = content();
        if (!text) {
            reportEntryProblem(archive, name, reasonText(text.error()));
            trouble_ = true;
            return;
        }
        const std::string shownName = displayName(name);
        const std::size_t found = matcher_.scan(**text, namesOnly_, [&](std::size_t number, std::string_view line) {
            if (!namesOnly_)
                std::printf("%s:%s:%zu:%s\n", archive.c_str(), shownName.c_str(), number,
                            latin1ToUtf8(ByteSpan(reinterpret_cast<const std::uint8_t*>(line.data()), line.size())).c_str());
        });
        if (found > 0 && namesOnly_)
            std::printf("%s:%s\n", archive.c_str(), shownName.c_str());
        matched_ = matched_ || found > 0;
    }

    void archive(const std::string& path)
    {
        const Result<ArchiveListing> listing = ArchiveListing::open(path);
        if (!listing) {
            reportProblem(path, "cannot be read: " + reasonText(listing.error()));
            trouble_ = true;
            return;
        }
        for (const RecordFields& record : listing->records())
            entry(path, record.name, [&] { return listing->content(record); });
    }

    // Only the entries that win are searched: what the game reads.
    void mod(const std::string& folder)
    {
        const std::optional<ModIndex> index = openMod(folder);
        if (!index) {
            trouble_ = true;
            return;
        }
        for (const ModEntry& each : index->entries())
            entry(index->archive(each.source).shownPath, index->path(each),
                  [&] { return index->content(each.source); });
    }

    ExitCode status() const { return trouble_ ? ExitCode::Trouble : matched_ ? ExitCode::Success : ExitCode::NoMatch; }

private:
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
        if (std::filesystem::is_directory(target, error))
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
