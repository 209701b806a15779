// Saving tells which empty folders the archive file cannot keep, before
// they are gone.

#include "AppTestSupport.h"

#include "app/window/DocumentFileController.h"
#include "model/RFAArchive.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace larkspan {

using namespace fixtures;

class EmptyFolderSaveTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> windows_;

private slots:
    void initTestCase() { isolateSettings(); }
    void init() { windows_ = std::make_unique<WindowFixture>(); }
    void cleanup() { windows_.reset(); }

    void savingAsksBeforeLeavingOutEmptyFolders_data()
    {
        QTest::addColumn<QStringList>("folders"); // made empty, below bf1942
        QTest::addColumn<QStringList>("named");   // in the question; none: no question
        QTest::addColumn<bool>("answerSave");
        QTest::newRow("no empty folder") << QStringList{} << QStringList{} << true;
        QTest::newRow("saved without them") << QStringList{"empty"} << QStringList{"bf1942/empty/"} << true;
        QTest::newRow("cancelled") << QStringList{"empty"} << QStringList{"bf1942/empty/"} << false;
        // A folder of empty folders goes as one.
        QTest::newRow("nested") << QStringList{"outer", "outer/inner", "other"}
                                << QStringList{"bf1942/outer/", "bf1942/other/"} << true;
    }
    void savingAsksBeforeLeavingOutEmptyFolders()
    {
        QFETCH(QStringList, folders);
        QFETCH(QStringList, named);
        QFETCH(bool, answerSave);
        MyDocument* window = windows_->open({{"bf1942/a.con", "a"}});
        QVERIFY(window);
        for (const QString& path : folders) {
            const std::vector<std::string> components = pathComponents(path.toStdString());
            const RFATreeNode::Ptr parent = node(*window, path.contains('/') ? path.section('/', 0, -2).toStdString() : "");
            parent->appendChild(RFATreeNode::initAsDirectory(components.back(), parent));
        }
        const QString file = QString::fromStdString(window->document()->fileLocation()->string());
        const Bytes before = *readWholeFile(file.toStdString());
        std::optional<bool> saved;
        window->file().save([&saved](bool ok) { saved = ok; });
        if (!named.isEmpty()) {
            QMessageBox* box = waitForDialog<QMessageBox>(*window);
            QVERIFY(box);
            QCOMPARE(box->windowModality(), Qt::WindowModal);
            for (const QString& folder : named)
                QVERIFY2(box->informativeText().contains(folder), qPrintable(box->informativeText()));
            QCOMPARE(box->informativeText().count(QStringLiteral("bf1942/")), named.size());
            QVERIFY(!saved);
            box->button(answerSave ? QMessageBox::Save : QMessageBox::Cancel)->click();
        }
        QTRY_VERIFY(saved.has_value());
        QCOMPARE(*saved, answerSave);
        const Bytes after = *readWholeFile(file.toStdString());
        if (!answerSave) {
            QCOMPARE(after, before);
        } else {
            const Result<std::unique_ptr<RFAArchive>> written = RFAArchive::initWithData(after);
            QVERIFY(written);
            QCOMPARE((*written)->root()->countOfChildren(), 1u); // a.con alone
        }
        QCOMPARE(window->isModified(), !answerSave);
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::EmptyFolderSaveTest)
#include "EmptyFolderSaveTest.moc"
