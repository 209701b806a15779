// Decoding 2048x2048 DXT1 and DXT5 textures to RGBA, against Pillow decoding
// the same files (Image.open(f).convert("RGBA"), timed inside the Python
// process, best of 5) in the same run. The textures are random blocks, written
// into the build directory on first use.
#include "imaging/DDSDrawToImage.h"
#include "imaging/OpenDDSFile.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace larkspan {
namespace {

constexpr std::uint32_t kSide = 2048;

struct Texture {
    DDSBytes bytes;
    double pillowSeconds;
};

void putLE32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = std::uint8_t(value >> (8 * i));
}

std::vector<std::uint8_t> randomTexture(const char* fourCC, std::size_t blockBytes)
{
    std::vector<std::uint8_t> bytes(128 + (kSide / 4) * (kSide / 4) * blockBytes);
    std::memcpy(bytes.data(), "DDS ", 4);
    putLE32(bytes, 4, 124);
    putLE32(bytes, 8, 0x81007);
    putLE32(bytes, 12, kSide);
    putLE32(bytes, 16, kSide);
    putLE32(bytes, 76, 32);
    putLE32(bytes, 80, 4);
    std::memcpy(bytes.data() + 84, fourCC, 4);
    putLE32(bytes, 108, 0x1000);
    std::mt19937 random(1942);
    for (std::size_t at = 128; at < bytes.size(); at += 4)
        putLE32(bytes, at, std::uint32_t(random()));
    return bytes;
}

double pillowSeconds(const std::string& path)
{
    const std::string command =
        "/usr/bin/python3 -c 'import sys, time\n"
        "from PIL import Image\n"
        "best = float(\"inf\")\n"
        "for _ in range(5):\n"
        "    t = time.perf_counter()\n"
        "    Image.open(sys.argv[1]).convert(\"RGBA\")\n"
        "    best = min(best, time.perf_counter() - t)\n"
        "print(best)' " + path;
    FILE* python = popen(command.c_str(), "r");
    double seconds = NAN;
    if (python) {
        if (std::fscanf(python, "%lf", &seconds) != 1)
            seconds = NAN;
        pclose(python);
    }
    return seconds;
}

const Texture& texture(const char* fourCC)
{
    static Texture dxt1, dxt5;
    Texture& t = std::strcmp(fourCC, "DXT1") == 0 ? dxt1 : dxt5;
    if (!t.bytes) {
        std::vector<std::uint8_t> bytes = randomTexture(fourCC, &t == &dxt1 ? 8 : 16);
        const std::string path = std::string(LARKSPAN_BENCH_DIR) + "/bench_" + fourCC + "_2048.dds";
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        t.bytes = std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
        t.pillowSeconds = pillowSeconds(path);
    }
    return t;
}

void decode(benchmark::State& state, const char* fourCC)
{
    const Texture& t = texture(fourCC);
    const DDSHandle dds{DDSOpenData(t.bytes)};
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        std::optional<DDSImage> image = DDSCreateImage(dds.get(), kSide, kSide);
        benchmark::DoNotOptimize(image->pixels.data());
    }
    const double ours = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
                        double(state.iterations());
    state.SetBytesProcessed(std::int64_t(state.iterations()) * kSide * kSide * 4);
    state.counters["ours_ms"] = ours * 1e3;
    state.counters["pillow_ms"] = t.pillowSeconds * 1e3;
    state.counters["x_pillow"] = t.pillowSeconds / ours;
}

BENCHMARK_CAPTURE(decode, DXT1_2048, "DXT1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(decode, DXT5_2048, "DXT5")->Unit(benchmark::kMillisecond);

} // namespace
} // namespace larkspan
