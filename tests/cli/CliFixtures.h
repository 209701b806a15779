#pragma once

#include "base/Bytes.h"
#include "support/ArchiveBytes.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace larkspan::test {

using fixtures::archiveOf;
using fixtures::bytesOf;
using fixtures::rawEntry;
using fixtures::segmentedEntry;
using fixtures::StoredEntry;
using fixtures::TemporaryFolder;

bool contains(const std::string& text, const std::string& part);

// The text's lines, without their line breaks.
std::vector<std::string> linesOf(const std::string& text);

std::string textOf(const Bytes& bytes);

// Writes the file, making its folders.
void writeFile(const std::filesystem::path& path, const Bytes& content);
Bytes readFile(const std::filesystem::path& path);

// Every regular file below `folder`, as generic relative paths, sorted.
std::vector<std::string> filesBelow(const std::filesystem::path& folder);

// One LZO1X stream that holds the bytes as a single literal run (1 to 238 bytes).
Bytes literalStream(const Bytes& content);

// A compressed entry holding the content in one literal segment.
StoredEntry compressedEntry(std::string name, const Bytes& content);

// A test with a temporary folder to put archives and extracted files in.
class CliTest : public testing::Test {
protected:
    // Writes the bytes as an archive file in the temporary folder; returns its path.
    std::string putArchive(const Bytes& bytes, std::string_view name = "test.rfa") const;

    TemporaryFolder temp;
};

} // namespace larkspan::test
