#include "cli/Diagnostics.h"

#include "cli/Progress.h"
#include "base/Latin1.h"

#include <cstdio>
#include <iostream>

namespace larkspan::cli {

std::string displayName(std::string_view utf8)
{
    std::string shown;
    shown.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t start = pos;
        const char32_t c = nextCodePoint(utf8, pos);
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned>(c));
            shown += escaped;
        } else {
            shown.append(utf8.substr(start, pos - start));
        }
    }
    return shown;
}

std::string reasonText(const Error& error)
{
    return describe(Error{error.code, {}, error.systemError}).text;
}

void reportError(const Error& error)
{
    clearProgressLine();
    std::cerr << "rfa: " << describe(error).text << std::endl;
}

void reportProblem(std::string_view subject, std::string_view message)
{
    clearProgressLine();
    std::cerr << "rfa: " << subject << ": " << message << std::endl;
}

void reportWarning(std::string_view subject, std::string_view message)
{
    clearProgressLine();
    std::cerr << "rfa: warning: " << subject << ": " << message << std::endl;
}

void reportEntryProblem(std::string_view archive, std::string_view entry, std::string_view message)
{
    clearProgressLine();
    std::cerr << "rfa: " << archive << ": " << displayName(entry) << ": " << message << std::endl;
}

} // namespace larkspan::cli
