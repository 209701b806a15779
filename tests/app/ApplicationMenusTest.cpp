// The application's menus in every window of a document: its viewer
// windows save, undo and close on the document.

#include "AppTestSupport.h"

#include "app/window/ViewerWindows.h"

namespace larkspan {

using namespace fixtures;
using Command = RFAApplicationDelegate::Command;

enum class Effect { Saved, Undone, Closed };

} // namespace larkspan

Q_DECLARE_METATYPE(larkspan::Effect)

namespace larkspan {

class ApplicationMenusTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> windows_;

    // A window with one unsaved rename, other.con to renamed.con.
    MyDocument* openRenamed()
    {
        MyDocument* window = windows_->open(
            {{"bf1942/init.con", "run x"}, {"bf1942/sky.raw", std::string(2 * 64 * 64, '\x40')}, {"bf1942/other.con", "o"}});
        if (window) {
            window->document()->commands().renameNode(node(*window, "other.con"), "renamed.con");
            endUserEvent();
        }
        return window;
    }

    static QWidget* showViewer(MyDocument& window, const std::string& entry)
    {
        window.viewers().openEntries({node(window, entry)});
        QWidget* viewer = window.viewers().viewerFor(*node(window, entry));
        if (viewer) {
            QApplication::setActiveWindow(viewer);
            if (!QTest::qWaitForWindowActive(viewer))
                return nullptr;
        }
        return viewer;
    }

private slots:
    void initTestCase() { isolateSettings(); }
    void init() { windows_ = std::make_unique<WindowFixture>(); }
    void cleanup() { windows_.reset(); }

    void aViewersShortcutsActOnItsDocument_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<Effect>("effect");
        for (const char* entry : {"init.con", "sky.raw"}) {
            const QString name = QString::fromLatin1(entry);
            QTest::newRow(qPrintable(name + " save")) << name << QKeySequence(QKeySequence::Save) << Effect::Saved;
            QTest::newRow(qPrintable(name + " undo")) << name << QKeySequence(QKeySequence::Undo) << Effect::Undone;
            QTest::newRow(qPrintable(name + " close")) << name << QKeySequence(QKeySequence::Close) << Effect::Closed;
        }
    }
    void aViewersShortcutsActOnItsDocument()
    {
        QFETCH(QString, entry);
        QFETCH(QKeySequence, keys);
        QFETCH(Effect, effect);
        MyDocument* window = openRenamed();
        QVERIFY(window && window->isModified());
        QPointer<QWidget> viewer = showViewer(*window, entry.toStdString());
        QVERIFY(viewer);
        QVERIFY2(!windows_->app->action(Command::Delete)->isEnabled(), "nothing in a viewer to delete");
        QTest::keySequence(viewer->focusWidget() ? viewer->focusWidget() : viewer.data(), keys);
        switch (effect) {
        case Effect::Saved:
            QTRY_VERIFY(!window->isModified());
            break;
        case Effect::Undone:
            QTRY_VERIFY(node(*window, "other.con"));
            break;
        case Effect::Closed:
            QTRY_VERIFY(viewer.isNull());
            QVERIFY(window->isVisible());
            break;
        }
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::ApplicationMenusTest)
#include "ApplicationMenusTest.moc"
