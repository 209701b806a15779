#include "fs/SafePath.h"

#include <gtest/gtest.h>

#include <vector>

namespace larkspan {
namespace {

std::string utf8(const std::filesystem::path& path)
{
    const std::u8string generic = path.generic_u8string();
    return std::string(generic.begin(), generic.end());
}

TEST(SafePath, ComponentsThatMayBeNamesOfTheirOwn)
{
    const std::pair<std::string, std::optional<ErrorCode>> cases[] = {
        {"tank.con", std::nullopt}, {"...", std::nullopt}, {"..hidden", std::nullopt}, {"caf\xC3\xA9", std::nullopt},
        {"C:", std::nullopt},
        {"", ErrorCode::EmptyComponent}, {".", ErrorCode::CurrentFolder}, {"..", ErrorCode::ParentFolder},
        {"a/b", ErrorCode::Separator}, {"/", ErrorCode::Separator}, {"a\\.\\b", ErrorCode::Separator},
        {"..\\evil", ErrorCode::ParentFolder}, {"a\\..", ErrorCode::ParentFolder},
        {"a\\..\\b", ErrorCode::ParentFolder}, {"a\\...\\b", ErrorCode::Separator},
        {std::string("a\0b", 3), ErrorCode::NulByte},
    };
    for (const auto& [component, refusal] : cases)
        EXPECT_EQ(componentRefusal(component), refusal) << component;
}

// Entry names from archives in the wild, with their components as a path
// below the chosen folder, or why there is none.
TEST(SafePath, EntryNamesBecomeRelativePathsOrAreRefused)
{
    const std::pair<std::string, std::variant<std::string, ErrorCode>> cases[] = {
        {"bf1942/objects/tank.con", "bf1942/objects/tank.con"},
        {"readme.txt", "readme.txt"},
        {"bf1942/caf\xC3\xA9.con", "bf1942/caf\xC3\xA9.con"},
        {"", ErrorCode::EmptyName},
        {"/etc/passwd", ErrorCode::AbsoluteName},
        {"\\evil", ErrorCode::AbsoluteName},
        {"bf1942/../../evil", ErrorCode::ParentFolder},
        {"bf1942/..\\..\\evil", ErrorCode::ParentFolder},
        {"bf1942/textures\\grass.dds", ErrorCode::Separator},
        {"bf1942/./x", ErrorCode::CurrentFolder},
        {"bf1942//x", ErrorCode::EmptyComponent},
        {"bf1942/x/", ErrorCode::EmptyComponent},
        {std::string("bf1942/a\0b", 10), ErrorCode::NulByte},
    };
    for (const auto& [entry, expected] : cases) {
        const Result<std::filesystem::path> path = relativePathForEntry(entry);
        if (const std::string* relative = std::get_if<std::string>(&expected)) {
            ASSERT_TRUE(path) << entry;
            EXPECT_EQ(utf8(*path), *relative);
        } else {
            ASSERT_FALSE(path) << entry;
            EXPECT_EQ(path.error().code, std::get<ErrorCode>(expected)) << entry;
        }
    }
}

TEST(SafePath, ComponentsOfATreeNodeFollowTheSameRule)
{
    const std::vector<std::string> fine{"bf1942", "levels", "Berlin", "Init.con"};
    EXPECT_EQ(relativePathForComponents(fine), std::filesystem::path("bf1942/levels/Berlin/Init.con"));
    const std::pair<std::vector<std::string>, ErrorCode> cases[] = {
        {{}, ErrorCode::EmptyName},
        {{"/", "etc", "passwd"}, ErrorCode::AbsoluteName}, // the reader's leading "/" component
        {{"bf1942", "..", "x"}, ErrorCode::ParentFolder},
        {{"bf1942", "/"}, ErrorCode::Separator}, // the reader's trailing "/" component
    };
    for (const auto& [components, refusal] : cases)
        EXPECT_EQ(relativePathForComponents(components).error().code, refusal) << testing::PrintToString(components);
}

} // namespace
} // namespace larkspan
