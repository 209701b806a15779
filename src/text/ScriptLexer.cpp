#include "text/ScriptLexer.h"

#include <algorithm>
#include <array>

namespace larkspan {

namespace {

constexpr std::array<std::string_view, 11> kKeywords = {
    "if", "elseIf", "else", "endIf", "while", "endWhile", "include", "run", "var", "const", "return",
};

// Character classes are ASCII only: a Latin-1 letter such as é ends a word.
bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

char lowered(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isLetter(char c)
{
    return lowered(c) >= 'a' && lowered(c) <= 'z';
}

bool isWordCharacter(char c)
{
    return isLetter(c) || isDigit(c) || c == '_';
}

bool isWord(std::string_view word, std::string_view expected)
{
    return std::equal(word.begin(), word.end(), expected.begin(), expected.end(),
                      [](char a, char b) { return lowered(a) == lowered(b); });
}

bool isKeyword(std::string_view word)
{
    return std::any_of(kKeywords.begin(), kKeywords.end(), [&](std::string_view k) { return isWord(word, k); });
}

// Identifiers joined by dots, at least two: ObjectTemplate.create.
bool isMethod(std::string_view word)
{
    std::size_t parts = 0;
    for (std::size_t from = 0; from <= word.size(); ++parts) {
        const std::size_t dot = std::min(word.find('.', from), word.size());
        const std::string_view part = word.substr(from, dot - from);
        if (part.empty() || isDigit(part.front()) || !std::all_of(part.begin(), part.end(), isWordCharacter))
            return false;
        from = dot + 1;
    }
    return parts >= 2;
}

// Each returns the token's end at `at`, or `at` when none begins there.

std::size_t stringEnd(std::string_view line, std::size_t at)
{
    if (line[at] != '"')
        return at;
    const std::size_t close = line.find('"', at + 1);
    return close == std::string_view::npos ? line.size() : close + 1;
}

// v_ or c_ and a word, not inside a longer word.
std::size_t variableEnd(std::string_view line, std::size_t at)
{
    const bool wordStart = at == 0 || !isWordCharacter(line[at - 1]);
    if (!wordStart || (lowered(line[at]) != 'v' && lowered(line[at]) != 'c') || at + 2 >= line.size() ||
        line[at + 1] != '_' || !isWordCharacter(line[at + 2]))
        return at;
    std::size_t end = at + 2;
    while (end < line.size() && isWordCharacter(line[end]))
        ++end;
    return end;
}

// An optionally signed integer or decimal that stands alone: not a piece of
// a word (x1, 1x) nor of a dotted run (1.5.3).
std::size_t numberEnd(std::string_view line, std::size_t at)
{
    const auto touches = [&](std::size_t i) { return isWordCharacter(line[i]) || line[i] == '.'; };
    if (at > 0 && touches(at - 1))
        return at;
    const auto digitsFrom = [&](std::size_t i) {
        while (i < line.size() && isDigit(line[i]))
            ++i;
        return i;
    };
    const std::size_t first = at + (line[at] == '-' || line[at] == '+' ? 1 : 0);
    std::size_t end = digitsFrom(first);
    if (end == first)
        return at;
    if (end + 1 < line.size() && line[end] == '.' && isDigit(line[end + 1]))
        end = digitsFrom(end + 1);
    return end < line.size() && touches(end) ? at : end;
}

void lexArguments(std::string_view line, std::size_t from, std::vector<ScriptToken>& tokens)
{
    constexpr std::array<std::pair<std::size_t (*)(std::string_view, std::size_t), ScriptTokenKind>, 3> kinds = {{
        {stringEnd, ScriptTokenKind::String},
        {variableEnd, ScriptTokenKind::Variable},
        {numberEnd, ScriptTokenKind::Number},
    }};
    for (std::size_t at = from; at < line.size();) {
        std::size_t end = at;
        for (const auto& [endOf, kind] : kinds) {
            end = endOf(line, at);
            if (end != at) {
                tokens.push_back({at, end - at, kind});
                break;
            }
        }
        at = end == at ? at + 1 : end;
    }
}

} // namespace

LexedScriptLine lexScriptLine(std::string_view line, bool insideRemBlock)
{
    std::size_t start = 0;
    while (start < line.size() && isBlank(line[start]))
        ++start;
    std::size_t end = start;
    while (end < line.size() && !isBlank(line[end]))
        ++end;
    const std::string_view command = line.substr(start, end - start);

    LexedScriptLine lexed;
    const bool endsRemBlock = isWord(command, "endRem");
    const bool beginsRemBlock = isWord(command, "beginRem");
    if (insideRemBlock || beginsRemBlock || endsRemBlock || isWord(command, "rem")) {
        if (!line.empty())
            lexed.tokens.push_back({0, line.size(), ScriptTokenKind::Comment});
        lexed.insideRemBlock = (insideRemBlock || beginsRemBlock) && !endsRemBlock;
        return lexed;
    }
    if (isKeyword(command))
        lexed.tokens.push_back({start, end - start, ScriptTokenKind::Keyword});
    else if (isMethod(command))
        lexed.tokens.push_back({start, end - start, ScriptTokenKind::Method});
    lexArguments(line, end, lexed.tokens);
    return lexed;
}

} // namespace larkspan
