// The text editor edits an entry's bytes: untouched bytes stay exact, typed
// and pasted text takes the file's line breaks, each run of typing is one
// undo step of the document's history.

#include "app/viewers/TextEditor.h"
#include "app/viewers/TextEditorWindow.h"
#include "model/ChangeHub.h"
#include "model/RFATreeNode.h"
#include "model/UndoHistory.h"

#include <QClipboard>
#include <QPointer>
#include <QtTest>

using namespace larkspan;

namespace {

// One entry in a document's tree, with the document's history and hub.
struct Document {
    explicit Document(const QByteArray& bytes)
        : entry(RFATreeNode::initWithData(makeSharedBytes(Bytes(bytes.begin(), bytes.end())), "init.con"))
    {
        root->appendChild(entry);
        root->setChangeHub(hub);
        root->setUndoManager(history);
    }
    QByteArray bytes() const
    {
        return QByteArray(reinterpret_cast<const char*>(entry->data()->data()), qsizetype(entry->data()->size()));
    }

    std::shared_ptr<UndoHistory> history = std::make_shared<UndoHistory>();
    std::shared_ptr<ChangeHub> hub = std::make_shared<ChangeHub>();
    RFATreeNode::Ptr root = RFATreeNode::init();
    RFATreeNode::Ptr entry;
};

QString shown(const QPlainTextEdit& editor)
{
    return editor.document()->toRawText().replace(QChar::ParagraphSeparator, u'\n');
}

// What an editor opened on these bytes shows.
QString shownFor(const QByteArray& bytes)
{
    const Document document(bytes);
    return shown(TextEditor(document.entry));
}

// '\n' Return, U+2028 Shift+Return, '\b' Backspace, U+007F Delete, '\t' Tab;
// any other character is typed as itself. Each key its own user event
// when `slowly`, as when a person types.
void type(QWidget& editor, const QString& keys, bool slowly = false)
{
    for (QChar c : keys) {
        const std::map<char16_t, std::pair<int, Qt::KeyboardModifiers>> special{
            {u'\n', {Qt::Key_Return, {}}}, {u'\u2028', {Qt::Key_Return, Qt::ShiftModifier}},
            {u'\b', {Qt::Key_Backspace, {}}}, {u'\x7f', {Qt::Key_Delete, {}}}, {u'\t', {Qt::Key_Tab, {}}}};
        if (const auto key = special.find(c.unicode()); key != special.end()) {
            QTest::keyClick(&editor, Qt::Key(key->second.first), key->second.second);
        } else {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(&editor, &press);
        }
        if (slowly)
            QCoreApplication::processEvents();
    }
}

QByteArray allBytes()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(char(b));
    return bytes;
}

} // namespace

