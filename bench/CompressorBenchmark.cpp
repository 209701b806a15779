// Our LZO1X compressor against liblzo2 on the same 32 KiB segments of the
// corpus: the fast level against lzo1x_1 (speed on one thread, size), the
// best level against lzo1x_999 (size; speed on all cores and on one thread,
// against lzo1x_999 on one thread).
//
//   bench_compressor [--corpus-mb=N] [--rounds=N] [--levels=fast]
//
// --levels=fast measures the fast level alone (lzo1x_999 takes minutes).
//
// Wall times are medians of rounds in which the tasks run in a fresh random
// order. On a busy machine one thread against one thread is also measured in
// the thread's processor time, segment by segment, the two compressors taking
// turns on each segment, so that both meet the same load.

#include "Corpus.h"
#include "LzoSegments.h"
#include "Rounds.h"

#include "format/Lzo1xCompressor.h"
#include "format/RFADecompression.h"

#include <lzo/lzo1x.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <time.h>

namespace {

using namespace larkspan;
using namespace larkspan::bench;

using Compress = std::function<std::size_t(ByteSpan segment, Bytes& stream)>;

// Compresses every segment with a compressor made per thread; returns the
// total stream length.
std::size_t compressAll(const std::vector<ByteSpan>& segments, unsigned threads,
                        const std::function<Compress()>& makeCompressor)
{
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> total{0};
    const auto work = [&] {
        const Compress compress = makeCompressor();
        Bytes stream;
        std::size_t length = 0;
        for (std::size_t i; (i = next++) < segments.size();)
            length += compress(segments[i], stream);
        total += length;
    };
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    for (std::thread& thread : pool)
        thread.join();
    return total;
}

std::function<Compress()> ours(CompressionLevel level)
{
    return [level] {
        auto compressor = std::make_shared<Lzo1xCompressor>(level);
        // Into a buffer of the caller's, as liblzo2 writes.
        return [compressor](ByteSpan segment, Bytes& stream) {
            stream.resize(Lzo1xCompressor::bound(segment.size()));
            return compressor->compress(segment, stream.data());
        };
    };
}

std::function<Compress()> liblzo2(bool best)
{
    return [best] {
        auto work = std::make_shared<std::vector<unsigned char>>(LZO1X_999_MEM_COMPRESS);
        return [work, best](ByteSpan segment, Bytes& stream) {
            stream.resize(segment.size() + segment.size() / 16 + 64 + 3);
            lzo_uint length = stream.size();
            const int result = best ? lzo1x_999_compress(segment.data(), segment.size(), stream.data(), &length, work->data())
                                    : lzo1x_1_compress(segment.data(), segment.size(), stream.data(), &length, work->data());
            if (result != LZO_E_OK)
                throw std::runtime_error("liblzo2 failed");
            return static_cast<std::size_t>(length);
        };
    };
}

double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Processor seconds of `ours` and of `anchor` over all segments, in turns.
std::pair<double, double> turnsSeconds(const std::vector<ByteSpan>& segments, const std::function<Compress()>& ours,
                                       const std::function<Compress()>& anchor, int repeats)
{
    const Compress compressors[2] = {ours(), anchor()};
    double seconds[2] = {};
    Bytes stream;
    for (std::size_t i = 0; i < segments.size(); ++i)
        for (int r = 0; r < repeats; ++r)
            for (int turn = 0; turn < 2; ++turn) {
                const int which = (i + r + turn) % 2;
                const double start = threadSeconds();
                compressors[which](segments[i], stream);
                seconds[which] += threadSeconds() - start;
            }
    return {seconds[0], seconds[1]};
}

// Our streams must decode to the segments with liblzo2's decoder and ours.
void checkRoundTrip(const std::vector<ByteSpan>& segments, CompressionLevel level)
{
    Lzo1xCompressor compressor(level);
    Bytes stream;
    Bytes decoded(kSegmentSize + kDecoderSlack);
    for (const ByteSpan segment : segments) {
        compressor.compress(segment, stream);
        std::size_t produced = 0;
        lzo_uint theirs = segment.size();
        if (dcom(stream, decoded, segment.size(), produced) != LZOResult::Success || produced != segment.size() ||
            std::memcmp(decoded.data(), segment.data(), produced) != 0 ||
            lzo1x_decompress_safe(stream.data(), stream.size(), decoded.data(), &theirs, nullptr) != LZO_E_OK ||
            theirs != segment.size() || std::memcmp(decoded.data(), segment.data(), theirs) != 0)
            throw std::runtime_error("a stream does not decode to its segment");
    }
}

std::string sizeText(std::size_t bytes, std::size_t content)
{
    char text[64];
    std::snprintf(text, sizeof text, "%zu bytes (%.2f%%)", bytes, 100.0 * bytes / content);
    return text;
}

void printSize(const std::string& ours, std::size_t size, const std::string& anchor, std::size_t anchorSize,
               std::size_t content, double goal)
{
    const double ratio = double(size) / double(anchorSize);
    printComparison(ours + " " + sizeText(size, content) + ", exactly " + std::to_string(ratio).substr(0, 6) + "x",
                    anchor + " " + sizeText(anchorSize, content), Ratio::Size, ratio, Goal::AtMost, goal);
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = takeRounds(argc, argv, 3);
    const std::size_t megabytes = takeSizeFlag(argc, argv, "corpus-mb", 64);
    const bool bestToo = takeTextFlag(argc, argv, "levels", "fast,best") != "fast";
    startReport("bench_compressor");
    if (lzo_init() != LZO_E_OK)
        throw std::runtime_error("lzo_init failed");
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());

