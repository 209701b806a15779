#pragma once

#include "base/Bytes.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace larkspan::bench {

// Plain POSIX file writing for the anchors, and for the product's bytes
// where the benchmark does the writing: open, write, (fsync,) close.
// std::runtime_error on any failure.
class PlainFile {
public:
    explicit PlainFile(const std::filesystem::path& path);
    PlainFile(const PlainFile&) = delete;
    PlainFile& operator=(const PlainFile&) = delete;
    ~PlainFile();

    void write(ByteSpan bytes);
    void sync();
    void close();

private:
    std::filesystem::path path_;
    int fd_ = -1;
};

// Appends the directory record of an entry stored as it is (stored size =
// size), as the writer lays it out, for archives the benchmarks generate.
void appendPlainRecord(Bytes& directory, const std::string& name, std::uint32_t size, std::uint32_t offset);

// Copies with read and write through a 1 MiB buffer; fsyncs the copy when asked.
void copyWithReadWrite(const std::filesystem::path& from, const std::filesystem::path& to, bool sync);

} // namespace larkspan::bench
