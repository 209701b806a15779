#include "cli/FolderExtraction.h"

#include "base/StringAdditions.h"
#include "base/WorkerPool.h"
#include "cli/Diagnostics.h"
#include "fs/SafePath.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace larkspan::cli {

namespace fs = std::filesystem;

namespace {

// The components of a stored name, split at every "/" (the writer refuses
// the empty ones a leading, doubled or trailing "/" leaves).
std::vector<std::string> componentsOf(const std::string& name)
{
    std::vector<std::string> components;
    for (std::size_t start = 0;;) {
        const std::size_t end = std::min(name.find('/', start), name.size());
        components.push_back(name.substr(start, end - start));
        if (end == name.size())
            return components;
        start = end + 1;
    }
}

// The folders above a path, shortest first.
std::vector<std::string_view> foldersAbove(std::string_view path)
{
    std::vector<std::string_view> folders;
    for (std::size_t slash = path.find('/'); slash != std::string_view::npos; slash = path.find('/', slash + 1))
        folders.push_back(path.substr(0, slash));
    return folders;
}

// Which entries meet another on disk: the same path twice, or a file where
// another entry needs a folder, also when they differ only in case (as a
// file system that ignores case sees them). Those are written one after
// another in their order; any other entry touches no file another writes,
// so it may be written by any worker at any time.
std::vector<bool> entriesWrittenInOrder(const std::vector<ExtractionEntry>& entries)
{
    std::vector<std::string> keys;
    std::unordered_map<std::string_view, std::size_t> fileCount;
    std::unordered_set<std::string_view> folders;
    keys.reserve(entries.size());
    for (const ExtractionEntry& entry : entries)
        keys.push_back(foldedCopy(entry.name));
    for (const std::string& key : keys) {
        ++fileCount[key];
        for (std::string_view folder : foldersAbove(key))
            folders.insert(folder);
    }
    std::vector<bool> inOrder;
    inOrder.reserve(keys.size());
    for (const std::string& key : keys) {
        const std::vector<std::string_view> above = foldersAbove(key);
        inOrder.push_back(fileCount[key] > 1 || folders.contains(key) ||
                          std::any_of(above.begin(), above.end(),
                                      [&](std::string_view folder) { return fileCount.contains(folder); }));
    }
    return inOrder;
}

} // namespace

// What writing one entry came to, reported on the calling thread.
struct FolderExtraction::Outcome {
    bool failed = false;
    std::optional<std::string> message;
    bool written = false;
    bool replaced = false;
};

FolderExtraction::Outcome FolderExtraction::write(const ExtractionEntry& entry,
                                                  const std::function<Result<SharedBytes>()>& content,
                                                  bool writtenBefore) const
{
    const auto fail = [](std::string message) { return Outcome{true, std::move(message)}; };
    if (const Result<fs::path> unsafe = relativePathForEntry(entry.name); !unsafe)
        return fail("skipped: " + reasonText(unsafe.error()));
    const std::vector<std::string> components = componentsOf(entry.name);
    const WriteResult probe = writer_.probeFile(components);
    if (probe.status == WriteStatus::Failed)
        return fail("not written: " + describe(*probe.error).text);
    if (probe.status == WriteStatus::Exists && !force_)
        return Outcome{false, writtenBefore ? "kept the file an earlier entry of the same path wrote "
                                              "(--force replaces it)"
                                            : "kept the existing file " + probe.path.string() +
                                                  " (--force replaces it)"};
    const Result<SharedBytes> bytes = content();
    if (!bytes)
        return fail(reasonText(bytes.error()));
    const WriteResult result = writer_.writeFile(components, **bytes, true);
    if (result.status == WriteStatus::Failed)
        return fail("not written: " + describe(*result.error).text);
    return Outcome{false, std::nullopt, true, result.replaced};
}

bool FolderExtraction::extract(const std::vector<ExtractionEntry>& entries,
                               const std::function<Result<SharedBytes>(std::size_t)>& content,
                               const std::function<void(std::size_t)>& taken)
{
    const std::vector<bool> inOrder = entriesWrittenInOrder(entries);
    std::vector<Outcome> outcomes(entries.size());
    const auto writeEntry = [&](std::size_t index, bool writtenBefore) {
        outcomes[index] = write(entries[index], [&] { return content(index); }, writtenBefore);
    };
    bool allWritten = true;
    WorkerPool pool;
    pool.run(
        entries.size(),
        [&](std::size_t index, unsigned) {
            if (!inOrder[index])
                writeEntry(index, false);
        },
        [&](std::size_t index) {
            const ExtractionEntry& entry = entries[index];
            if (inOrder[index])
                writeEntry(index, written_.contains(entry.name));
            Outcome outcome = std::move(outcomes[index]);
            if (outcome.message)
                reportEntryProblem(entry.source, entry.name, *outcome.message);
            allWritten = allWritten && !outcome.failed;
            if (outcome.written)
                written_.insert(entry.name);
            replacedAny_ = replacedAny_ || outcome.replaced;
            taken(index);
            return true;
        });
    return allWritten;
}

bool FolderExtraction::flushReplaced()
{
    if (!replacedAny_ || syncFileSystemOf(writer_.root()))
        return true;
    reportProblem(folder_, "the extracted files could not be flushed to disk");
    return false;
}

bool makeDestination(const std::string& given)
{
    const fs::path folder = pathFromUtf8(given);
    std::error_code error;
    if (fs::is_directory(fs::status(folder, error)))
        return true;
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(fs::status(folder, error))) {
        reportProblem(given, "cannot make the destination folder: " +
                                  (error ? error.message() : std::string("a file is in the way")));
        return false;
    }
    return true;
}

} // namespace larkspan::cli
