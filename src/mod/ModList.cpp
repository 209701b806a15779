#include "mod/ModList.h"

#include "base/Latin1.h"
#include "base/StringAdditions.h"

#include <algorithm>

namespace larkspan {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// The line's whitespace-separated words.
std::vector<std::string_view> wordsOf(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && isBlank(line[at]))
            ++at;
        const std::size_t start = at;
        while (at < line.size() && !isBlank(line[at]))
            ++at;
        if (at > start)
            words.push_back(line.substr(start, at - start));
    }
    return words;
}

// "Mods/X/", "mods\X", "\"Mods/X/\"": the mod's name, or nothing.
std::string modNameOf(std::string_view argument)
{
    if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"')
        argument = argument.substr(1, argument.size() - 2);
    std::vector<std::string_view> components;
    std::size_t start = 0;
    for (std::size_t at = 0; at <= argument.size(); ++at) {
        if (at == argument.size() || argument[at] == '/' || argument[at] == '\\') {
            if (at > start)
                components.push_back(argument.substr(start, at - start));
            start = at + 1;
        }
    }
    if (components.size() != 2 || !isCaseInsensitiveEqual(components[0], "mods"))
        return {};
    const std::string_view name = components[1];
    return latin1ToUtf8(ByteSpan(reinterpret_cast<const std::uint8_t*>(name.data()), name.size()));
}

} // namespace

std::vector<std::string> listedModNames(std::string_view initCon)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start < initCon.size()) {
        const std::size_t end = std::min(initCon.find('\n', start), initCon.size());
        const std::vector<std::string_view> words = wordsOf(initCon.substr(start, end - start));
        start = end + 1;
        if (words.size() < 2 || !isCaseInsensitiveEqual(words[0], "game.addModPath"))
            continue; // `rem` lines and every other command
        if (std::string name = modNameOf(words[1]); !name.empty())
            names.push_back(std::move(name));
    }
    return names;
}

} // namespace larkspan
