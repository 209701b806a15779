#include "text/ScriptLexer.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

// The line's tokens drawn under it, one letter per character: Comment,
// Keyword, Method, String, Number, Variable; a blank for plain text and
// "!" where two tokens overlap.
std::string drawn(const LexedScriptLine& lexed, std::size_t length)
{
    std::string marks(length, ' ');
    for (const ScriptToken& token : lexed.tokens)
        for (std::size_t i = token.start; i < token.start + token.length && i < length; ++i)
            marks[i] = marks[i] == ' ' ? "CKMSNV"[static_cast<int>(token.kind)] : '!';
    return marks;
}

TEST(ScriptLexer, MarksEachKindWhereItStandsAloneAndRemBlocksAcrossLines)
{
    struct Case {
        bool insideBefore;
        const char* line;
        const char* marks;
        bool insideAfter = false;
    };
    for (const Case& c : {
             Case{false, "rem a \"q\" 12", "CCCCCCCCCCCC"},
             Case{false, "  REM x", "CCCCCCC"},
             Case{false, "remark v_x run", "       VVV    "},
             Case{false, "If v_arg1 == 2", "KK VVVVVV    N"},
             Case{false, "endWhile", "KKKKKKKK"},
             Case{false, "ObjectTemplate.create X \"tank\"", "MMMMMMMMMMMMMMMMMMMMM   SSSSSS"},
             Case{false, "\tobj.setPosition 1.5/-2/+30", " MMMMMMMMMMMMMMM NNN NN NNN"},
             Case{false, "a.b.c_1 x", "MMMMMMM  "},
             Case{false, "a..b 1", "     N"},
             Case{false, "2a.b Object", "           "},
             Case{false, "include \"objects.con\" c_max", "KKKKKKK SSSSSSSSSSSSS VVVVV"},
             Case{false, "game.setName \"unclosed", "MMMMMMMMMMMM SSSSSSSSS"},
             Case{false, "echo v_arg10 x1 1x 007 1.5.3 9. x-2", "     VVVVVVV       NNN            N"},
             Case{false, "echo V_a xv_a 1v_a .C_b v_ v__", "     VVV            VVV    VVV"},
             Case{false, "echo v_\xe9 \xe9v_a \"a\"b\"", "          VVV SSS S"},
             Case{false, "v_x 1", "    N"},
             Case{false, "beginRemark", "           "},
             Case{false, "BEGINREM x", "CCCCCCCCCC", true},
             Case{true, "if v_arg1", "CCCCCCCCC", true},
             Case{true, "", "", true},
             Case{true, "beginRem", "CCCCCCCC", true},
             Case{true, "rem", "CCC", true},
             Case{true, "  endrem", "CCCCCCCC"},
             Case{false, "endRem", "CCCCCC"},
         }) {
        const std::string_view line(c.line);
        const LexedScriptLine lexed = lexScriptLine(line, c.insideBefore);
        EXPECT_EQ(drawn(lexed, line.size()), c.marks) << c.line;
        EXPECT_EQ(lexed.insideRemBlock, c.insideAfter) << c.line;
    }
}

} // namespace
} // namespace larkspan
