#pragma once

// The calls on files that differ between POSIX systems and Windows, for the
// writers of this room alone. Descriptors are the C library's on both, and
// every failure sets errno (Windows' own error codes are turned into errno
// values), so the code above reads the same on each.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <sys/types.h>
#include <system_error>

namespace larkspan::native {

using PathString = std::filesystem::path::string_type;

// A descriptor, or -1.
int openForReading(const std::filesystem::path& path);
// Nothing when the descriptor is not a regular file or its size is unknown.
std::optional<std::uint64_t> regularFileSize(int fd);
ssize_t readSome(int fd, void* buffer, std::size_t size);
// Reads at `offset` without moving a position other readers share.
ssize_t readSomeAt(int fd, void* buffer, std::size_t size, std::uint64_t offset);
ssize_t writeSome(int fd, const void* bytes, std::size_t size);
// Asks that the untouched memory take large pages where the system offers
// them, so that filling it faults once per large page rather than once per
// 4 KiB. Advice only: nothing changes where it is not taken.
void adviseLargePages(void* memory, std::size_t size);
int closeFile(int fd);
int removeFile(const PathString& path);

// Creates a new file from the pattern, whose last six characters are
// XXXXXX and are replaced by the name taken; a descriptor, or -1.
int createUniqueFile(PathString& pattern);
// Creates the file for writing, failing (EEXIST) when the name is taken;
// a descriptor, or -1.
int createNewFile(const std::filesystem::path& path);
// Gives the file just made the permissions of the target it will replace,
// or those of a newly made file when there is none.
bool takeTargetMode(int fd, const std::filesystem::path& target);

// The file's bytes reach the disk.
int flushFile(int fd);
// Puts `from` in the place of `to` in one step, replacing what is there.
int replaceFile(const PathString::value_type* from, const PathString::value_type* to);
// Makes a finished replace survive a power cut, where the rename alone
// does not. Best effort.
void flushFolderOf(const std::filesystem::path& target);

// Whether one flush of a whole file system is at hand to stand for
// flushing each file written before it. Windows has none (without
// administrator rights), so there each file is flushed as it is written.
extern const bool kFileSystemFlush;
// Flushes the file system that holds the open file.
int flushFileSystem(int fd);

// Characters the system allows in no file name beside "/" and the zero
// byte; on Windows "C:x" would even lead out of the folder it is joined to.
extern const std::string_view kNotInFileNames;

// What is at the path, the link itself when it is one (a junction or any
// other reparse point on Windows, where the standard library reports none).
std::filesystem::file_status linkStatus(const std::filesystem::path& path, std::error_code& error);

} // namespace larkspan::native
