#include "app/viewers/ConHighlighter.h"

namespace larkspan {

namespace {

// previousBlockState() is -1 before the first line, like Code.
enum BlockState { Code = 0, InsideRemBlock = 1 };

// Colours by kind, in the order of ScriptTokenKind.
struct Colours {
    std::array<const char*, 6> names;
};
constexpr Colours kOnLight{{"#6a737d", "#0033b3", "#7a3e9d", "#067d17", "#1750eb", "#8c6c00"}};
constexpr Colours kOnDark{{"#8b949e", "#cc7832", "#c77dbb", "#6aab73", "#2aacb8", "#d5b778"}};

} // namespace

ConHighlighter::ConHighlighter(QTextDocument* document, bool darkBackground) : QSyntaxHighlighter(document)
{
    setDarkBackground(darkBackground);
}

void ConHighlighter::setDarkBackground(bool dark)
{
    const Colours& colours = dark ? kOnDark : kOnLight;
    for (std::size_t i = 0; i < formats_.size(); ++i) {
        formats_[i] = QTextCharFormat();
        formats_[i].setForeground(QColor(QLatin1StringView(colours.names[i])));
    }
    formats_[static_cast<std::size_t>(ScriptTokenKind::Comment)].setFontItalic(true);
    formats_[static_cast<std::size_t>(ScriptTokenKind::Keyword)].setFontWeight(QFont::Bold);
    rehighlight();
}

void ConHighlighter::highlightBlock(const QString& text)
{
    // One byte per character, as the entry holds it: positions stay the same.
    const QByteArray line = text.toLatin1();
    const LexedScriptLine lexed =
        lexScriptLine(std::string_view(line.constData(), static_cast<std::size_t>(line.size())),
                      previousBlockState() == InsideRemBlock);
    for (const ScriptToken& token : lexed.tokens)
        setFormat(static_cast<int>(token.start), static_cast<int>(token.length), formatOf(token.kind));
    setCurrentBlockState(lexed.insideRemBlock ? InsideRemBlock : Code);
}

} // namespace larkspan
