#include "LzoSegments.h"

#include <lzo/lzo1x.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace larkspan::bench {

namespace {

std::uint64_t fnv1a(ByteSpan bytes)
{
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    for (const std::uint8_t byte : bytes)
        hash = (hash ^ byte) * 0x100000001B3ULL;
    return hash;
}

std::vector<LzoSegment> compress(ByteSpan content)
{
    return compressPieces({content}).front();
}

template <typename T>
void writeValue(std::ofstream& out, T value)
{
    out.write(reinterpret_cast<const char*>(&value), sizeof value);
}

template <typename T>
bool readValue(std::ifstream& in, T& value)
{
    return bool(in.read(reinterpret_cast<char*>(&value), sizeof value));
}

// Cache file: segment count, then per segment its size, stream length and stream.
bool readCache(const std::filesystem::path& path, std::vector<LzoSegment>& segments)
{
    std::ifstream in(path, std::ios::binary);
    std::uint64_t count = 0;
    if (!readValue(in, count))
        return false;
    segments.resize(count);
    for (LzoSegment& segment : segments) {
        std::uint32_t length = 0;
        if (!readValue(in, segment.size) || !readValue(in, length))
            return false;
        segment.stream.resize(length);
        if (!in.read(reinterpret_cast<char*>(segment.stream.data()), length))
            return false;
    }
    return true;
}

void writeCache(const std::filesystem::path& path, const std::vector<LzoSegment>& segments)
{
    const std::filesystem::path partial = path.string() + ".partial";
    {
        std::ofstream out(partial, std::ios::binary);
        writeValue<std::uint64_t>(out, segments.size());
        for (const LzoSegment& segment : segments) {
            writeValue(out, segment.size);
            writeValue(out, static_cast<std::uint32_t>(segment.stream.size()));
            out.write(reinterpret_cast<const char*>(segment.stream.data()), static_cast<std::streamsize>(segment.stream.size()));
        }
        if (!out)
            return;
    }
    std::filesystem::rename(partial, path);
}

} // namespace

std::vector<std::vector<LzoSegment>> compressPieces(const std::vector<ByteSpan>& pieces)
{
    if (lzo_init() != LZO_E_OK)
        throw std::runtime_error("lzo_init failed");
    struct Job {
        std::size_t piece;
        std::size_t segment;
    };
    std::vector<std::vector<LzoSegment>> segments(pieces.size());
    std::vector<Job> jobs;
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        segments[p].resize((pieces[p].size() + kSegmentSize - 1) / kSegmentSize);
        for (std::size_t i = 0; i < segments[p].size(); ++i)
            jobs.push_back({p, i});
    }
    std::atomic<std::size_t> nextJob{0};
    const auto worker = [&] {
        std::vector<unsigned char> workMemory(LZO1X_999_MEM_COMPRESS);
        for (std::size_t j; (j = nextJob++) < jobs.size();) {
            const ByteSpan content = pieces[jobs[j].piece];
            const std::size_t at = jobs[j].segment * kSegmentSize;
            const ByteSpan piece = content.subspan(at, std::min(kSegmentSize, content.size() - at));
            Bytes stream(piece.size() + piece.size() / 16 + 64 + 3);
            lzo_uint streamLength = stream.size();
            if (lzo1x_999_compress(piece.data(), piece.size(), stream.data(), &streamLength, workMemory.data()) != LZO_E_OK)
                throw std::runtime_error("lzo1x_999_compress failed");
            stream.resize(streamLength);
            stream.shrink_to_fit();
            segments[jobs[j].piece][jobs[j].segment] = {std::move(stream), static_cast<std::uint32_t>(piece.size())};
        }
    };
    std::vector<std::thread> threads(std::max(1u, std::thread::hardware_concurrency()));
    for (std::thread& thread : threads)
        thread = std::thread(worker);
    for (std::thread& thread : threads)
        thread.join();
    return segments;
}

std::vector<LzoSegment> compressedSegments(ByteSpan content, const std::filesystem::path& cacheDirectory)
{
    char name[64];
    std::snprintf(name, sizeof name, "lzo1x_999-%zu-%016llx.bin", content.size(),
                  static_cast<unsigned long long>(fnv1a(content)));
    const std::filesystem::path cachePath = cacheDirectory / name;
    std::vector<LzoSegment> segments;
    if (readCache(cachePath, segments))
        return segments;
    segments = compress(content);
    writeCache(cachePath, segments);
    return segments;
}

} // namespace larkspan::bench
