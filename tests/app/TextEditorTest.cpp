#include "app/viewers/TextEditor.h"
#include "app/viewers/TextEditorWindow.h"
#include "model/ChangeHub.h"
#include "model/RFATreeNode.h"
#include "model/UndoHistory.h"

#include <QClipboard>
#include <QMimeData>
#include <QPointer>
#include <QtTest>

using namespace larkspan;

namespace {

// One entry in a document's tree, with the document's history and hub.
struct Document {
    explicit Document(const QByteArray& bytes, std::string name = "init.con")
        : entry(RFATreeNode::initWithData(makeSharedBytes(Bytes(bytes.begin(), bytes.end())), std::move(name)))
    {
        root->appendChild(entry);
        root->setChangeHub(hub);
        root->setUndoManager(history);
    }

    QByteArray bytes() const
    {
        return QByteArray(reinterpret_cast<const char*>(entry->data()->data()),
                          static_cast<qsizetype>(entry->data()->size()));
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
    const TextEditor editor(document.entry);
    return shown(editor);
}

void placeCursor(QPlainTextEdit& editor, int position)
{
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(position);
    editor.setTextCursor(cursor);
}

// '\n' Return, U+2028 Shift+Return, '\b' Backspace, U+007F Delete, '\t' Tab;
// any other character is typed as itself.
void type(QWidget& editor, const QString& keys)
{
    for (QChar c : keys) {
        switch (c.unicode()) {
        case u'\n':
            QTest::keyClick(&editor, Qt::Key_Return);
            break;
        case 0x2028:
            QTest::keyClick(&editor, Qt::Key_Return, Qt::ShiftModifier);
            break;
        case u'\b':
            QTest::keyClick(&editor, Qt::Key_Backspace);
            break;
        case 0x7F:
            QTest::keyClick(&editor, Qt::Key_Delete);
            break;
        case u'\t':
            QTest::keyClick(&editor, Qt::Key_Tab);
            break;
        default: {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(&editor, &press);
        }
        }
    }
}

// Each key its own user event, as when a person types.
void typeSlowly(QWidget& editor, const QString& keys)
{
    for (QChar c : keys) {
        type(editor, QString(c));
        QCoreApplication::processEvents();
    }
}

QByteArray allBytes()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(static_cast<char>(b));
    return bytes;
}

QByteArray upperHalf()
{
    return allBytes().mid(0x80) + "\r\n";
}

} // namespace

class TextEditorTest : public QObject {
    Q_OBJECT

private slots:
    void untouchedBytesRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expectedShown");
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("CR, LF, CRLF mixed") << QByteArray("a\r\nb\nc\rd\r\n") << QStringLiteral("a\nb\nc\nd\n");
        QTest::newRow("upper half") << upperHalf() << QString::fromLatin1(upperHalf().chopped(2)) + u'\n';
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
        if (!expectedShown.isNull() || bytes.isEmpty())
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

