#include "FileWriting.h"

#include "base/ByteOrder.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace larkspan::bench {

namespace {

[[noreturn]] void fail(const char* what, const std::filesystem::path& path)
{
    throw std::runtime_error(std::string(what) + " " + path.string() + ": " + std::strerror(errno));
}

} // namespace

PlainFile::PlainFile(const std::filesystem::path& path)
    : path_(path), fd_(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644))
{
    if (fd_ < 0)
        fail("cannot create", path);
}

PlainFile::~PlainFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void PlainFile::write(ByteSpan bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail("cannot write", path_);
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
}

void PlainFile::sync()
{
    if (::fsync(fd_) != 0)
        fail("cannot sync", path_);
}

void PlainFile::close()
{
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        fail("cannot close", path_);
}

void copyWithReadWrite(const std::filesystem::path& from, const std::filesystem::path& to, bool sync)
{
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        fail("cannot open", from);
    PlainFile out(to);
    std::vector<std::uint8_t> buffer(1 << 20);
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(in);
            fail("cannot read", from);
        }
        if (n == 0)
            break;
        out.write(ByteSpan(buffer.data(), static_cast<std::size_t>(n)));
    }
    ::close(in);
    if (sync)
        out.sync();
    out.close();
}

void appendPlainRecord(Bytes& directory, const std::string& name, std::uint32_t size, std::uint32_t offset)
{
    appendLittleInt(directory, static_cast<std::uint32_t>(name.size()));
    directory.insert(directory.end(), name.begin(), name.end());
    appendLittleInt(directory, size);
    appendLittleInt(directory, size);
    appendLittleInt(directory, offset);
    directory.insert(directory.end(), {0xE0, 0x21, 0x13, 0x00, 0, 0, 0, 0, 0, 0, 0, 0});
}

} // namespace larkspan::bench
