#include "base/StringAdditions.h"
#include "document/GameLaunch.h"

#include <gtest/gtest.h>

#include <set>

namespace larkspan {
namespace {

namespace fs = std::filesystem;

// A file system holding exactly these files, and a PATH with these programs.
LaunchEnvironment fakeEnvironment(std::set<std::string> files, std::set<std::string> programs = {},
                                  bool windows = false)
{
    LaunchEnvironment environment;
    environment.isFile = [files](const fs::path& path) { return files.count(path.string()) > 0; };
    environment.findFileIgnoringCase = [files](const fs::path& folder,
                                               std::string_view name) -> std::optional<fs::path> {
        for (const fs::path file : files)
            if (file.parent_path() == folder && isCaseInsensitiveEqual(file.filename().string(), name))
                return file;
        return std::nullopt;
    };
    environment.findOnPath = [programs](std::string_view program) -> std::optional<fs::path> {
        if (programs.count(std::string(program)))
            return fs::path("/usr/bin") / program;
        return std::nullopt;
    };
    environment.windows = windows;
    return environment;
}

const std::string kBundle = "/G/Battlefield 1942.app/Contents/MacOS/Battlefield 1942";

TEST(GameLaunch, TheBundleLayout)
{
    struct Case {
        std::string archive;
        bool canRun;
        std::string mod;
        std::string map;
    };
    const Case cases[] = {
        {"/G/Data/Mods/bf1942/Archives/bf1942/levels/map.rfa", true, "bf1942", "map"},
        {"/G/Data/Mods/X/Archives/objects.rfa", true, "X", ""},
        {"/G/Data/Mods/DC/Archives/bf1942/game.rfa", true, "DC", ""},
        {"/G/DATA/mods/X/ARCHIVES/bf1942/levels/m.rfa", true, "X", "m"},
        {"/G/Data/Mods/X/Archives/bf1942/Levels/m.rfa", false, "", ""},
        {"/G/Data/Mods/X/archives/objects.rfa", false, "", ""},
        {"/G/Data/Mods/X/Archives/BF1942/levels/m.rfa", true, "X", "m"},
        {"/G/Data/Mods/X/Other/objects.rfa", false, "", ""},
        {"/G/Data/NotMods/X/Archives/objects.rfa", false, "X", ""},
        {"/G/Stuff/Mods/X/Archives/objects.rfa", false, "X", ""},
        {"/levels/map.rfa", false, "", ""},
        {"/G/Data/Mods/X/Archives/bf1942/levels/a.r", true, "X", ""},
    };
    const LaunchEnvironment environment = fakeEnvironment({kBundle});
    for (const Case& c : cases) {
        const LaunchAttributes attributes = findLaunchAttributes(c.archive, environment);
        EXPECT_EQ(attributes.canRunFile, c.canRun) << c.archive;
        if (!c.canRun)
            continue;
        EXPECT_EQ(attributes.modName, c.mod) << c.archive;
        EXPECT_EQ(attributes.mapName, c.map) << c.archive;
        EXPECT_EQ(attributes.command.program, kBundle);
        EXPECT_EQ(attributes.command.arguments, (std::vector<std::string>{"+game", c.mod, "+restart", "1"}));
        EXPECT_TRUE(attributes.command.workingDirectory.empty());
    }
    EXPECT_FALSE(findLaunchAttributes("/G/Data/Mods/X/Archives/o.rfa", fakeEnvironment({})).canRunFile)
        << "no executable";
}

TEST(GameLaunch, TheWindowsLayoutDirectlyOrThroughWine)
{
    const std::string archive = "/games/BF1942/Mods/bf1942/Archives/bf1942/levels/Berlin.rfa";
    const std::set<std::string> installed = {"/games/BF1942/bf1942.EXE"};

    const LaunchAttributes windows = findLaunchAttributes(archive, fakeEnvironment(installed, {}, true));
    ASSERT_TRUE(windows.canRunFile);
    EXPECT_EQ(windows.command.program, "/games/BF1942/bf1942.EXE");
    EXPECT_EQ(windows.command.arguments, (std::vector<std::string>{"+game", "bf1942", "+restart", "1"}));
    EXPECT_EQ(windows.command.workingDirectory, "/games/BF1942") << "the game finds its files from there";
    EXPECT_EQ(windows.mapName, "Berlin");

    const LaunchAttributes wine = findLaunchAttributes(archive, fakeEnvironment(installed, {"wine"}));
    ASSERT_TRUE(wine.canRunFile);
    EXPECT_EQ(wine.command.program, "/usr/bin/wine");
    EXPECT_EQ(wine.command.arguments,
              (std::vector<std::string>{"/games/BF1942/bf1942.EXE", "+game", "bf1942", "+restart", "1"}));

    EXPECT_FALSE(findLaunchAttributes(archive, fakeEnvironment(installed)).canRunFile) << "no wine on PATH";
}

TEST(GameLaunch, TheBundleIsTriedFirst)
{
    const std::string archive = "/G/Data/Mods/X/Archives/o.rfa";
    const LaunchAttributes both =
        findLaunchAttributes(archive, fakeEnvironment({kBundle, "/G/Data/BF1942.exe"}, {"wine"}));
    EXPECT_EQ(both.command.program, kBundle);
    const LaunchAttributes exeOnly = findLaunchAttributes(archive, fakeEnvironment({"/G/Data/BF1942.exe"}, {"wine"}));
    EXPECT_TRUE(exeOnly.canRunFile) << "a folder named Data holding the game itself";
}

} // namespace
} // namespace larkspan