    const Bytes corpus = buildCorpus(megabytes << 20);
    std::vector<ByteSpan> segments;
    for (std::size_t at = 0; at < corpus.size(); at += kSegmentSize)
        segments.push_back(ByteSpan(corpus).subspan(at, std::min(kSegmentSize, corpus.size() - at)));
    std::printf("corpus: %zu bytes in %zu segments of %zu bytes; %u cores\n", corpus.size(), segments.size(),
                kSegmentSize, cores);
    checkRoundTrip(segments, CompressionLevel::Fast);
    if (bestToo)
        checkRoundTrip(segments, CompressionLevel::Best);

    std::size_t sizes[5] = {};
    const std::vector<double> fastSeconds = medianSeconds(
        {
            {"fast", [&] { sizes[0] = compressAll(segments, 1, ours(CompressionLevel::Fast)); }},
            {"lzo1x_1", [&] { sizes[1] = compressAll(segments, 1, liblzo2(false)); }},
        },
        rounds * 3);
    const std::vector<double> bestSeconds = !bestToo ? std::vector<double>{} : medianSeconds(
        {
            {"best, one thread", [&] { sizes[2] = compressAll(segments, 1, ours(CompressionLevel::Best)); }},
            {"best, all cores", [&] { sizes[3] = compressAll(segments, cores, ours(CompressionLevel::Best)); }},
            {"lzo1x_999", [&] { sizes[4] = compressAll(segments, 1, liblzo2(true)); }},
        },
        rounds);

    if (sizes[2] != sizes[3])
        throw std::runtime_error("best on several threads wrote other streams");
    const double size = static_cast<double>(corpus.size());
    std::printf("fast level (median of %d rounds):\n", rounds * 3);
    const std::string lzo1x1 = "lzo1x_1, one thread, " + timeAndThroughput(fastSeconds[1], size);
    printComparison("fast, one thread, " + timeAndThroughput(fastSeconds[0], size), lzo1x1, Ratio::Speed,
                    fastSeconds[1] / fastSeconds[0], Goal::AtLeast, 1.0);
    printSize("fast", sizes[0], "lzo1x_1", sizes[1], corpus.size(), 1.03);
    if (bestToo) {
        std::printf("best level (median of %d rounds):\n", rounds);
        const std::string lzo1x999 = "lzo1x_999, one thread, " + timeAndThroughput(bestSeconds[2], size);
        printComparison("best, " + std::to_string(cores) + " threads, " + timeAndThroughput(bestSeconds[1], size), lzo1x999,
                        Ratio::Speed, bestSeconds[2] / bestSeconds[1], Goal::AtLeast, 2.0);
        printComparison("best, one thread, " + timeAndThroughput(bestSeconds[0], size), lzo1x999, Ratio::Speed,
                        bestSeconds[2] / bestSeconds[0]);
        printSize("best", sizes[2], "lzo1x_999", sizes[4], corpus.size(), 1.0);
    }

    std::printf("one thread against one thread in processor time, taking turns segment by segment:\n");
    const auto [fast, lzo1x1Turns] = turnsSeconds(segments, ours(CompressionLevel::Fast), liblzo2(false), rounds * 3);
    printComparison("fast " + timeAndThroughput(fast / (rounds * 3), size),
                    "lzo1x_1 " + timeAndThroughput(lzo1x1Turns / (rounds * 3), size), Ratio::Speed,
                    lzo1x1Turns / fast, Goal::AtLeast, 1.0);
    if (bestToo) {
        const auto [best, lzo1x999Turns] = turnsSeconds(segments, ours(CompressionLevel::Best), liblzo2(true), 1);
        printComparison("best " + timeAndThroughput(best, size), "lzo1x_999 " + timeAndThroughput(lzo1x999Turns, size),
                        Ratio::Speed, lzo1x999Turns / best);
    }
    std::printf("bench_compressor done: %s\n", machineLoad().c_str());
    return 0;
}
