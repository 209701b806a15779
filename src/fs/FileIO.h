#pragma once

#include "base/Bytes.h"

#include <cstdint>
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

// When a written file reaches the disk. Flushing each file of a thousand
// extracted ones costs far more than the writing; one flush of the whole
// file system after the last (syncFileSystemOf) gives the same guarantee
// at the end.
enum class Durability {
    FlushEach, // flushed before it takes the target's name
    FlushLater // the caller calls syncFileSystemOf once it has written all
};

// Writes a file so that its name holds either the old content or the
// complete new one, never a part: the bytes go to a temporary file beside
// the target, are flushed to disk (unless deferred), and the temporary is
// renamed over the target. An existing target's permissions are kept. The
// producer hands its bytes to the sink and returns false to abandon the
// write.
std::optional<FileError> writeFileAtomically(const std::filesystem::path& target,
                                             const std::function<bool(const ByteSink&)>& produce,
                                             Durability durability = Durability::FlushEach);
std::optional<FileError> writeFileAtomically(const std::filesystem::path& target, ByteSpan bytes,
                                             Durability durability = Durability::FlushEach);

// Flushes everything written to the file system that holds `path`; false
// when the system reports a failure to write it out.
bool syncFileSystemOf(const std::filesystem::path& path);

// Failures the atomic writes of the calling thread meet while a
// ScopedFileWriteFaults lives: a seam for tests of what a failing disk
// leaves behind. Each fault fails the system call as the system would
// (same return value, errno set), so the code after it runs unchanged.
struct FileWriteFaults {
    // The temporary file takes this many bytes, then write() fails with ENOSPC.
    std::optional<std::uint64_t> writeFailsAfter;
    bool syncFails = false;   // fsync() of the temporary, or the file system's flush, fails with EIO
    bool renameFails = false; // rename() over the target fails with EIO
};

class ScopedFileWriteFaults {
public:
    explicit ScopedFileWriteFaults(FileWriteFaults faults);
    ~ScopedFileWriteFaults();
    ScopedFileWriteFaults(const ScopedFileWriteFaults&) = delete;
    ScopedFileWriteFaults& operator=(const ScopedFileWriteFaults&) = delete;

private:
    FileWriteFaults faults_;
    FileWriteFaults* previous_;
};

} // namespace larkspan
