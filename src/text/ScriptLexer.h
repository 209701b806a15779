#pragma once

// The game's scripts (.con, .rs, .ssc) read line by line, for colouring.
// Every line is a command and its arguments: `rem` lines and `beginRem` …
// `endRem` blocks are comments; a first word may be a keyword of the script
// language (if, while, include, var…) or an object's method
// (ObjectTemplate.create); arguments hold strings, numbers and variables
// (v_arg1, c_name). Words are compared without regard to case, as the game
// does.

#include <cstddef>
#include <string_view>
#include <vector>

namespace larkspan {

enum class ScriptTokenKind { Comment, Keyword, Method, String, Number, Variable };

struct ScriptToken {
    std::size_t start = 0;
    std::size_t length = 0;
    ScriptTokenKind kind = ScriptTokenKind::Comment;
};

struct LexedScriptLine {
    std::vector<ScriptToken> tokens; // in order, never overlapping; the rest is plain
    bool insideRemBlock = false;     // whether the next line begins inside a beginRem block
};

// One line without its ending, one character per byte (the entry's Latin-1).
// `insideRemBlock` is what the line before left behind; false for the first.
LexedScriptLine lexScriptLine(std::string_view line, bool insideRemBlock);

} // namespace larkspan
