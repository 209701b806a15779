// Compresses raw RGBA (stdin) into DXT1 or DXT3 blocks (stdout) with libsquish.
// Built and run by make_fixtures.py: squish_encode dxt1|dxt3 WIDTH HEIGHT
#include <squish.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    const int width = std::atoi(argv[2]), height = std::atoi(argv[3]);
    // DXT1 pixels with alpha below 128 become the block's transparent black.
    const int flags = (std::strcmp(argv[1], "dxt3") == 0 ? squish::kDxt3 : squish::kDxt1) |
                      squish::kColourIterativeClusterFit;
    std::vector<unsigned char> rgba(std::size_t(width) * height * 4);
    if (std::fread(rgba.data(), 1, rgba.size(), stdin) != rgba.size())
        return 1;
    std::vector<unsigned char> blocks(squish::GetStorageRequirements(width, height, flags));
    squish::CompressImage(rgba.data(), width, height, blocks.data(), flags);
    return std::fwrite(blocks.data(), 1, blocks.size(), stdout) == blocks.size() ? 0 : 1;
}
