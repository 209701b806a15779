// Archive → Compress When Saving is each window's own choice, shown by the
// menu item for the window in front.

#include "AppTestSupport.h"

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

private slots:
    void initTestCase()
    {
        isolateSettings();
        windows_ = std::make_unique<WindowFixture>();
    }
    void cleanupTestCase() { windows_.reset(); }

    void eachWindowHasItsOwnChoice()
    {
        MyDocument* first = windows_->open({{"bf1942/a.con", "a"}});
        MyDocument* second = windows_->open({{"bf1942/b.con", "b"}});
        QVERIFY(first && second);
        activate(first);
        QVERIFY(compress().isCheckable());
        QVERIFY2(!compress().isChecked(), "read uncompressed");
        compress().trigger();
        QVERIFY(compress().isChecked());
        QVERIFY(first->document()->compressWhenSaving());
        activate(second);
        QVERIFY(!compress().isChecked());
        QVERIFY(!second->document()->compressWhenSaving());
        activate(first);
        QVERIFY(compress().isChecked());
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::SaveFormMenuTest)
#include "SaveFormMenuTest.moc"
