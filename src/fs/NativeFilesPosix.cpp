#include "fs/NativeFiles.h"

#include "fs/FileIO.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace larkspan::native {

int openForReading(const std::filesystem::path& path)
{
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
}

std::optional<std::uint64_t> regularFileSize(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return static_cast<std::uint64_t>(info.st_size);
}

ssize_t readSome(int fd, void* buffer, std::size_t size)
{
    return ::read(fd, buffer, size);
}

ssize_t readSomeAt(int fd, void* buffer, std::size_t size, std::uint64_t offset)
{
    return ::pread(fd, buffer, size, static_cast<off_t>(offset));
}

ssize_t writeSome(int fd, const void* bytes, std::size_t size)
{
    return ::write(fd, bytes, size);
}

void adviseLargePages([[maybe_unused]] void* memory, [[maybe_unused]] std::size_t size)
{
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kLargePage = std::uintptr_t(2) << 20;
    const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(memory);
    const std::uintptr_t begin = (start + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t end = (start + size) & ~(kLargePage - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
}

int closeFile(int fd)
{
    return ::close(fd);
}

int removeFile(const PathString& path)
{
    return ::unlink(path.c_str());
}

int createUniqueFile(PathString& pattern)
{
    return ::mkostemp(pattern.data(), O_CLOEXEC);
}

int createNewFile(const std::filesystem::path& path)
{
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

namespace {

// The mode a new file gets from open(2): 0666 less the umask.
mode_t modeForNewFile()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

bool takeTargetMode(int fd, const std::filesystem::path& target)
{
    struct stat existing {};
    const mode_t mode = ::stat(target.c_str(), &existing) == 0 ? existing.st_mode & 07777 : modeForNewFile();
    return ::fchmod(fd, mode) == 0;
}

int flushFile(int fd)
{
    return ::fsync(fd);
}

int replaceFile(const char* from, const char* to)
{
    return ::rename(from, to);
}

void flushFolderOf(const std::filesystem::path& target)
{
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

const bool kFileSystemFlush = true;

const std::string_view kNotInFileNames;

int flushFileSystem(int fd)
{
#ifdef __linux__
    return ::syncfs(fd);
#else
    (void)fd;
    ::sync();
    return 0;
#endif
}

std::filesystem::file_status linkStatus(const std::filesystem::path& path, std::error_code& error)
{
    return std::filesystem::symlink_status(path, error);
}

} // namespace larkspan::native

namespace larkspan {

bool isRunnableFile(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

} // namespace larkspan
