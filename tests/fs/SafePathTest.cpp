#include "fs/SafePath.h"

#include <gtest/gtest.h>

#include <vector>

namespace larkspan {
namespace {

struct ComponentCase {
    std::string component;
    std::optional<PathRefusal> refusal;
};

class ComponentRefusalTest : public testing::TestWithParam<ComponentCase> {};

TEST_P(ComponentRefusalTest, ClassifiesComponent)
{
    const ComponentCase& c = GetParam();
    EXPECT_EQ(componentRefusal(c.component), c.refusal) << c.component;
    EXPECT_EQ(isSafePathComponent(c.component), !c.refusal.has_value()) << c.component;
}

INSTANTIATE_TEST_SUITE_P(
    Components, ComponentRefusalTest,
    testing::Values(ComponentCase{"tank.con", std::nullopt}, ComponentCase{"...", std::nullopt},
                    ComponentCase{"..hidden", std::nullopt}, ComponentCase{".hidden", std::nullopt},
                    ComponentCase{"caf\xC3\xA9", std::nullopt}, ComponentCase{"C:", std::nullopt},
                    ComponentCase{"", PathRefusal::EmptyComponent},
                    ComponentCase{".", PathRefusal::CurrentFolder},
                    ComponentCase{"..", PathRefusal::ParentFolder},
                    ComponentCase{"a/b", PathRefusal::Separator},
                    ComponentCase{"/", PathRefusal::Separator},
                    ComponentCase{"a\\b", PathRefusal::Separator},
                    ComponentCase{"a\\.\\b", PathRefusal::Separator},
                    ComponentCase{"..\\evil", PathRefusal::ParentFolder},
                    ComponentCase{"a\\..", PathRefusal::ParentFolder},
                    ComponentCase{"a\\..\\b", PathRefusal::ParentFolder},
                    ComponentCase{"a\\...\\b", PathRefusal::Separator},
                    ComponentCase{std::string("a\0b", 3), PathRefusal::NulByte}));

struct EntryCase {
    std::string entry;
    std::optional<std::string> path; // the generic form of the result, UTF-8
    std::optional<PathRefusal> refusal;
};

std::string utf8(const std::filesystem::path& path)
{
    const std::u8string generic = path.generic_u8string();
    return std::string(generic.begin(), generic.end());
}

class RelativePathForEntryTest : public testing::TestWithParam<EntryCase> {};

TEST_P(RelativePathForEntryTest, TurnsEntryIntoPathOrRefuses)
{
    const EntryCase& c = GetParam();
    SafePathError error{PathRefusal::Empty, "untouched"};
    const std::optional<std::filesystem::path> path = relativePathForEntry(c.entry, &error);
    if (c.path) {
        ASSERT_TRUE(path.has_value()) << c.entry << ": " << error.message;
        EXPECT_EQ(utf8(*path), *c.path);
        EXPECT_TRUE(path->is_relative());
        EXPECT_EQ(error.message, "untouched");
    } else {
        EXPECT_FALSE(path.has_value()) << c.entry;
        EXPECT_EQ(error.refusal, *c.refusal) << c.entry;
        EXPECT_FALSE(error.message.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Entries, RelativePathForEntryTest,
    testing::Values(EntryCase{"bf1942/objects/tank.con", "bf1942/objects/tank.con", {}},
                    EntryCase{"readme.txt", "readme.txt", {}},
                    EntryCase{"bf1942/caf\xC3\xA9.con", "bf1942/caf\xC3\xA9.con", {}},
                    EntryCase{"bf1942/...", "bf1942/...", {}},
                    EntryCase{"", {}, PathRefusal::Empty},
                    EntryCase{"/etc/passwd", {}, PathRefusal::Absolute},
                    EntryCase{"\\evil", {}, PathRefusal::Absolute},
                    EntryCase{"/", {}, PathRefusal::Absolute},
                    EntryCase{"../evil", {}, PathRefusal::ParentFolder},
                    EntryCase{"bf1942/../../evil", {}, PathRefusal::ParentFolder},
                    EntryCase{"bf1942/..", {}, PathRefusal::ParentFolder},
                    EntryCase{"bf1942/..\\..\\evil", {}, PathRefusal::ParentFolder},
                    EntryCase{"bf1942/textures\\grass.dds", {}, PathRefusal::Separator},
                    EntryCase{"bf1942/./x", {}, PathRefusal::CurrentFolder},
                    EntryCase{"bf1942//x", {}, PathRefusal::EmptyComponent},
                    EntryCase{"bf1942/x/", {}, PathRefusal::EmptyComponent},
                    EntryCase{std::string("bf1942/a\0b", 10), {}, PathRefusal::NulByte}));

TEST(RelativePathForComponentsTest, JoinsSafeComponents)
{
    const std::vector<std::string> components{"bf1942", "levels", "Berlin", "Init.con"};
    const std::optional<std::filesystem::path> path = relativePathForComponents(components);
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(utf8(*path), "bf1942/levels/Berlin/Init.con");
}

TEST(RelativePathForComponentsTest, RefusesWhatEntryNamesWouldRefuse)
{
    const std::vector<std::pair<std::vector<std::string>, PathRefusal>> cases{
        {{}, PathRefusal::Empty},
        {{"/", "etc", "passwd"}, PathRefusal::Absolute}, // the reader's leading "/" component
        {{"\\x"}, PathRefusal::Absolute},
        {{"bf1942", "..", "x"}, PathRefusal::ParentFolder},
        {{"bf1942", "a/b"}, PathRefusal::Separator},
        {{"bf1942", ""}, PathRefusal::EmptyComponent},
        {{"bf1942", "/"}, PathRefusal::Separator}, // the reader's trailing "/" component
    };
    for (const auto& [components, refusal] : cases) {
        SafePathError error{PathRefusal::Empty, ""};
        EXPECT_FALSE(relativePathForComponents(components, &error).has_value());
        EXPECT_EQ(error.refusal, refusal) << testing::PrintToString(components);
    }
}

} // namespace
} // namespace larkspan
