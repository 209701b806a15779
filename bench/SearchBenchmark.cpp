// Contents search over the text half of the corpus (C and C++ headers and
// licences, then synthetic .con scripts), held as .con entries in a tree:
// nodesMatchingPredicate(searchPredicate(needle, false, true)), case- and
// diacritic-insensitive, against `grep -r -i -l -F needle` run as a process
// (LC_ALL=C, its fastest locale) over the same files written to disk, page
// cache warm (grep runs once per needle before timing). Both lists of
// matching files are compared.
//
//   bench_search [--text-mb=N] [--rounds=N] [NEEDLE...]
//
// Default needles: two found in many files (one near their top, one further
// down), one in few, one in none.

#include "ChildProcess.h"
#include "FileWriting.h"
#include "PackerArchive.h"
#include "Rounds.h"

#include "model/RFATreeNode.h"
#include "model/SearchPredicate.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

namespace {

using namespace larkspan;
using namespace larkspan::bench;
namespace fs = std::filesystem;

std::set<std::string> treeMatches(const RFATreeNode::Ptr& root, const std::string& needle)
{
    std::set<std::string> paths;
    for (const RFATreeNode::Ptr& node : root->nodesMatchingPredicate(searchPredicate(needle, false, true)))
        paths.insert(node->fullPath());
    return paths;
}

// grep's list, as archive paths: the folder stands for the top-level "bf1942".
std::set<std::string> grepMatches(const fs::path& listing, const fs::path& folder)
{
    std::set<std::string> paths;
    std::ifstream in(listing);
    for (std::string line; std::getline(in, line);)
        paths.insert("bf1942/" + fs::path(line).lexically_relative(folder).string());
    return paths;
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = takeRounds(argc, argv, 5);
    const std::size_t megabytes = takeSizeFlag(argc, argv, "text-mb", 128);
    std::vector<std::string> needles(argv + 1, argv + argc);
    if (needles.empty())
        needles = {"Copyright", "deprecated", "SIGSEGV", "xylophone"};
    startReport("bench_search");

    const fs::path folder = fs::path(LARKSPAN_BENCH_CACHE_DIR) / "search-bench";
    fs::remove_all(folder);
    const RFATreeNode::Ptr root = RFATreeNode::init();
    std::size_t files = 0;
    double size = 0;
    for (CorpusFile& file : corpusFiles(2 * (megabytes << 20))) {
        if (!file.isText)
            continue;
        const std::string path = archivePathOf(file).substr(std::string("bf1942/").size());
        fs::create_directories((folder / path).parent_path());
        PlainFile out(folder / path);
        out.write(file.bytes);
        out.close();
        ++files;
        size += static_cast<double>(file.bytes.size());
        root->addFileWithData(makeSharedBytes(std::move(file.bytes)), path);
    }
    std::printf("searching %zu text entries, %.0f bytes, in a tree and in %s\n", files, size, folder.c_str());

    const fs::path listing = fs::path(LARKSPAN_BENCH_CACHE_DIR) / "search-bench.grep";
    const auto grep = [&](const std::string& needle) {
        return [&, needle] {
            const int code = runProcess({"grep", "-r", "-i", "-l", "-F", "--", needle, folder.string()},
                                        listing.string(), {"LC_ALL=C"});
            if (code != 0 && code != 1)
                throw std::runtime_error("grep failed");
        };
    };
    std::vector<TimedTask> tasks;
    std::vector<std::size_t> counts;
    for (const std::string& needle : needles) {
        const std::set<std::string> ours = treeMatches(root, needle);
        grep(needle)();
        const std::set<std::string> theirs = grepMatches(listing, folder);
        counts.push_back(ours.size());
        std::printf("  \"%s\": %zu entries match in the tree, %zu files for grep%s\n", needle.c_str(), ours.size(),
                    theirs.size(), ours == theirs ? " (the same)" : " (the lists DIFFER)");
        tasks.push_back({"tree " + needle, [&root, needle] { treeMatches(root, needle); }});
        tasks.push_back({"grep " + needle, grep(needle)});
    }
    const std::vector<double> seconds = medianSeconds(tasks, rounds);

    std::printf("contents search (median of %d rounds; goal: faster than grep):\n", rounds);
    for (std::size_t i = 0; i < needles.size(); ++i) {
        const double ours = seconds[2 * i], theirs = seconds[2 * i + 1];
        printComparison("\"" + needles[i] + "\" (" + std::to_string(counts[i]) +
                            " matches) searchPredicate over the tree " + timeAndThroughput(ours, size),
                        "grep -r -i -l -F " + timeAndThroughput(theirs, size), Ratio::Speed, theirs / ours, Goal::AtLeast, 1.0);
    }
    fs::remove_all(folder);
    fs::remove(listing);
    std::printf("bench_search done: %s\n", machineLoad().c_str());
    return 0;
}
