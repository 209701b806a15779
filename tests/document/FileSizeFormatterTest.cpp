#include "document/FileSizeFormatter.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace larkspan {
namespace {

TEST(FileSizeFormatter, BandsAndRounding)
{
    const std::pair<std::uint64_t, const char*> cases[] = {
        {0, "0 Bytes"},
        {1, "1 Bytes"},
        {1023, "1023 Bytes"},
        {1024, "1 KB"},
        {1025, "2 KB"},
        {1536, "2 KB"},
        {1048575, "1024 KB"},
        {1048576, "1.0 MB"},
        {1572864, "1.5 MB"},
        {1073741823, "1024.0 MB"},
        {1073741824, "1.00 GB"},
        {4294967295, "4.00 GB"},
        // Sums over a whole tree can pass 4 GiB; they must not wrap around.
        {5368709120, "5.00 GB"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(FileSizeFormatter::stringForNumber(bytes), text) << bytes;
}

// The editor takes on the user's locale; a decimal comma there must not
// reach the size texts.
TEST(FileSizeFormatter, SameTextUnderACommaLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed (scripts/install-deps.sh makes it)";
    const std::string mb = FileSizeFormatter::stringForNumber(1572864);
    const std::string gb = FileSizeFormatter::stringForNumber(1073741824);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(mb, "1.5 MB");
    EXPECT_EQ(gb, "1.00 GB");
}

TEST(FileSizeFormatter, UsesTheTranslatedFormat)
{
    const auto german = [](const char* format) -> std::string {
        return std::string(format) == "%u KB" ? "%u kB" : format;
    };
    EXPECT_EQ(FileSizeFormatter::stringForNumber(2048, german), "2 kB");
    EXPECT_EQ(FileSizeFormatter::stringForNumber(5, german), "5 Bytes");
}

} // namespace
} // namespace larkspan
