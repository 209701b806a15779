#include "app/viewers/ConHighlighter.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

#include <optional>

using larkspan::ConHighlighter;
using Kind = larkspan::ScriptTokenKind;

namespace {

// The highlighter's kind at a character, by its foreground colour; nothing
// for plain text.
std::optional<Kind> kindAt(const QTextDocument& document, const ConHighlighter& highlighter, int line, int column)
{
    const QTextBlock block = document.findBlockByNumber(line);
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        if (column < range.start || column >= range.start + range.length)
            continue;
        for (Kind kind : {Kind::Comment, Kind::Keyword, Kind::Method, Kind::String, Kind::Number, Kind::Variable}) {
            if (range.format.foreground() == highlighter.formatOf(kind).foreground())
                return kind;
        }
    }
    return std::nullopt;
}

} // namespace

// The lexing itself is the core's; here, that its kinds reach the text as
// formats and its block state follows edits.
class TextEditorHighlightingTest : public QObject {
    Q_OBJECT

private slots:
    void formatsFollowTheLexerAcrossEdits()
    {
        QPlainTextEdit editor; // a document with the editor's layout, which announces its changes
        QTextDocument& document = *editor.document();
        ConHighlighter highlighter(&document, false);
        document.setPlainText(QStringLiteral("beginRem\nendRem\nif v_x\nwhile \"\xe9\" 1"));
        QCOMPARE(kindAt(document, highlighter, 0, 0), std::optional(Kind::Comment));
        QCOMPARE(kindAt(document, highlighter, 2, 0), std::optional(Kind::Keyword));
        QCOMPARE(kindAt(document, highlighter, 2, 4), std::optional(Kind::Variable));
        QCOMPARE(kindAt(document, highlighter, 2, 2), std::nullopt);
        QCOMPARE(kindAt(document, highlighter, 3, 10), std::optional(Kind::Number)); // positions count é once

        QTextCursor cursor(document.findBlockByNumber(1));
        cursor.select(QTextCursor::LineUnderCursor);
        cursor.insertText(QStringLiteral("x"));
        QCOMPARE(kindAt(document, highlighter, 2, 0), std::optional(Kind::Comment));
        QCOMPARE(kindAt(document, highlighter, 3, 0), std::optional(Kind::Comment));

        cursor.insertText(QStringLiteral("\nendrem"));
        QCOMPARE(kindAt(document, highlighter, 3, 0), std::optional(Kind::Keyword));
        QCOMPARE(kindAt(document, highlighter, 4, 0), std::optional(Kind::Keyword));
    }

    void coloursForDarkBackgrounds()
    {
        QPlainTextEdit editor;
        QTextDocument& document = *editor.document();
        ConHighlighter highlighter(&document, false);
        document.setPlainText(QStringLiteral("rem x\nvar v_y"));
        const QBrush lightComment = highlighter.formatOf(Kind::Comment).foreground();
        const QBrush lightKeyword = highlighter.formatOf(Kind::Keyword).foreground();
        highlighter.setDarkBackground(true);
        QVERIFY(highlighter.formatOf(Kind::Comment).foreground() != lightComment);
        QVERIFY(highlighter.formatOf(Kind::Keyword).foreground() != lightKeyword);
        QCOMPARE(kindAt(document, highlighter, 0, 0), std::optional(Kind::Comment));
        QCOMPARE(kindAt(document, highlighter, 1, 0), std::optional(Kind::Keyword));
        QVERIFY(highlighter.formatOf(Kind::Comment).fontItalic());
    }
};

QTEST_MAIN(TextEditorHighlightingTest)
#include "TextEditorHighlightingTest.moc"
