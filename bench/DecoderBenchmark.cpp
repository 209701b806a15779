// Throughput of our LZO1X decoder against liblzo2's lzo1x_decompress_safe on
// the same 32 KiB lzo1x_999 segments, measured in the same run.
//
//   bench_decoder [--corpus-mb=N] [benchmark flags]
//
// By default each benchmark runs five times, the two interleaved at random so
// that a busy machine slows both alike, and the ratio is of the medians.

#include "Corpus.h"
#include "LzoSegments.h"

#include "format/RFADecompression.h"

#include <benchmark/benchmark.h>
#include <lzo/lzo1x.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

using larkspan::bench::LzoSegment;

std::vector<LzoSegment> gSegments;
std::size_t gContentSize = 0;

bool decodeWithOurs(const LzoSegment& segment, std::vector<std::uint8_t>& output)
{
    std::size_t produced = 0;
    return larkspan::dcom(segment.stream, output, segment.size, produced) == larkspan::LZOResult::Success &&
           produced == segment.size;
}

bool decodeWithLiblzo(const LzoSegment& segment, std::vector<std::uint8_t>& output)
{
    lzo_uint produced = segment.size;
    return lzo1x_decompress_safe(segment.stream.data(), segment.stream.size(), output.data(), &produced,
                                 nullptr) == LZO_E_OK &&
           produced == segment.size;
}

template <bool (*Decode)(const LzoSegment&, std::vector<std::uint8_t>&)>
void decodeAll(benchmark::State& state)
{
    std::vector<std::uint8_t> output(larkspan::bench::kSegmentSize + larkspan::kDecoderSlack);
    for (auto _ : state) {
        for (const LzoSegment& segment : gSegments) {
            if (!Decode(segment, output)) {
                state.SkipWithError("decoding failed");
                return;
            }
            benchmark::DoNotOptimize(output.data());
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * gContentSize));
}

bool bothDecodersReproduce(const larkspan::Bytes& corpus)
{
    std::vector<std::uint8_t> ours(larkspan::bench::kSegmentSize + larkspan::kDecoderSlack);
    std::vector<std::uint8_t> theirs(ours.size());
    std::size_t at = 0;
    for (const LzoSegment& segment : gSegments) {
        if (!decodeWithOurs(segment, ours) || !decodeWithLiblzo(segment, theirs) ||
            std::memcmp(ours.data(), corpus.data() + at, segment.size) != 0 ||
            std::memcmp(theirs.data(), corpus.data() + at, segment.size) != 0)
            return false;
        at += segment.size;
    }
    return at == corpus.size();
}

// Prints as usual and keeps each benchmark's throughput for the ratio: the
// median when repeated, the only run otherwise.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (!run.error_occurred && run.counters.count("bytes_per_second") &&
                (run.run_type == Run::RT_Iteration || run.aggregate_name == "median"))
                throughput[run.run_name.function_name] = run.counters.at("bytes_per_second");
    }
    std::map<std::string, double> throughput;
};

// Our defaults go first so that flags given on the command line override them.
std::vector<char*> withDefaultFlags(int argc, char** argv)
{
    static char repetitions[] = "--benchmark_repetitions=5";
    static char interleaving[] = "--benchmark_enable_random_interleaving=true";
    static char aggregates[] = "--benchmark_report_aggregates_only=true";
    std::vector<char*> args{argv[0], repetitions, interleaving, aggregates};
    args.insert(args.end(), argv + 1, argv + argc);
    args.push_back(nullptr);
    return args;
}

std::size_t takeCorpusMegabytes(int& argc, char** argv)
{
    std::size_t megabytes = 64;
    const char* const flag = "--corpus-mb=";
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], flag, std::strlen(flag)) == 0)
            megabytes = std::stoul(argv[i] + std::strlen(flag));
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return megabytes;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<char*> args = withDefaultFlags(argc, argv);
    argc = static_cast<int>(args.size() - 1);
    const std::size_t megabytes = takeCorpusMegabytes(argc, args.data());
    benchmark::Initialize(&argc, args.data());

    const larkspan::Bytes corpus = larkspan::bench::buildCorpus(megabytes << 20);
    const auto started = std::chrono::steady_clock::now();
    gSegments = larkspan::bench::compressedSegments(corpus, LARKSPAN_BENCH_CACHE_DIR);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    gContentSize = corpus.size();
    std::size_t compressedSize = 0;
    for (const LzoSegment& segment : gSegments)
        compressedSize += segment.stream.size();
    std::printf("corpus: %zu bytes in %zu segments, lzo1x_999 to %zu bytes (%.1f%%), loaded in %.1f s\n",
                corpus.size(), gSegments.size(), compressedSize, 100.0 * compressedSize / corpus.size(), seconds);
    if (!bothDecodersReproduce(corpus)) {
        std::fprintf(stderr, "the decoders do not reproduce the corpus\n");
        return 1;
    }

    benchmark::RegisterBenchmark("dcom", decodeAll<decodeWithOurs>)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("lzo1x_decompress_safe", decodeAll<decodeWithLiblzo>)->Unit(benchmark::kMillisecond);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto ours = reporter.throughput.find("dcom");
    const auto anchor = reporter.throughput.find("lzo1x_decompress_safe");
    if (ours != reporter.throughput.end() && anchor != reporter.throughput.end())
        std::printf("dcom %.0f MB/s, lzo1x_decompress_safe %.0f MB/s: ratio %.2f (goal >= 1.50)\n",
                    ours->second / 1e6, anchor->second / 1e6, ours->second / anchor->second);
    return 0;
}
