// Open With: an entry written out for another program, that program's save
// offered back once per change, taken back as one undoable step, and the
// cases where the entry or its folder left the archive meanwhile.

#include "AppTestSupport.h"

#include "app/window/OpenWithFiles.h"

#include <QPushButton>

namespace larkspan {

using namespace fixtures;

namespace {

enum class Gone { Nothing, Entry, Folder };

// The other program saves the way many editors do: a new file renamed over the old.
void save(const QString& path, const QByteArray& bytes)
{
    std::ofstream(path.toStdString() + ".new", std::ios::binary) << bytes.toStdString();
    std::filesystem::rename(path.toStdString() + ".new", path.toStdString());
}

// A program that saves the changed text as soon as it starts.
QString editor(const TemporaryFolder& folder)
{
    const QString path = QString::fromStdString((folder.path() / "editor.sh").string());
    QFile script(path);
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\nprintf 'two\\r\\n\\351\\n' > \"$1.new\" && mv \"$1.new\" \"$1\"\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    return path;
}

QByteArray bytesOf(const RFATreeNode::Ptr& entry)
{
    return entry ? QByteArray::fromStdString(text(entry->data())) : QByteArray();
}

} // namespace

class OpenWithTest : public QObject {
    Q_OBJECT

private slots:
    void anotherProgramsSaveComesBack_data()
    {
        const QByteArray changed("two\r\n\xe9\n", 7); // exactly as written: no line-ending or encoding change
        QTest::addColumn<Gone>("gone");
        QTest::addColumn<bool>("take");
        QTest::addColumn<QByteArray>("after");  // the entry's bytes after the answer; empty: no entry
        QTest::addColumn<QByteArray>("undone"); // after undoing it; null: nothing to undo
        QTest::newRow("taken back") << Gone::Nothing << true << changed << QByteArray("one\r\n");
        QTest::newRow("ignored") << Gone::Nothing << false << QByteArray("one\r\n") << QByteArray();
        QTest::newRow("entry deleted: a new entry in its folder") << Gone::Entry << true << changed << QByteArray("");
        QTest::newRow("folder deleted: refused") << Gone::Folder << true << QByteArray() << QByteArray();
    }
    void anotherProgramsSaveComesBack()
    {
        QFETCH(Gone, gone);
        QFETCH(bool, take);
        QFETCH(QByteArray, after);
        QFETCH(QByteArray, undone);
        WindowFixture windows;
        MyDocument* window = windows.open({{"bf1942/a/tank.con", "one\r\n"}, {"bf1942/b.con", "b"}});
        const RFATreeNode::Ptr entry = node(*window, "a/tank.con");
        if (gone == Gone::Nothing) {
            // The other program edits at once.
            QVERIFY(window->openWith().open(entry, editor(windows.temp)));
        } else {
            // The other program edits once the entry has left.
            QVERIFY(window->openWith().open(entry, QStringLiteral("/bin/true")));
            QVERIFY(
                window->document()->commands().deleteNodes({node(*window, gone == Gone::Entry ? "a/tank.con" : "a")}));
            endUserEvent();
            save(window->openWith().fileFor(*entry), QByteArray("two\r\n\xe9\n", 7));
        }
        const QString path = window->openWith().fileFor(*entry);
        QVERIFY(path.endsWith(QStringLiteral("/tank.con")));

        auto* box = waitForDialog<QMessageBox>(*window);
        QVERIFY(box);
        QCOMPARE(box->windowModality(), Qt::WindowModal);
        if (gone == Gone::Folder) {
            QVERIFY(box->text().contains(QStringLiteral("no longer in the archive")));
            box->accept();
        } else {
            press(take ? static_cast<QAbstractButton*>(box->defaultButton()) : box->button(QMessageBox::Cancel));
        }
        endUserEvent();
        QCOMPARE(bytesOf(node(*window, "a/tank.con")), after);
        QCOMPARE(window->isModified(), gone != Gone::Nothing || take);
        if (!undone.isNull()) {
            QCOMPARE(window->document()->undoHistory()->undoActionName(), "Open With");
            window->document()->undoHistory()->undo();
            QCOMPARE(bytesOf(node(*window, "a/tank.con")), undone);
        }
        // Once per change: nothing more is asked until the file changes again.
        QVERIFY(!waitForDialog<QMessageBox>(*window));
        if (!take) {
            save(path, "three");
            QVERIFY(waitForDialog<QMessageBox>(*window));
        }
        // The files go with the document.
        window->closeWithoutAsking();
        QTRY_VERIFY(!QFileInfo::exists(path));
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::OpenWithTest)
#include "OpenWithTest.moc"
