#include "CliFixtures.h"

#include "format/ArchiveDirectory.h"
#include "base/ByteOrder.h"
#include "fs/FileIO.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace larkspan::test {

namespace fs = std::filesystem;

TemporaryFolder::TemporaryFolder()
{
    std::string pattern = (fs::temp_directory_path() / "rfa-cli-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

Bytes bytesOf(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

std::string textOf(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

void writeFile(const fs::path& path, const Bytes& content)
{
    fs::create_directories(path.parent_path());
    if (!writeFileAtomically(path, content))
        throw std::runtime_error("cannot write " + path.string());
}

Bytes readFile(const fs::path& path)
{
    Result<Bytes> bytes = readWholeFile(path);
    if (!bytes)
        throw std::runtime_error("cannot read " + path.string());
    return *bytes;
}

std::vector<std::string> filesBelow(const fs::path& folder)
{
    std::vector<std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files.push_back(fs::relative(entry.path(), folder).generic_string());
    std::sort(files.begin(), files.end());
    return files;
}

CraftedEntry rawEntry(std::string name, const Bytes& content)
{
    return {std::move(name), content, static_cast<std::uint32_t>(content.size())};
}

Bytes craftArchive(const std::vector<CraftedEntry>& entries, std::uint32_t compressionFlag,
                   bool identified)
{
    Bytes file = identified ? bytesOf({kIdentificationString, kIdentificationLength}) : Bytes();
    const std::size_t headerAt = file.size();
    appendLittleInt(file, 0);
    appendLittleInt(file, compressionFlag);
    std::vector<std::uint32_t> offsets;
    for (const CraftedEntry& entry : entries) {
        offsets.push_back(static_cast<std::uint32_t>(file.size()));
        file.insert(file.end(), entry.stored.begin(), entry.stored.end());
    }
    replaceBytesInRange(file, headerAt, static_cast<std::uint32_t>(file.size()));
    appendLittleInt(file, static_cast<std::uint32_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const CraftedEntry& entry = entries[i];
        appendLittleInt(file, static_cast<std::uint32_t>(entry.name.size()));
        file.insert(file.end(), entry.name.begin(), entry.name.end());
        appendLittleInt(file, static_cast<std::uint32_t>(entry.stored.size()));
        appendLittleInt(file, entry.size);
        appendLittleInt(file, offsets[i]);
        file.insert(file.end(), 12, 0);
    }
    return file;
}

Bytes literalStream(const Bytes& content)
{
    if (content.empty() || content.size() > 238)
        throw std::invalid_argument("a single literal run holds 1 to 238 bytes");
    Bytes stream{static_cast<std::uint8_t>(17 + content.size())};
    stream.insert(stream.end(), content.begin(), content.end());
    stream.insert(stream.end(), {0x11, 0x00, 0x00});
    return stream;
}

Bytes segmentedStream(const std::vector<CraftedSegment>& segments)
{
    Bytes stored;
    appendLittleInt(stored, static_cast<std::uint32_t>(segments.size()));
    std::uint32_t offset = 0;
    for (const CraftedSegment& segment : segments) {
        appendLittleInt(stored, static_cast<std::uint32_t>(segment.stream.size()));
        appendLittleInt(stored, segment.size);
        appendLittleInt(stored, offset + segment.offsetAdjustment);
        offset += static_cast<std::uint32_t>(segment.stream.size());
    }
    for (const CraftedSegment& segment : segments)
        stored.insert(stored.end(), segment.stream.begin(), segment.stream.end());
    return stored;
}

CraftedEntry compressedEntry(std::string name, const Bytes& content)
{
    const std::uint32_t size = static_cast<std::uint32_t>(content.size());
    return {std::move(name), segmentedStream({{literalStream(content), size}}), size};
}

std::string CliTest::putArchive(const Bytes& bytes, std::string_view name) const
{
    const fs::path path = temp / name;
    writeFile(path, bytes);
    return path.string();
}

} // namespace larkspan::test
