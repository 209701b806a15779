#include "fs/NativeFiles.h"

#include "fs/FileIO.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <io.h>
#include <random>
#include <sys/stat.h>
#include <windows.h>

namespace larkspan::native {

namespace {

// The C library's calls take an int count.
unsigned int clampedCount(std::size_t size)
{
    return static_cast<unsigned int>(std::min<std::size_t>(size, INT_MAX));
}

int failWithLastError()
{
    errno = std::error_code(static_cast<int>(::GetLastError()), std::system_category())
                .default_error_condition()
                .value();
    return -1;
}

} // namespace

int openForReading(const std::filesystem::path& path)
{
    return ::_wopen(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

std::optional<std::uint64_t> regularFileSize(int fd)
{
    struct _stat64 info {};
    if (::_fstat64(fd, &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG)
        return std::nullopt;
    return static_cast<std::uint64_t>(info.st_size);
}

ssize_t readSome(int fd, void* buffer, std::size_t size)
{
    return ::_read(fd, buffer, clampedCount(size));
}

ssize_t readSomeAt(int fd, void* buffer, std::size_t size, std::uint64_t offset)
{
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    if (!::ReadFile(handle, buffer, clampedCount(size), &read, &at))
        return ::GetLastError() == ERROR_HANDLE_EOF ? 0 : failWithLastError();
    return static_cast<ssize_t>(read);
}

ssize_t writeSome(int fd, const void* bytes, std::size_t size)
{
    return ::_write(fd, bytes, clampedCount(size));
}

void adviseLargePages(void*, std::size_t)
{
    // Large pages need a privilege ordinary users lack.
}

int closeFile(int fd)
{
    return ::_close(fd);
}

int removeFile(const PathString& path)
{
    return ::_wunlink(path.c_str());
}

int createUniqueFile(PathString& pattern)
{
    static constexpr wchar_t kLetters[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device source;
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kLetters) - 2);
    const std::size_t start = pattern.size() - 6;
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (std::size_t i = start; i < pattern.size(); ++i)
            pattern[i] = kLetters[pick(source)];
        const int fd = ::_wopen(pattern.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                                _S_IREAD | _S_IWRITE);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

int createNewFile(const std::filesystem::path& path)
{
    return ::_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

// Windows keeps no permission bits to copy; a read-only target refuses to
// be replaced, which is the answer the user should get.
bool takeTargetMode(int, const std::filesystem::path&)
{
    return true;
}

int flushFile(int fd)
{
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    return ::FlushFileBuffers(handle) ? 0 : failWithLastError();
}

int replaceFile(const wchar_t* from, const wchar_t* to)
{
    return ::MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 0 : failWithLastError();
}

// The replace was written through: it returned once the move was on disk.
void flushFolderOf(const std::filesystem::path&) {}

const bool kFileSystemFlush = false;

using namespace std::string_view_literals;
const std::string_view kNotInFileNames = "<>:\"|?*\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F"
                                         "\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1A\x1B\x1C\x1D\x1E\x1F"sv;

int flushFileSystem(int)
{
    return 0;
}

std::filesystem::file_status linkStatus(const std::filesystem::path& path, std::error_code& error)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        error.clear();
        return std::filesystem::file_status(std::filesystem::file_type::symlink);
    }
    return std::filesystem::status(path, error);
}

} // namespace larkspan::native

namespace larkspan {

bool isRunnableFile(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace larkspan