class TextEditorTest : public QObject {
    Q_OBJECT

private slots:
    void untouchedBytesRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expectedShown"); // null: not compared
        QTest::newRow("empty") << QByteArray() << QString("");
        QTest::newRow("CR, LF, CRLF mixed") << QByteArray("a\r\nb\nc\rd\r\n") << QStringLiteral("a\nb\nc\nd\n");
        QTest::newRow("NUL and controls") << QByteArray("\0a\x01\x7f\x1b", 5)
                                          << QStringLiteral("\u2400a\u2401\u2421\u241b");
        QTest::newRow("every byte") << allBytes() << QString();
    }
    void untouchedBytesRoundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expectedShown);
        const Document document(bytes);
        const SharedBytes loaded = document.entry->data();
        TextEditor editor(document.entry);
        if (!expectedShown.isNull())
            QCOMPARE(shown(editor), expectedShown);
        QCOMPARE(document.entry->data(), loaded); // opening writes nothing

        editor.selectAll();
        editor.copy(); // every character as shown, control pictures included
        QCOMPARE(QGuiApplication::clipboard()->text(), shown(editor));
        editor.moveCursor(QTextCursor::End);
        type(editor, QStringLiteral("x\b"));
        QCOMPARE(document.bytes(), bytes);
        editor.moveCursor(QTextCursor::Start);
        type(editor, QStringLiteral("\n\b"));
        QCOMPARE(document.bytes(), bytes);
    }

    void typingAndPastingGiveExactBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QByteArray>("expected");
        const auto typing = [](const char* name, const QByteArray& bytes, int at, const QString& keys, const QByteArray& expected) {
            QTest::newRow(name) << bytes << at << keys << QString() << expected;
        };
        const auto pasting = [](const char* name, const QByteArray& bytes, int at, const QString& text, const QByteArray& expected) {
            QTest::newRow(name) << bytes << at << QString() << text << expected;
        };
        typing("middle of a CRLF file", "ab\r\ncd\r\n", 4, "Z", "ab\r\ncZd\r\n");
        typing("Return in a CRLF file", "ab\r\ncd", 1, "\n", "a\r\nb\r\ncd");
        typing("Return in a LF file", "ab\ncd\n", 1, "\n", "a\nb\ncd\n");
        typing("Shift+Return is a break", "ab\r\ncd", 2, QStringLiteral("\u2028"), "ab\r\n\r\ncd");
        typing("Backspace over a CRLF", "ab\r\ncd", 3, "\b", "abcd");
        typing("Delete at a CRLF", "ab\r\ncd", 2, "\x7f", "abcd");
        typing("tab and upper half", "x", 1, QStringLiteral("\t\u00e9\u00ff"), "x\t\xe9\xff");
        pasting("paste into a CRLF file", "a\r\nb", 3, "x\ny\rz\r\nw", "a\r\nbx\r\ny\r\nz\r\nw");
        pasting("paste into a LF file", "a\nb", 1, "x\r\ny", "ax\ny\nb");
        pasting("paste NUL and no-break space", "x", 1, QString::fromLatin1("\0\xa0", 2), QByteArray("x\0\xa0", 3));
        pasting("paste control pictures", "x", 0, QStringLiteral("\u2400\u2421"), QByteArray("\0\x7fx", 3));
    }
    void typingAndPastingGiveExactBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, position);
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(QByteArray, expected);
        const Document document(bytes);
        TextEditor editor(document.entry);
        QTextCursor cursor = editor.textCursor();
        cursor.setPosition(position);
        editor.setTextCursor(cursor);
        if (pasted.isNull()) {
            type(editor, typed);
        } else {
            QGuiApplication::clipboard()->setText(pasted);
            editor.paste();
        }
        QCOMPARE(document.bytes(), expected);
        QCOMPARE(shown(editor), shownFor(expected));
    }

    void typingRunUndoesAsOneStep()
    {
        const Document document("ab\r\ncd");
        TextEditor editor(document.entry);
        editor.moveCursor(QTextCursor::End);
        type(editor, QStringLiteral("x\ny"), true);
        QCOMPARE(document.bytes(), QByteArray("ab\r\ncdx\r\ny"));
        QCOMPARE(document.history->undoActionName(), "Typing");

        // The editor's own keys run the document's history, not the widget's.
        QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(document.bytes(), QByteArray("ab\r\ncd"));
        QCoreApplication::processEvents(); // the widget follows once the step is undone
        QCOMPARE(shown(editor), QStringLiteral("ab\ncd"));
        QVERIFY(!document.history->canUndo());
        QCOMPARE(editor.textCursor().position(), 5);

        QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(document.bytes(), QByteArray("ab\r\ncdx\r\ny"));
        QCoreApplication::processEvents();
        QCOMPARE(shown(editor), QStringLiteral("ab\ncdx\ny"));
    }

    void aMovedCursorOrAPasteEndsTheRun()
    {
        const Document document("");
        TextEditor editor(document.entry);
        type(editor, QStringLiteral("ab"), true);
        QTest::keyClick(&editor, Qt::Key_Left);
        type(editor, QStringLiteral("c"), true);
        QGuiApplication::clipboard()->setText(QStringLiteral("r"));
        editor.paste();
        QCoreApplication::processEvents();
        type(editor, QStringLiteral("s"), true);
        QCOMPARE(document.bytes(), QByteArray("acrsb"));
        for (const char* expected : {"acrb", "acb", "ab", ""}) {
            document.history->undo();
            QCOMPARE(document.bytes(), QByteArray(expected));
        }
    }

    void followsChangesMadeElsewhere()
    {
        const Document document("old\r\n");
        TextEditor editor(document.entry);
        document.entry->setData(makeSharedBytes(Bytes{'n', 'e', 'w', '\n', 0xE9}));
        QCoreApplication::processEvents();
        QCOMPARE(shown(editor), QStringLiteral("new\n\u00e9"));
        QVERIFY(!document.history->canUndo());
        editor.moveCursor(QTextCursor::End);
        type(editor, QStringLiteral("!\n"));
        QCOMPARE(document.bytes(), QByteArray("new\n\xe9!\n"));
    }

    void replacingTheWholeTextKeepsBytesInStep()
    {
        const Document document("one\r\ntwo\nthree\r\n");
        TextEditor editor(document.entry);
        // Reported as a removal and an insertion that do not add up; the text
        // comes back into an empty file, so in the game's line breaks.
        editor.setPlainText(QStringLiteral("one\ntwo\n\u00e9"));
        QCOMPARE(document.bytes(), QByteArray("one\r\ntwo\r\n\xe9"));
        QCoreApplication::processEvents();
        QCOMPARE(shown(editor), QStringLiteral("one\ntwo\n\u00e9"));
        document.history->undo();
        QCOMPARE(document.bytes(), QByteArray("one\r\ntwo\nthree\r\n"));
    }

    void refusesCharactersBeyondLatin1_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("typed") << 0;
        QTest::newRow("pasted") << 1;
        QTest::newRow("input method") << 2;
    }
    void refusesCharactersBeyondLatin1()
    {
        QFETCH(int, way);
        const Document document("a\r\nb");
        const SharedBytes before = document.entry->data();
        TextEditor editor(document.entry);
        editor.moveCursor(QTextCursor::End);
        const QString euro = QStringLiteral("x\u20ac");
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, euro);
        QInputMethodEvent commit;
        commit.setCommitString(euro);
        QGuiApplication::clipboard()->setText(euro);
        QSignalSpy refused(&editor, &TextEditor::refused);
        if (way == 1)
            editor.paste();
        else
            QApplication::sendEvent(&editor, way == 0 ? static_cast<QEvent*>(&press) : &commit);
        QCoreApplication::processEvents();
        QCOMPARE(document.entry->data(), before);
        QCOMPARE(shown(editor), QStringLiteral("a\nb"));
        QVERIFY(!document.history->canUndo());
        QCOMPARE(refused.count(), 1); // which character, said
        QCOMPARE(refused.first().first().toString(), QStringLiteral("\u20ac"));
    }

    // The editor goes before the queued end of its typing group could run:
    // what comes next after closing it is a step of its own, and undoing the
    // typing needs no editor.
    void theTypingStepEndsWithTheEditor_data()
    {
        QTest::addColumn<bool>("closed");
        QTest::newRow("editor closed") << true;
        QTest::newRow("entry no longer text") << false;
    }
    void theTypingStepEndsWithTheEditor()
    {
        QFETCH(bool, closed);
        const Document document("a");
        QPointer<TextEditorWindow> window = new TextEditorWindow(document.entry, QStringLiteral("mymod"));
        window->show();
        type(*window->editor(), QStringLiteral("x"));
        if (closed)
            delete window.data();
        document.entry->setName(closed ? "main.con" : "init.con.bak");
        QTRY_VERIFY(window.isNull());
        QCOMPARE(document.bytes(), QByteArray("xa"));
        document.history->undo();
        QCOMPARE(document.entry->name(), "init.con");
        if (closed)
            QVERIFY2(document.bytes() == "xa", "the rename is a step of its own");
        document.history->undo(); // the typing, with the editor gone
        QCOMPARE(document.bytes(), QByteArray("a"));
    }
};

QTEST_MAIN(TextEditorTest)
#include "TextEditorTest.moc"
