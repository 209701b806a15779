#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace larkspan::cli {

struct SourceFile {
    std::filesystem::path path;          // on disk
    std::vector<std::string> components; // below the source folder, UTF-8
    std::uint64_t size = 0;
};

// Every file below `folder` as walkFolder walks it (links followed; in each
// folder its files sorted by name, then its subfolders sorted by name), the
// order an archive stores them. `excluded` (the archive being written) is
// passed over. What cannot go into an archive as it is gets a message on
// stderr: nothing is returned for a problem that must stop the pack (an
// unreadable file or folder, a backslash in a name, a path too deep for the
// reader); empty folders, links to nothing or to a folder they lie in, and
// special files are only warned about and left out.
std::optional<std::vector<SourceFile>> scanSourceFolder(const std::filesystem::path& folder,
                                                        const std::filesystem::path& excluded,
                                                        std::size_t prefixDepth);

} // namespace larkspan::cli
