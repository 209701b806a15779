#include "app/ConHighlighter.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtTest>

#include <optional>

using larkspan::ConHighlighter;
using Kind = ConHighlighter::Kind;
Q_DECLARE_METATYPE(std::optional<Kind>)

namespace {

const QString kScript = QStringLiteral(
    "rem a comment with \"quotes\" and 12\n"          // 0
    "beginRem\n"                                      // 1
    "if v_arg1 == 1\n"                                // 2
    "endRem\n"                                        // 3
    "If v_arg1 == 2\n"                                // 4
    "ObjectTemplate.create PlayerControlObject \"tank\"\n" // 5
    "\tobjectTemplate.setPosition 1.5/-2/30\n"        // 6
    "include \"objects.con\" c_max\n"                 // 7
    "remark v_x run\n"                                // 8
    "  REM indented, any case\n"                      // 9
    "BEGINREM\n"                                      // 10
    "\n"                                              // 11
    "rem still in the block\n"                        // 12
    "ENDREM\n"                                        // 13
    "endWhile\n"                                      // 14
    "game.setName \"unclosed\n"                       // 15
    "echo v_arg10 x1 1x 007");                             // 16

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
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

class TextEditorHighlightingTest : public QObject {
    Q_OBJECT

private slots:
    void marksScriptSyntax_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::addColumn<std::optional<Kind>>("kind");
        const std::optional<Kind> plain;
        QTest::newRow("rem line") << 0 << 0 << std::optional(Kind::Comment);
        QTest::newRow("number in a rem line") << 0 << 33 << std::optional(Kind::Comment);
        QTest::newRow("beginRem") << 1 << 0 << std::optional(Kind::Comment);
        QTest::newRow("keyword inside the block") << 2 << 0 << std::optional(Kind::Comment);
        QTest::newRow("endRem") << 3 << 3 << std::optional(Kind::Comment);
        QTest::newRow("keyword after the block, any case") << 4 << 1 << std::optional(Kind::Keyword);
        QTest::newRow("variable") << 4 << 3 << std::optional(Kind::Variable);
        QTest::newRow("number") << 4 << 13 << std::optional(Kind::Number);
        QTest::newRow("method head") << 5 << 0 << std::optional(Kind::Method);
        QTest::newRow("plain argument") << 5 << 22 << plain;
        QTest::newRow("string quote") << 5 << 42 << std::optional(Kind::String);
        QTest::newRow("indented method head") << 6 << 1 << std::optional(Kind::Method);
        QTest::newRow("decimal of a vector") << 6 << 30 << std::optional(Kind::Number);
        QTest::newRow("negative of a vector") << 6 << 32 << std::optional(Kind::Number);
        QTest::newRow("vector slash") << 6 << 34 << plain;
        QTest::newRow("include") << 7 << 0 << std::optional(Kind::Keyword);
        QTest::newRow("string of include") << 7 << 10 << std::optional(Kind::String);
        QTest::newRow("constant") << 7 << 23 << std::optional(Kind::Variable);
        QTest::newRow("remark is no rem") << 8 << 0 << plain;
        QTest::newRow("variable after remark") << 8 << 7 << std::optional(Kind::Variable);
        QTest::newRow("keyword as an argument") << 8 << 11 << plain;
        QTest::newRow("indented REM") << 9 << 4 << std::optional(Kind::Comment);
        QTest::newRow("rem inside a block") << 12 << 0 << std::optional(Kind::Comment);
        QTest::newRow("endWhile") << 14 << 0 << std::optional(Kind::Keyword);
        QTest::newRow("unclosed string runs to the end") << 15 << 21 << std::optional(Kind::String);
        QTest::newRow("unknown command") << 16 << 0 << plain;
        QTest::newRow("variable with digits") << 16 << 11 << std::optional(Kind::Variable);
        QTest::newRow("digit before a letter") << 16 << 16 << plain;
        QTest::newRow("leading zeros") << 16 << 21 << std::optional(Kind::Number);
    }

    void marksScriptSyntax()
    {
        QFETCH(int, line);
        QFETCH(int, column);
        QFETCH(std::optional<Kind>, kind);
        QPlainTextEdit editor; // a document with the editor's layout, which announces its changes
        QTextDocument& document = *editor.document();
        ConHighlighter highlighter(&document, false);
        document.setPlainText(kScript);
        QCOMPARE(kindAt(document, highlighter, line, column), kind);
    }

    void blockCommentFollowsEdits()
    {
        QPlainTextEdit editor; // a document with the editor's layout, which announces its changes
        QTextDocument& document = *editor.document();
        ConHighlighter highlighter(&document, false);
        document.setPlainText(QStringLiteral("beginRem\nendRem\nif v_x\nwhile 1"));
        QCOMPARE(kindAt(document, highlighter, 2, 0), std::optional(Kind::Keyword));

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
        QPlainTextEdit editor; // a document with the editor's layout, which announces its changes
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

    void scriptExtensions()
    {
        for (const char* extension : {"con", "inc", "rs", "ssc", "CON"})
            QVERIFY2(ConHighlighter::handlesExtension(QString::fromLatin1(extension)), extension);
        for (const char* extension : {"txt", "", "cons", "dds"})
            QVERIFY2(!ConHighlighter::handlesExtension(QString::fromLatin1(extension)), extension);
    }
};

QTEST_MAIN(TextEditorHighlightingTest)
#include "TextEditorHighlightingTest.moc"
