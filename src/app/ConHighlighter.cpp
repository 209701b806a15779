#include "app/ConHighlighter.h"

#include <QRegularExpression>

#include <algorithm>

namespace larkspan {

namespace {

// previousBlockState() is -1 before the first line, like Code.
enum BlockState { Code = 0, InsideRemBlock = 1 };

constexpr std::array<QLatin1StringView, 11> kKeywords = {
    QLatin1StringView("if"),      QLatin1StringView("elseIf"),   QLatin1StringView("else"),
    QLatin1StringView("endIf"),   QLatin1StringView("while"),    QLatin1StringView("endWhile"),
    QLatin1StringView("include"), QLatin1StringView("run"),      QLatin1StringView("var"),
    QLatin1StringView("const"),   QLatin1StringView("return"),
};

bool isWord(QStringView word, QLatin1StringView expected)
{
    return word.compare(expected, Qt::CaseInsensitive) == 0;
}

bool isKeyword(QStringView word)
{
    return std::any_of(kKeywords.begin(), kKeywords.end(), [&](QLatin1StringView k) { return isWord(word, k); });
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// Colours by kind, in the order of ConHighlighter::Kind.
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

bool ConHighlighter::handlesExtension(const QString& extension)
{
    static const QStringList scripts{QStringLiteral("con"), QStringLiteral("inc"), QStringLiteral("rs"),
                                     QStringLiteral("ssc")};
    return scripts.contains(extension, Qt::CaseInsensitive);
}

void ConHighlighter::setDarkBackground(bool dark)
{
    const Colours& colours = dark ? kOnDark : kOnLight;
    for (std::size_t i = 0; i < formats_.size(); ++i) {
        formats_[i] = QTextCharFormat();
        formats_[i].setForeground(QColor(QLatin1StringView(colours.names[i])));
    }
    formats_[static_cast<std::size_t>(Kind::Comment)].setFontItalic(true);
    formats_[static_cast<std::size_t>(Kind::Keyword)].setFontWeight(QFont::Bold);
    rehighlight();
}

void ConHighlighter::highlightBlock(const QString& text)
{
    int start = 0;
    while (start < text.size() && isBlank(text[start]))
        ++start;
    int end = start;
    while (end < text.size() && !isBlank(text[end]))
        ++end;
    const QStringView command = QStringView(text).mid(start, end - start);

    const bool insideRemBlock = previousBlockState() == InsideRemBlock;
    const bool endsRemBlock = isWord(command, QLatin1StringView("endRem"));
    const bool beginsRemBlock = isWord(command, QLatin1StringView("beginRem"));
    if (insideRemBlock || beginsRemBlock || endsRemBlock || isWord(command, QLatin1StringView("rem"))) {
        mark(0, static_cast<int>(text.size()), Kind::Comment);
        setCurrentBlockState((insideRemBlock || beginsRemBlock) && !endsRemBlock ? InsideRemBlock : Code);
        return;
    }
    setCurrentBlockState(Code);

    static const QRegularExpression method(QStringLiteral(R"(^[A-Za-z_]\w*(\.[A-Za-z_]\w*)+$)"));
    if (isKeyword(command))
        mark(start, end - start, Kind::Keyword);
    else if (method.match(command).hasMatch())
        mark(start, end - start, Kind::Method);
    highlightArguments(text, end);
}

void ConHighlighter::highlightArguments(const QString& text, int from)
{
    static const QRegularExpression token(
        QStringLiteral(R"("[^"]*"?|\b[vc]_\w+|(?<![\w.])[-+]?\d+(\.\d+)?(?![\w.]))"),
        QRegularExpression::CaseInsensitiveOption);
    for (QRegularExpressionMatchIterator it = token.globalMatch(text, from); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QChar first = match.captured().front();
        const Kind kind = first == u'"' ? Kind::String : first.isLetter() ? Kind::Variable : Kind::Number;
        mark(static_cast<int>(match.capturedStart()), static_cast<int>(match.capturedLength()), kind);
    }
}

} // namespace larkspan
