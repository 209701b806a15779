// A command chosen from a right-click menu may keep the events flowing while
// it works (opening an archive shows its progress): the menu must not be
// deleted under the click that chose the command.

#include "AppTestSupport.h"

#include "app/mod/ModWindow.h"

#include <QMenu>
#include <QTreeView>

namespace larkspan {

using namespace fixtures;

class ContextMenuTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { isolateSettings(); }

    void editInArchiveFromTheModWindowsMenu()
    {
        WindowFixture windows;
        const Bytes archive = plainArchive({{"bf1942/objects/tank.con", "tank"}});
        windows.temp.write("Mods/MyMod/Archives/objects.rfa", std::string(archive.begin(), archive.end()));
        MyDocument* untitled = windows.untitled();
        QApplication::setActiveWindow(untitled);
        ModWindow* mod = windows.app->openMod(QString::fromStdString((windows.temp.path() / "Mods/MyMod").string()));
        QVERIFY(mod);
        mod->show();
        auto& outline = part<QTreeView>(*mod, "outline");
        const QModelIndexList tank = outline.model()->match(outline.model()->index(0, 0), Qt::DisplayRole, "tank.con",
                                                            1, Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(tank.size(), 1);
        outline.selectionModel()->select(tank.front(), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);

        emit outline.customContextMenuRequested({4, 4});
        auto* menu = mod->findChild<QMenu*>(QString(), Qt::FindDirectChildrenOnly);
        QVERIFY(menu && menu->isVisible());
        QAction* edit = menu->actions().at(1);
        QCOMPARE(edit->text(), QStringLiteral("Edit in Archive"));
        bool clicking = true;
        bool deletedWhileClicking = false;
        connect(menu, &QObject::destroyed, this, [&] { deletedWhileClicking = clicking; });
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(edit).center());
        clicking = false;
        QVERIFY(!deletedWhileClicking);

        // The untouched untitled window took the archive, the entry selected.
        QCOMPARE(untitled->displayName(), QStringLiteral("objects.rfa"));
        const std::vector<RFATreeNode::Ptr> selected = untitled->document()->selection().nodes();
        QCOMPARE(selected.size(), std::size_t(1));
        QCOMPARE(selected.front()->fullPath(), std::string("bf1942/objects/tank.con"));
        mod->close();
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::ContextMenuTest)
#include "ContextMenuTest.moc"
