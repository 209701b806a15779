// Open With: an entry written out for another program, that program's save
// offered back once per change, taken back as one undoable step, and the
// cases where the entry or its folder left the archive meanwhile.

#include "AppTestSupport.h"

#include "app/window/OpenWithFiles.h"
#include "model/UndoHistory.h"

#include <QProcess>
#include <QPushButton>

namespace larkspan {

using namespace fixtures;

namespace {

enum class Gone { Nothing, Entry, Folder };
enum class Outcome { Replaced, Ignored, AddedAsNew, Refused };

// The other program saves the way many editors do: a new file renamed over the old.
void save(const QString& path, const QByteArray& bytes)
{
    QProcess shell;
    shell.start(
        QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), QStringLiteral("cat > \"$1.new\" && mv \"$1.new\" \"$1\""), QStringLiteral("sh"), path});
    shell.waitForStarted();
    shell.write(bytes);
    shell.closeWriteChannel();
    shell.waitForFinished();
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
    return entry ? QByteArray(reinterpret_cast<const char*>(entry->data()->data()),
                              static_cast<qsizetype>(entry->data()->size()))
                 : QByteArray();
}

} // namespace

class OpenWithTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { isolateSettings(); }

    void anotherProgramsSaveComesBack_data()
    {
        QTest::addColumn<Gone>("gone");
        QTest::addColumn<bool>("take");
        QTest::addColumn<Outcome>("outcome");
        QTest::newRow("taken back") << Gone::Nothing << true << Outcome::Replaced;
        QTest::newRow("ignored") << Gone::Nothing << false << Outcome::Ignored;
        QTest::newRow("entry deleted: a new entry in its folder") << Gone::Entry << true << Outcome::AddedAsNew;
        QTest::newRow("folder deleted: refused") << Gone::Folder << true << Outcome::Refused;
    }
    void anotherProgramsSaveComesBack()
    {
        QFETCH(Gone, gone);
        QFETCH(bool, take);
        QFETCH(Outcome, outcome);
        WindowFixture windows;
        MyDocument* window = windows.open({{"bf1942/a/tank.con", "one\r\n"}, {"bf1942/b.con", "b"}});
        QVERIFY(window);
        const RFATreeNode::Ptr entry = node(*window, "a/tank.con");
        const QByteArray changed("two\r\n\xe9\n", 7); // exactly as written: no line-ending or encoding change
        if (gone == Gone::Nothing) {
            // The other program edits at once.
            QVERIFY(window->openWith().open(entry, editor(windows.temp)));
        } else {
            // The other program edits once the entry has left.
            QVERIFY(window->openWith().open(entry, QStringLiteral("/bin/true")));
            QVERIFY(
                window->document()->commands().deleteNodes({node(*window, gone == Gone::Entry ? "a/tank.con" : "a")}));
            endUserEvent();
            save(window->openWith().fileFor(*entry), changed);
        }
        const QString path = window->openWith().fileFor(*entry);
        QVERIFY(path.endsWith(QStringLiteral("/tank.con")));

        auto* box = waitForDialog<QMessageBox>(*window);
        QVERIFY(box);
        if (outcome == Outcome::Refused) {
            QVERIFY(box->text().contains(QStringLiteral("no longer in the archive")));
            box->accept();
            QVERIFY(!node(*window, "a"));
        } else {
            QCOMPARE(box->windowModality(), Qt::WindowModal);
            QAbstractButton* answer =
                take ? static_cast<QAbstractButton*>(box->defaultButton()) : box->button(QMessageBox::Cancel);
            answer->click();
        }
        endUserEvent();
        const RFATreeNode::Ptr now = node(*window, "a/tank.con");
        switch (outcome) {
        case Outcome::Replaced:
        case Outcome::AddedAsNew:
            QCOMPARE(bytesOf(now), changed);
            QVERIFY(window->isModified());
            QCOMPARE(window->document()->undoHistory()->undoActionName(), "Open With");
            window->document()->undoHistory()->undo();
            QCOMPARE(bytesOf(node(*window, "a/tank.con")),
                     outcome == Outcome::Replaced ? QByteArray("one\r\n") : QByteArray());
            break;
        case Outcome::Ignored:
            QCOMPARE(bytesOf(now), QByteArray("one\r\n"));
            QVERIFY(!window->isModified());
            break;
        case Outcome::Refused: break;
        }
        // Once per change: nothing more is asked until the file changes again.
        QTest::qWait(600);
        QVERIFY(!visibleBox(*window));
        if (outcome == Outcome::Ignored) {
            save(path, "three");
            QVERIFY(waitForDialog<QMessageBox>(*window));
        }
        // The files go with the document.
        window->closeWithoutAsking();
        QTRY_VERIFY(!QFileInfo::exists(path));
    }

private:
    static QMessageBox* visibleBox(QWidget& window)
    {
        for (QMessageBox* box : window.findChildren<QMessageBox*>())
            if (box->isVisible())
                return box;
        return nullptr;
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::OpenWithTest)
#include "OpenWithTest.moc"
