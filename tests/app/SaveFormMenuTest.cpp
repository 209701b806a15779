// Archive → Compress When Saving: each window's own choice, shown by the
// menu item, and what Save writes.

#include "AppTestSupport.h"

#include "base/ByteOrder.h"
#include "document/ArchiveDocument.h"

namespace larkspan {

using namespace fixtures;
using Command = RFAApplicationDelegate::Command;

class SaveFormMenuTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> windows_;

    QAction& compress() { return *windows_->app->action(Command::CompressWhenSaving); }
    void activate(MyDocument* window)
    {
        QApplication::setActiveWindow(window);
        windows_->app->updateActions();
    }
    static std::uint32_t flagOnDisk(MyDocument* window)
    {
        return littleIntAtPosition(readWholeFile(*window->document()->fileLocation()).value_or(Bytes{}), 4);
    }

private slots:
    void initTestCase() { isolateSettings(); }
    void init() { windows_ = std::make_unique<WindowFixture>(); }
    void cleanup() { windows_.reset(); }

    void eachWindowSavesInItsOwnForm()
    {
        MyDocument* first = windows_->open({{"bf1942/a.con", "aaaaaaaaaaaaaaaa"}});
        MyDocument* second = windows_->open({{"bf1942/b.con", "b"}});
        QVERIFY(first && second);
        activate(first);
        QVERIFY(compress().isCheckable());
        QVERIFY2(!compress().isChecked(), "read uncompressed");
        compress().trigger();
        QVERIFY(compress().isChecked());
        QVERIFY(first->document()->compressWhenSaving());

        activate(second);
        QVERIFY2(!compress().isChecked(), "the other window keeps its own choice");
        activate(first);
        QVERIFY(compress().isChecked());

        windows_->app->action(Command::Save)->trigger();
        QCOMPARE(flagOnDisk(first), 1u);
        activate(first); // the save's event processing may have let the other window come forward
        compress().trigger();
        QVERIFY(!compress().isChecked());
        windows_->app->action(Command::Save)->trigger();
        QCOMPARE(flagOnDisk(first), 0u);
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::SaveFormMenuTest)
#include "SaveFormMenuTest.moc"
