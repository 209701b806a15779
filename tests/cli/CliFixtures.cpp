#include "CliFixtures.h"

#include "fs/FileIO.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

namespace larkspan::test {

namespace fs = std::filesystem;

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
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

Bytes literalStream(const Bytes& content)
{
    if (content.empty() || content.size() > 238)
        throw std::invalid_argument("a single literal run holds 1 to 238 bytes");
    Bytes stream{static_cast<std::uint8_t>(17 + content.size())};
    stream.insert(stream.end(), content.begin(), content.end());
    stream.insert(stream.end(), {0x11, 0x00, 0x00});
    return stream;
}

StoredEntry compressedEntry(std::string name, const Bytes& content)
{
    const std::uint32_t size = static_cast<std::uint32_t>(content.size());
    return {std::move(name), segmentedEntry({{literalStream(content), size}}), size};
}

std::string CliTest::putArchive(const Bytes& bytes, std::string_view name) const
{
    const fs::path path = temp.path() / name;
    writeFile(path, bytes);
    return path.string();
}

} // namespace larkspan::test