    void typingGivesExactBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("middle of a CRLF file") << QByteArray("ab\r\ncd\r\n") << 4 << QStringLiteral("Z")
                                               << QByteArray("ab\r\ncZd\r\n");
        QTest::newRow("Return in a CRLF file") << QByteArray("ab\r\ncd") << 1 << QStringLiteral("\n")
                                               << QByteArray("a\r\nb\r\ncd");
        QTest::newRow("Return in a LF file") << QByteArray("ab\ncd\n") << 1 << QStringLiteral("\n")
                                             << QByteArray("a\nb\ncd\n");
        QTest::newRow("Shift+Return is a break") << QByteArray("ab\r\ncd") << 2 << QStringLiteral("\u2028")
                                                 << QByteArray("ab\r\n\r\ncd");
        QTest::newRow("Backspace over a CRLF") << QByteArray("ab\r\ncd") << 3 << QStringLiteral("\b")
                                               << QByteArray("abcd");
        QTest::newRow("Delete at a CRLF") << QByteArray("ab\r\ncd") << 2 << QStringLiteral("\x7f")
                                          << QByteArray("abcd");
        QTest::newRow("tab and upper half") << QByteArray("x") << 1 << QStringLiteral("\t\u00e9\u00ff")
                                            << QByteArray("x\t\xe9\xff");
    }

    void typingGivesExactBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, position);
        QFETCH(QString, keys);
        QFETCH(QByteArray, expected);
        const Document document(bytes);
        TextEditor editor(document.entry);
        placeCursor(editor, position);
        type(editor, keys);
        QCOMPARE(document.bytes(), expected);
        QCOMPARE(shown(editor), shownFor(expected));
    }

    void typingRunUndoesAsOneStep()
    {
        const Document document("ab\r\ncd");
        TextEditor editor(document.entry);
        editor.moveCursor(QTextCursor::End);
        typeSlowly(editor, QStringLiteral("x\ny"));
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
        typeSlowly(editor, QStringLiteral("ab"));
        QTest::keyClick(&editor, Qt::Key_Left);
        typeSlowly(editor, QStringLiteral("c"));
        QGuiApplication::clipboard()->setText(QStringLiteral("r"));
        editor.paste();
        QCoreApplication::processEvents();
        typeSlowly(editor, QStringLiteral("s"));
        QCOMPARE(document.bytes(), QByteArray("acrsb"));
        for (const char* expected : {"acrb", "acb", "ab", ""}) {
            document.history->undo();
            QCOMPARE(document.bytes(), QByteArray(expected));
        }
    }

    void closingTheEditorEndsItsStep()
    {
        const Document document("a");
        auto* editor = new TextEditor(document.entry);
        type(*editor, QStringLiteral("x"));
        delete editor; // before the queued end of the group could run
        QCoreApplication::processEvents();
        document.entry->setName("main.con");
        document.history->endGroup();
        document.history->undo();
        QCOMPARE(document.entry->name(), "init.con");
        QVERIFY2(document.bytes() == "xa", "the rename is a step of its own");
        document.history->undo();
        QCOMPARE(document.bytes(), QByteArray("a"));
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
        QTest::addColumn<QString>("way");
        QTest::newRow("typed") << QStringLiteral("key");
        QTest::newRow("pasted") << QStringLiteral("paste");
        QTest::newRow("input method") << QStringLiteral("input method");
    }

    void refusesCharactersBeyondLatin1()
    {
        QFETCH(QString, way);
        const Document document("a\r\nb");
        const SharedBytes before = document.entry->data();
        TextEditor editor(document.entry);
        editor.moveCursor(QTextCursor::End);
        const QString euro = QStringLiteral("x\u20ac");
        if (way == u"key") {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, euro);
            QApplication::sendEvent(&editor, &press);
        } else if (way == u"paste") {
            QGuiApplication::clipboard()->setText(euro);
            editor.paste();
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(euro);
            QApplication::sendEvent(&editor, &commit);
        }
        QCoreApplication::processEvents();
        QCOMPARE(document.entry->data(), before);
        QCOMPARE(shown(editor), QStringLiteral("a\nb"));
        QVERIFY(!document.history->canUndo());
    }

    void pasteTakesTheFileStyle_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("into a CRLF file") << QByteArray("a\r\nb") << 3 << QStringLiteral("x\ny\rz\r\nw")
                                          << QByteArray("a\r\nbx\r\ny\r\nz\r\nw");
        QTest::newRow("into a LF file") << QByteArray("a\nb") << 1 << QStringLiteral("x\r\ny")
                                        << QByteArray("ax\ny\nb");
        QTest::newRow("NUL and no-break space") << QByteArray("x") << 1 << QString::fromLatin1("\0\xa0", 2)
                                                << QByteArray("x\0\xa0", 3);
        QTest::newRow("control pictures") << QByteArray("x") << 0 << QStringLiteral("\u2400\u2421")
                                          << QByteArray("\0\x7fx", 3);
    }

    void pasteTakesTheFileStyle()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, position);
        QFETCH(QString, pasted);
        QFETCH(QByteArray, expected);
        const Document document(bytes);
        TextEditor editor(document.entry);
        placeCursor(editor, position);
        QGuiApplication::clipboard()->setText(pasted);
        editor.paste();
        QCOMPARE(document.bytes(), expected);
        QCOMPARE(shown(editor), shownFor(expected));
    }

    void windowClosesWhenTheEntryStopsBeingText()
    {
        const Document document("a");
        QPointer<TextEditorWindow> window = new TextEditorWindow(document.entry, QStringLiteral("mymod"));
        window->show();
        type(*window->editor(), QStringLiteral("x"));
        document.entry->setName("init.con.bak");
        QTRY_VERIFY(window.isNull());
        QCOMPARE(document.bytes(), QByteArray("xa"));
        document.history->undo(); // the rename
        document.history->undo(); // the typing, with the window gone
        QCOMPARE(document.bytes(), QByteArray("a"));
        QCOMPARE(document.entry->name(), "init.con");
    }
};

QTEST_MAIN(TextEditorTest)
#include "TextEditorTest.moc"
