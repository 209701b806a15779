#include "LzoSamples.h"

#include <random>

namespace larkspan::test {

std::vector<LzoSample> lzoSamples()
{
    std::mt19937 random(42);
    const auto randomBytes = [&](std::size_t n) {
        Bytes bytes(n);
        for (std::uint8_t& b : bytes)
            b = static_cast<std::uint8_t>(random());
        return bytes;
    };
    const auto words = [&](std::size_t n) {
        static const char* const kWords[] = {"ObjectTemplate", ".create", " Bundle", " tank_", "\r\n", "rem ",
                                             "setPosition ", "0/", "1.5", "Sound", "include "};
        std::string text;
        while (text.size() < n)
            text += kWords[random() % std::size(kWords)];
        text.resize(n);
        return Bytes(text.begin(), text.end());
    };
    const auto runs = [&](std::size_t n) {
        Bytes bytes;
        while (bytes.size() < n) {
            const Bytes pattern = randomBytes(1 + random() % 12);
            for (std::size_t k = random() % 200; k > 0; --k)
                bytes.insert(bytes.end(), pattern.begin(), pattern.end());
        }
        bytes.resize(n);
        return bytes;
    };
    const auto concat = [](std::vector<Bytes> parts) {
        Bytes all;
        for (const Bytes& part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    std::vector<LzoSample> list;
    for (const std::size_t n : {0, 1, 2, 3, 4, 5, 17, 18, 19, 20, 300})
        list.push_back({"random" + std::to_string(n), randomBytes(n)});
    for (const std::size_t n : {4, 64, 1000, 32768})
        list.push_back({"text" + std::to_string(n), words(n)});
    list.push_back({"zeros", Bytes(40000, 0)});
    list.push_back({"runs", runs(32768)});
    list.push_back({"random32k", randomBytes(32768)});
    // Text far behind text: only matches of 16 KiB and more reach back.
    const Bytes farText = words(3000);
    list.push_back({"far", concat({farText, randomBytes(36000), farText, randomBytes(5000), farText})});
    list.push_back({"mixed", concat({words(10000), runs(5000), randomBytes(3000), Bytes(700, 0), words(20000)})});
    // Matches longer than a length extension byte holds, and runs of one byte.
    const Bytes block = randomBytes(300);
    list.push_back({"repeated300", concat({block, block, block, block, block, randomBytes(7)})});
    list.push_back({"zeroRun", concat({randomBytes(100), Bytes(5000, 0), randomBytes(100)})});
    // Bytes seen exactly `distance` back, just inside and just outside the
    // reach of each instruction form: three of them and forty of them.
    for (const std::size_t distance : {1024, 1025, 2048, 2049, 3072, 3073, 16384, 16385, 32768, 49151, 49152}) {
        const Bytes earlier = randomBytes(distance);
        for (const std::size_t length : {3, 40})
            list.push_back({"at" + std::to_string(distance) + "x" + std::to_string(length),
                            concat({earlier, Bytes(earlier.begin(), earlier.begin() + length), randomBytes(9)})});
    }
    // Several segments of an entry, and more than a window.
    list.push_back({"text65537", words(65537)});
    list.push_back({"large", concat({words(90000), runs(60000), randomBytes(40000), words(72144)})});
    return list;
}

} // namespace larkspan::test
