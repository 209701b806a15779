#include "Corpus.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace larkspan::bench {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFileCap = 1 << 20;

std::vector<fs::path> regularFilesUnder(const std::vector<fs::path>& roots)
{
    std::vector<fs::path> files;
    for (const fs::path& root : roots) {
        std::error_code error;
        fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error);
        for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
            std::error_code statusError;
            if (it->is_regular_file(statusError) && !it->is_symlink(statusError))
                files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

Bytes readHead(const fs::path& path, std::size_t cap)
{
    std::ifstream in(path, std::ios::binary);
    Bytes bytes(cap);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(cap));
    bytes.resize(in ? cap : static_cast<std::size_t>(in.gcount()));
    return bytes;
}

bool isElf(const Bytes& bytes)
{
    return bytes.size() >= 4 && bytes[0] == 0x7F && bytes[1] == 'E' && bytes[2] == 'L' && bytes[3] == 'F';
}

// Hands out the files of a list one by one, then synthetic pieces forever.
class Source {
public:
    Source(std::vector<fs::path> files, std::function<bool(const Bytes&)> accept,
           std::function<Bytes(std::uint64_t&)> synthesize, std::string syntheticName, bool isText)
        : files_(std::move(files)), accept_(std::move(accept)), synthesize_(std::move(synthesize)),
          syntheticName_(std::move(syntheticName)), isText_(isText)
    {
    }

    CorpusFile next()
    {
        while (index_ < files_.size()) {
            const fs::path& path = files_[index_++];
            Bytes bytes = readHead(path, kFileCap);
            if (!bytes.empty() && accept_(bytes))
                return {path.string(), isText_, std::move(bytes)};
        }
        return {"synthetic/" + syntheticName_ + "-" + std::to_string(++synthesized_), isText_, synthesize_(seed_)};
    }

private:
    std::vector<fs::path> files_;
    std::size_t index_ = 0;
    std::function<bool(const Bytes&)> accept_;
    std::function<Bytes(std::uint64_t&)> synthesize_;
    std::string syntheticName_;
    bool isText_;
    std::size_t synthesized_ = 0;
    std::uint64_t seed_ = 0x9E3779B97F4A7C15;
};

std::uint32_t nextRandom(std::uint64_t& state)
{
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state >> 33);
}

// Lines in the manner of the game's .con scripts.
Bytes syntheticScript(std::uint64_t& seed)
{
    static const char* const kCommands[] = {
        "ObjectTemplate.create SimpleObject", "ObjectTemplate.setNetworkableInfo BasicInfo",
        "ObjectTemplate.geometry", "ObjectTemplate.addTemplate", "ObjectTemplate.setPosition",
        "ObjectTemplate.setRotation", "ObjectTemplate.hasCollisionPhysics 1",
        "ObjectTemplate.physicsType Mesh", "rem *** generated ***", "include ../objects.con"};
    std::string text;
    while (text.size() < kFileCap / 4) {
        const std::uint32_t r = nextRandom(seed);
        text += kCommands[r % std::size(kCommands)];
        text += ' ';
        text += "object_" + std::to_string(r % 977);
        text += '/' + std::to_string(r % 10) + '.' + std::to_string((r >> 8) % 1000) + "\r\n";
    }
    return Bytes(text.begin(), text.end());
}

// Byte patterns with the statistics of code: opcodes from a small set,
// operands partly random, runs of zero padding.
Bytes syntheticBinary(std::uint64_t& seed)
{
    static const std::uint8_t kOpcodes[][3] = {{0x48, 0x89, 0xC7}, {0x48, 0x8B, 0x45}, {0xE8, 0, 0},
                                               {0x0F, 0x1F, 0x44}, {0x55, 0x48, 0x89}, {0xC3, 0x90, 0x90}};
    Bytes bytes;
    while (bytes.size() < kFileCap / 4) {
        const std::uint32_t r = nextRandom(seed);
        const auto& opcode = kOpcodes[r % std::size(kOpcodes)];
        bytes.insert(bytes.end(), opcode, opcode + 3);
        for (unsigned i = 0; i < (r >> 8) % 5; ++i)
            bytes.push_back(static_cast<std::uint8_t>(nextRandom(seed)));
        if ((r >> 16) % 50 == 0)
            bytes.insert(bytes.end(), 16 + (r >> 24) % 48, 0);
    }
    return bytes;
}

} // namespace

std::vector<CorpusFile> corpusFiles(std::size_t size)
{
    Source text(regularFilesUnder({"/usr/share/common-licenses", "/usr/include"}),
                [](const Bytes& bytes) { return !isElf(bytes); }, syntheticScript, "script", true);
    Source binaries(regularFilesUnder({"/usr/bin", "/usr/lib"}), isElf, syntheticBinary, "binary", false);

    std::vector<CorpusFile> files;
    std::size_t total = 0;
    std::size_t textBytes = 0;
    while (total < size) {
        // Keep the two halves level.
        const bool wantText = textBytes <= total - textBytes;
        CorpusFile piece = wantText ? text.next() : binaries.next();
        piece.bytes.resize(std::min(piece.bytes.size(), size - total));
        // readHead reserves a whole MiB for every file.
        piece.bytes.shrink_to_fit();
        total += piece.bytes.size();
        if (wantText)
            textBytes += piece.bytes.size();
        files.push_back(std::move(piece));
    }
    return files;
}

Bytes buildCorpus(std::size_t size)
{
    Bytes corpus;
    corpus.reserve(size);
    for (const CorpusFile& file : corpusFiles(size))
        corpus.insert(corpus.end(), file.bytes.begin(), file.bytes.end());
    return corpus;
}

} // namespace larkspan::bench
