#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace larkspan {

// What starting the game takes: the program, its arguments, and the folder
// to start it in (empty: the editor's own).
struct LaunchCommand {
    std::filesystem::path program;
    std::vector<std::string> arguments;
    std::filesystem::path workingDirectory;
};

struct LaunchAttributes {
    bool canRunFile = false;
    std::string mapName; // the archive's name less its extension, for archives in "levels"
    std::string modName;
    std::filesystem::path gamePath; // the game's executable
    LaunchCommand command;          // valid when canRunFile
};

// The file system and the platform, as far as finding the game needs them.
struct LaunchEnvironment {
    std::function<bool(const std::filesystem::path&)> isFile;
    // A file in `folder` whose name equals `name` ignoring case (wine
    // installations keep whatever case the installer wrote).
    std::function<std::optional<std::filesystem::path>(const std::filesystem::path& folder, std::string_view name)>
        findFileIgnoringCase;
    // A program found on PATH.
    std::function<std::optional<std::filesystem::path>(std::string_view program)> findOnPath;
    bool windows = false;

    static LaunchEnvironment system();
};

// Works out from an archive's location whether it belongs to a mod of a game
// installation G, and how to start the game on that mod:
//   .../G/Data/Mods/M/Archives[/bf1942[/levels]]/file.rfa with the bundle
//       G/Battlefield 1942.app/Contents/MacOS/Battlefield 1942, started as it is;
//   .../G/Mods/M/Archives[/bf1942[/levels]]/file.rfa with G/BF1942.exe, started
//       directly on Windows and through wine elsewhere (when wine is on PATH),
//       in G, where the game looks for its files.
// The folder holding the archive must match in case, the folders above in
// any case. The bundle is tried first.
LaunchAttributes findLaunchAttributes(const std::filesystem::path& archive, const LaunchEnvironment& environment);

} // namespace larkspan
