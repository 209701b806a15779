#pragma once

// A disk that fails the way real ones do, for tests of what a failed write
// leaves behind: each failing call returns what the system returns and sets
// errno, so the writer's own error handling runs unchanged.

#include "fs/FileIO.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>

namespace larkspan::fixtures {

class FailingDisk : public DiskCalls {
public:
    // This many bytes are taken, then the disk is full (ENOSPC).
    std::optional<std::uint64_t> writeFailsAfter;
    bool syncFails = false;   // fsync() of a file and the file system's flush fail with EIO
    bool renameFails = false; // rename() fails with EIO

    ssize_t write(int fd, const void* bytes, std::size_t size) override
    {
        if (writeFailsAfter) {
            if (written_ >= *writeFailsAfter) {
                errno = ENOSPC;
                return -1;
            }
            // A short write first, as a filling disk gives.
            size = static_cast<std::size_t>(std::min<std::uint64_t>(size, *writeFailsAfter - written_));
        }
        const ssize_t n = DiskCalls::write(fd, bytes, size);
        if (n > 0)
            written_ += static_cast<std::uint64_t>(n);
        return n;
    }
    int fsync(int fd) override { return syncFails ? failWith(EIO) : DiskCalls::fsync(fd); }
    int syncfs(int fd) override { return syncFails ? failWith(EIO) : DiskCalls::syncfs(fd); }
    int rename(const char* from, const char* to) override
    {
        return renameFails ? failWith(EIO) : DiskCalls::rename(from, to);
    }

private:
    static int failWith(int error)
    {
        errno = error;
        return -1;
    }

    std::uint64_t written_ = 0;
};

} // namespace larkspan::fixtures
