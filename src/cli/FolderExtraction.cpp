#include "cli/FolderExtraction.h"

#include "cli/Diagnostics.h"
#include "fs/SafePath.h"

#include <algorithm>
#include <filesystem>

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

} // namespace

bool FolderExtraction::extract(std::string_view source, const std::string& name,
                               const std::function<Result<SharedBytes>()>& content)
{
    const auto fail = [&](const std::string& message) {
        reportEntryProblem(source, name, message);
        return false;
    };
    if (const Result<fs::path> unsafe = relativePathForEntry(name); !unsafe)
        return fail("skipped: " + reasonText(unsafe.error()));
    const std::vector<std::string> components = componentsOf(name);
    const WriteResult probe = writer_.probeFile(components);
    if (probe.status == WriteStatus::Failed)
        return fail("not written: " + describe(*probe.error).text);
    if (probe.status == WriteStatus::Exists && !force_) {
        reportEntryProblem(source, name,
                           written_.contains(name) ? "kept the file an earlier entry of the same path wrote "
                                                     "(--force replaces it)"
                                                   : "kept the existing file " + probe.path.string() +
                                                         " (--force replaces it)");
        return true;
    }
    const Result<SharedBytes> bytes = content();
    if (!bytes)
        return fail(reasonText(bytes.error()));
    const WriteResult result = writer_.writeFile(components, **bytes, true);
    if (result.status == WriteStatus::Failed)
        return fail("not written: " + describe(*result.error).text);
    written_.insert(name);
    return true;
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

bool flushDestination(const std::string& folder)
{
    if (syncFileSystemOf(pathFromUtf8(folder)))
        return true;
    reportProblem(folder, "the extracted files could not be flushed to disk");
    return false;
}

} // namespace larkspan::cli
