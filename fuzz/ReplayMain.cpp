// Runs a harness over the files named on the command line, and over every
// file below the folders named there, without libFuzzer: CTest replays the
// committed corpora this way with any compiler.

#include "fs/FileIO.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> inputsBelow(const std::filesystem::path& path)
{
    if (!std::filesystem::is_directory(path))
        return {path};
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE_OR_FOLDER...\n", argv[0]);
        return 2;
    }
    std::size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const std::filesystem::path& file : inputsBelow(argv[i])) {
            const larkspan::Result<larkspan::Bytes> bytes = larkspan::readWholeFile(file);
            if (!bytes) {
                std::fprintf(stderr, "%s\n", larkspan::describe(bytes.error()).text.c_str());
                return 1;
            }
            // A copy of exactly the input's size, so that a read past its
            // end is a read past an allocation.
            const std::vector<std::uint8_t> input(bytes->begin(), bytes->end());
            LLVMFuzzerTestOneInput(input.empty() ? nullptr : input.data(), input.size());
            ++replayed;
        }
    }
    if (replayed == 0) {
        std::fprintf(stderr, "no inputs found\n");
        return 1;
    }
    std::printf("replayed %zu inputs\n", replayed);
    return 0;
}
