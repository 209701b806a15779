#pragma once

#include "tree/Bytes.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace larkspan {

enum class FileFailure {
    Open,      // the file (or a temporary beside it) cannot be opened or made
    Read,
    Write,     // includes a full disk
    Rename,    // the finished temporary cannot take the target's name
    Aborted,   // the producer gave up; nothing was written under the name
};

struct FileError {
    FileFailure failure;
    std::string message; // the system's own explanation
};

std::optional<Bytes> readWholeFile(const std::filesystem::path& path, FileError* error = nullptr);

// Writes a file so that its name holds either the old content or the
// complete new one, never a part: the bytes go to a temporary file beside
// the target, are flushed to disk, and the temporary is renamed over the
// target. An existing target's permissions are kept. The producer hands
// its bytes to the sink and returns false to abandon the write.
std::optional<FileError> writeFileAtomically(const std::filesystem::path& target,
                                             const std::function<bool(const ByteSink&)>& produce);
std::optional<FileError> writeFileAtomically(const std::filesystem::path& target, ByteSpan bytes);

} // namespace larkspan
