// The application's menus in every window of a document: its viewer
// windows act on the document, and the shortcuts list names the commands
// as the menus do.

#include "AppTestSupport.h"

#include "app/viewers/TextEditor.h"
#include "app/viewers/TextEditorWindow.h"
#include "app/window/ViewerWindows.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QTableWidget>

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

    void theEditorsMenuUndoesTheDocumentsTyping()
    {
        MyDocument* window = windows_->open({{"bf1942/init.con", "run x"}});
        QVERIFY(window);
        auto* editorWindow = qobject_cast<TextEditorWindow*>(showViewer(*window, "init.con"));
        QVERIFY(editorWindow);
        TextEditor& editor = *editorWindow->editor();
        QTest::keyClicks(&editor, QStringLiteral("ok"));
        endUserEvent();
        const QPoint at(5, 5);
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, editor.viewport()->mapToGlobal(at));
        QApplication::sendEvent(editor.viewport(), &click);
        QMenu* menu = nullptr;
        QTRY_VERIFY((menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())));
        QAction* undo = menu->findChild<QAction*>(QStringLiteral("edit-undo"));
        QAction* redo = menu->findChild<QAction*>(QStringLiteral("edit-redo"));
        QVERIFY(undo && redo);
        QVERIFY(undo->isEnabled());
        QVERIFY(!redo->isEnabled());
        undo->trigger();
        menu->close();
        QCOMPARE(*node(*window, "init.con")->data(), Bytes({'r', 'u', 'n', ' ', 'x'}));
    }

    void theShortcutsListNamesCommandsAsTheMenusDo()
    {
        MyDocument* window = openRenamed();
        QVERIFY(window);
        QApplication::setActiveWindow(window);
        QCOMPARE(windows_->app->action(Command::Undo)->text(), QStringLiteral("&Undo Rename"));
        windows_->app->action(Command::KeyboardShortcuts)->trigger();
        QTableWidget* table = nullptr;
        QTRY_VERIFY((table = window->findChild<QTableWidget*>()));
        QStringList commands;
        for (int row = 0; row < table->rowCount(); ++row)
            commands << table->item(row, 0)->text();
        QVERIFY2(commands.contains(QStringLiteral("Undo")), qPrintable(commands.join(u',')));
        QVERIFY(commands.contains(QStringLiteral("Redo")));
        QVERIFY(commands.contains(QStringLiteral("Add Files…")));
        QVERIFY(!commands.contains(QStringLiteral("Undo Rename")));
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::ApplicationMenusTest)
#include "ApplicationMenusTest.moc"
