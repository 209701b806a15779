#pragma once

#include "base/Bytes.h"
#include "base/Error.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>

namespace larkspan {

// The file's bytes, or CannotRead with the system's reason.
Result<Bytes> readWholeFile(const std::filesystem::path& path);

// Whether the file is one this user may start as a program (on Windows,
// any regular file: what runs is told by the name's extension).
bool isRunnableFile(const std::filesystem::path& path);

// The system calls by which written bytes reach the disk. Writers take one
// so that a test can fail a call as a failing disk would (same return
// value, errno set) and watch what the code after it leaves behind; this
// base class makes the real calls.
class DiskCalls {
public:
    virtual ~DiskCalls() = default;
    virtual ssize_t write(int fd, const void* bytes, std::size_t size);
    virtual int fsync(int fd);
    // The system's own path characters: UTF-16 on Windows.
    virtual int rename(const std::filesystem::path::value_type* from, const std::filesystem::path::value_type* to);
    // Flushes the whole file system that holds the open file (never called
    // where the system has no such flush: there each file is flushed).
    virtual int syncfs(int fd);
};

// The real system, the writers' default.
DiskCalls& realDisk();

// When a written file reaches the disk. Flushing each file of a thousand
// extracted ones costs far more than the writing; one flush of the whole
// file system after the last (syncFileSystemOf) gives the same guarantee
// at the end. Windows has no such flush for a user, so there FlushLater
// flushes each file as FlushEach does.
enum class Durability {
    FlushEach, // flushed before it takes the target's name
    FlushLater // the caller calls syncFileSystemOf once it has written all
};

// Writes a file so that its name holds either the old content or the
// complete new one, never a part: the bytes go to a temporary file beside
// the target, are flushed to disk (unless deferred), and the temporary is
// renamed over the target. An existing target's permissions are kept. The
// producer hands its bytes to the sink and returns false to abandon the
// write (Cancelled). Failures: CannotOpen, CannotWrite, CannotReplace.
Result<void> writeFileAtomically(const std::filesystem::path& target,
                                 const std::function<bool(const ByteSink&)>& produce,
                                 Durability durability = Durability::FlushEach, DiskCalls& disk = realDisk());
Result<void> writeFileAtomically(const std::filesystem::path& target, ByteSpan bytes,
                                 Durability durability = Durability::FlushEach, DiskCalls& disk = realDisk());

// Writes a file that is not there yet straight under its name: the name
// is taken exclusively (CannotOpen, EEXIST, when anything holds it by
// then), and a write that fails removes the part written, so no half file
// stays behind. Nothing is flushed: no file the user had is at stake.
// Failures: CannotOpen, CannotWrite.
Result<void> writeNewFile(const std::filesystem::path& target, ByteSpan bytes, DiskCalls& disk = realDisk());

// Flushes everything written to the file system that holds `path`; false
// when the system reports a failure to write it out.
bool syncFileSystemOf(const std::filesystem::path& path, DiskCalls& disk = realDisk());

} // namespace larkspan
