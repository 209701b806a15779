#include "document/GameLaunch.h"

#include "base/StringAdditions.h"
#include "fs/FileIO.h"

#include <cstdlib>
#include <system_error>

namespace larkspan {

namespace fs = std::filesystem;

namespace {

// Where the mod lies in the archive's path: the mod's name and the index
// of the component just above "Mods".
struct ModPlace {
    std::string modName;
    std::string mapName;
    std::size_t aboveMods;
};

std::optional<ModPlace> findModPlace(const std::vector<std::string>& c)
{
    const std::size_t n = c.size();
    if (n < 2)
        return std::nullopt;
    const std::string& holder = c[n - 2];
    ModPlace place;
    // How far above the holding folder "Archives" lies.
    std::size_t archivesAt = 0;
    if (holder == "levels") {
        if (n < 7)
            return std::nullopt;
        const std::string& file = c[n - 1];
        place.mapName = file.size() > 4 ? file.substr(0, file.size() - 4) : std::string();
        if (!isCaseInsensitiveEqual(c[n - 3], "bf1942"))
            return std::nullopt;
        archivesAt = n - 4;
    } else if (holder == "bf1942") {
        if (n < 6)
            return std::nullopt;
        archivesAt = n - 3;
    } else if (holder == "Archives") {
        if (n < 5)
            return std::nullopt;
        archivesAt = n - 2;
    } else {
        return std::nullopt;
    }
    if (holder != "Archives" && !isCaseInsensitiveEqual(c[archivesAt], "Archives"))
        return std::nullopt;
    place.modName = c[archivesAt - 1];
    if (!isCaseInsensitiveEqual(c[archivesAt - 2], "Mods"))
        return std::nullopt;
    place.aboveMods = archivesAt - 3;
    return place;
}

fs::path joined(const std::vector<std::string>& components, std::size_t count)
{
    fs::path path;
    for (std::size_t i = 0; i < count; ++i)
        path /= components[i];
    return path;
}

std::vector<std::string> gameArguments(const std::string& modName)
{
    return {"+game", modName, "+restart", "1"};
}

} // namespace

LaunchAttributes findLaunchAttributes(const fs::path& archive, const LaunchEnvironment& environment)
{
    LaunchAttributes attributes;
    std::vector<std::string> components;
    for (const fs::path& part : archive.lexically_normal())
        components.push_back(part.string());
    const std::optional<ModPlace> place = findModPlace(components);
    if (!place)
        return attributes;
    attributes.modName = place->modName;
    attributes.mapName = place->mapName;
    const std::size_t d = place->aboveMods;

    if (d >= 1 && isCaseInsensitiveEqual(components[d], "Data")) {
        attributes.gamePath =
            joined(components, d) / "Battlefield 1942.app" / "Contents" / "MacOS" / "Battlefield 1942";
        if (environment.isFile(attributes.gamePath)) {
            attributes.canRunFile = true;
            attributes.command = {attributes.gamePath, gameArguments(attributes.modName), {}};
            return attributes;
        }
    }

    const fs::path game = joined(components, d + 1);
    const std::optional<fs::path> executable = environment.findFileIgnoringCase(game, "BF1942.exe");
    if (!executable)
        return attributes;
    attributes.gamePath = *executable;
    if (environment.windows) {
        attributes.canRunFile = true;
        attributes.command = {*executable, gameArguments(attributes.modName), game};
    } else if (const std::optional<fs::path> wine = environment.findOnPath("wine")) {
        attributes.canRunFile = true;
        std::vector<std::string> arguments = gameArguments(attributes.modName);
        arguments.insert(arguments.begin(), executable->string());
        attributes.command = {*wine, std::move(arguments), game};
    }
    return attributes;
}

LaunchEnvironment LaunchEnvironment::system()
{
    LaunchEnvironment environment;
    environment.isFile = [](const fs::path& path) {
        std::error_code error;
        return fs::is_regular_file(path, error);
    };
    environment.findFileIgnoringCase = [](const fs::path& folder, std::string_view name) -> std::optional<fs::path> {
        std::error_code error;
        for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
            if (isCaseInsensitiveEqual(entry->path().filename().string(), name) && entry->is_regular_file(error))
                return entry->path();
        }
        return std::nullopt;
    };
    environment.findOnPath = [](std::string_view program) -> std::optional<fs::path> {
        const char* path = std::getenv("PATH");
        if (!path)
            return std::nullopt;
#ifdef _WIN32
        constexpr char separator = ';';
#else
        constexpr char separator = ':';
#endif
        std::string_view rest(path);
        while (!rest.empty()) {
            const std::size_t end = std::min(rest.find(separator), rest.size());
            const fs::path candidate = fs::path(rest.substr(0, end)) / program;
            if (isRunnableFile(candidate))
                return candidate;
            rest.remove_prefix(std::min(end + 1, rest.size()));
        }
        return std::nullopt;
    };
#ifdef _WIN32
    environment.windows = true;
#endif
    return environment;
}

} // namespace larkspan
