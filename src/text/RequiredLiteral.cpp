#include "text/RequiredLiteral.h"

#include <cstddef>
#include <utility>

namespace larkspan {

namespace {

constexpr std::size_t kUnsure = std::string_view::npos;

bool isAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isAsciiAlphanumeric(char c)
{
    return isAsciiDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// An escaped printable ASCII character that is neither letter nor digit
// stands for itself (\. \\ \( \/ ...); every other escape means something
// else: a class, a boundary, a back-reference, a control character.
bool escapesItself(char c)
{
    return c > ' ' && c < 0x7F && !isAsciiAlphanumeric(c);
}

// How many characters the escape starting at `at` (its backslash) takes;
// kUnsure when the pattern ends inside it.
std::size_t escapeLength(std::string_view pattern, std::size_t at)
{
    if (at + 1 >= pattern.size())
        return kUnsure;
    std::size_t length = 2;
    switch (pattern[at + 1]) {
    case 'x': length += 2; break;
    case 'u': length += 4; break;
    case 'c': length += 1; break;
    default:
        // A back-reference takes every digit that follows.
        if (isAsciiDigit(pattern[at + 1]))
            while (at + length < pattern.size() && isAsciiDigit(pattern[at + length]))
                ++length;
    }
    return at + length <= pattern.size() ? length : kUnsure;
}

// Past the ']' of the character class opened at `at`. A class that opens
// with ']' or holds '[' ([:alpha:] and kin) is read differently by other
// dialects: kUnsure rather than a guess.
std::size_t pastClass(std::string_view pattern, std::size_t at)
{
    std::size_t i = at + 1;
    if (i < pattern.size() && pattern[i] == '^')
        ++i;
    if (i < pattern.size() && pattern[i] == ']')
        return kUnsure;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == ']')
            return i + 1;
        if (c == '[')
            return kUnsure;
        const std::size_t length = c == '\\' ? escapeLength(pattern, i) : 1;
        if (length == kUnsure)
            return kUnsure;
        i += length;
    }
    return kUnsure;
}

// Past the ')' that closes the group opened at `at`.
std::size_t pastGroup(std::string_view pattern, std::size_t at)
{
    std::size_t depth = 0;
    for (std::size_t i = at; i < pattern.size();) {
        const char c = pattern[i];
        std::size_t next = i + 1;
        if (c == '\\') {
            const std::size_t length = escapeLength(pattern, i);
            next = length == kUnsure ? kUnsure : i + length;
        } else if (c == '[') {
            next = pastClass(pattern, i);
        } else if (c == '(') {
            ++depth;
        } else if (c == ')' && --depth == 0) {
            return next;
        }
        if (next == kUnsure)
            return kUnsure;
        i = next;
    }
    return kUnsure;
}

// Past the '}' of the repetition count opened at `at`.
std::size_t pastCount(std::string_view pattern, std::size_t at)
{
    const std::size_t close = pattern.find('}', at);
    return close == std::string_view::npos ? kUnsure : close + 1;
}

} // namespace

std::vector<std::string> requiredLiterals(std::string_view pattern)
{
    std::vector<std::string> runs;
    std::string run;
    const auto endRun = [&] {
        if (!run.empty())
            runs.push_back(std::move(run));
        run.clear();
    };
    for (std::size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        std::size_t next = i + 1;
        bool plain = false;
        char character = c;
        switch (c) {
        case '|':
            return {}; // either side may match alone
        case '\\':
            next = escapeLength(pattern, i);
            if (next == kUnsure)
                return {};
            next += i;
            plain = next == i + 2 && escapesItself(pattern[i + 1]);
            character = pattern[i + 1];
            break;
        case '[':
            next = pastClass(pattern, i);
            break;
        case '(':
            next = pastGroup(pattern, i);
            break;
        case '{':
            next = pastCount(pattern, i);
            break;
        case '^': case '$': case '.': case '*': case '+': case '?': case ')': case ']': case '}':
        case '\n': case '\r': // never inside a line
            break;
        default:
            plain = true;
        }
        if (next == kUnsure)
            return {};
        if (!plain) {
            endRun();
        } else if (next < pattern.size() && (pattern[next] == '*' || pattern[next] == '?' || pattern[next] == '{')) {
            endRun(); // the character may be absent (a count of at least one is not worth telling apart)
        } else {
            run.push_back(character);
            // Repeated, it is followed by itself: what comes next starts a run of its own.
            if (next < pattern.size() && pattern[next] == '+')
                endRun();
        }
        i = next;
    }
    endRun();
    return runs;
}

} // namespace larkspan
