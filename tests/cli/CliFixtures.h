#pragma once

#include "base/Bytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace larkspan::test {

// A fresh folder under the system's temporary folder, removed with its
// contents at the end of the test.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view relative) const { return path_ / relative; }

private:
    std::filesystem::path path_;
};

bool contains(const std::string& text, const std::string& part);

Bytes bytesOf(std::string_view text);
std::string textOf(const Bytes& bytes);

// Writes the file, making its folders.
void writeFile(const std::filesystem::path& path, const Bytes& content);
Bytes readFile(const std::filesystem::path& path);

// Every regular file below `folder`, as generic relative paths, sorted.
std::vector<std::string> filesBelow(const std::filesystem::path& folder);

// One record of a hand-made archive: the name's raw bytes, the stored
// bytes and the size field as they go into the file.
struct CraftedEntry {
    std::string name;
    Bytes stored;
    std::uint32_t size;
};

// An entry stored as it is (size = stored size).
CraftedEntry rawEntry(std::string name, const Bytes& content);

// A plain-layout archive (or the identified layout) with the records in
// the order given, data first, then the directory.
Bytes craftArchive(const std::vector<CraftedEntry>& entries, std::uint32_t compressionFlag,
                   bool identified = false);

// One LZO1X stream that holds the bytes as a single literal run (1 to 238 bytes).
Bytes literalStream(const Bytes& content);

struct CraftedSegment {
    Bytes stream;
    std::uint32_t size;                 // what the segment table says it decodes to
    std::uint32_t offsetAdjustment = 0; // added to the true offset, to point it astray
};

// The stored bytes of a compressed entry: segment table, then the streams.
Bytes segmentedStream(const std::vector<CraftedSegment>& segments);

// A compressed entry holding the content in one literal segment.
CraftedEntry compressedEntry(std::string name, const Bytes& content);

// A test with a temporary folder to put archives and extracted files in.
class CliTest : public testing::Test {
protected:
    // Writes the bytes as an archive file in the temporary folder; returns its path.
    std::string putArchive(const Bytes& bytes, std::string_view name = "test.rfa") const;

    TemporaryFolder temp;
};

} // namespace larkspan::test
