#include "ArchiveFixture.h"

#include "app/views/ArchiveColumnView.h"
#include "app/views/ArchiveOutlineView.h"
#include "app/views/ArchiveSelection.h"
#include "app/views/ArchiveTreeModel.h"

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

using namespace larkspan;
using fixtures::TestDocument;
using Nodes = std::vector<RFATreeNode::Ptr>;

Q_DECLARE_METATYPE(Nodes)

namespace {

// A document window's tree views, without the window.
struct Views {
    TestDocument doc{"init.con", "objects/tank.con", "objects/jeep.con", "objects/parts/wheel.con", "textures/"};
    ArchiveTreeModel model;
    ArchiveColumnView browser;
    ArchiveOutlineView outline;
    QItemSelectionModel* selection;

    Views()
    {
        model.setArchive(&doc.archive);
        selection = showInViews(model, browser, outline);
        for (QWidget* view : {static_cast<QWidget*>(&browser), static_cast<QWidget*>(&outline)})
            view->resize(800, 400);
    }
    QModelIndex index(std::string_view path) const { return model.indexForNode(*doc.node(path)); }
    Nodes nodes(std::initializer_list<std::string_view> paths) const
    {
        Nodes list;
        for (std::string_view path : paths)
            list.push_back(doc.node(path));
        return list;
    }
    // The folders the open columns show, left to right ("" for the top level).
    QStringList columnFolders() const
    {
        std::vector<QListView*> columns;
        for (QListView* column : browser.findChildren<QListView*>())
            if (!column->isHidden())
                columns.push_back(column);
        std::sort(columns.begin(), columns.end(), [](QListView* a, QListView* b) { return a->x() < b->x(); });
        QStringList folders;
        for (QListView* column : columns)
            folders << column->rootIndex().data().toString();
        return folders;
    }
    QListView* columnShowing(const QModelIndex& folder) const
    {
        for (QListView* column : browser.findChildren<QListView*>())
            if (!column->isHidden() && column->rootIndex() == folder)
                return column;
        return nullptr;
    }
    // Opens the browser down to `path` as a user would, one click per level.
    void browseTo(const QStringList& path)
    {
        QModelIndex folder;
        for (const QString& step : path) {
            const QModelIndex target = index(step.toStdString());
            QTRY_VERIFY(columnShowing(folder));
            QListView* column = columnShowing(folder);
            QTest::mouseClick(column->viewport(), Qt::LeftButton, {}, column->visualRect(target).center());
            // Settled once the column scrolled to holds the shared selection
            // (and the keyboard focus).
            QTRY_COMPARE(column->selectionModel(), selection);
            folder = target;
        }
    }
};

void clickRows(QAbstractItemView& view, const std::vector<QModelIndex>& rows, Qt::KeyboardModifiers modifiers)
{
    for (const QModelIndex& row : rows)
        QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, view.visualRect(row).center());
}

} // namespace

class ArchiveViewsTest : public QObject {
    Q_OBJECT

private slots:
    void selectionInTheOutlineReadsBackInTreeOrder();
    void selectionInTheBrowserIsSharedWithTheOutline();
    void browserMovesUpWhenItsFolderIsRemoved_data();
    void browserMovesUpWhenItsFolderIsRemoved();
    void renamingInAnEditorRequestsTheTypedName_data();
    void renamingInAnEditorRequestsTheTypedName();
    void activationOpensTheSelection();
};

void ArchiveViewsTest::selectionInTheOutlineReadsBackInTreeOrder()
{
    Views v;
    QCOMPARE(v.browser.selectionModel(), v.selection);
    QCOMPARE(v.outline.selectionModel(), v.selection);
    v.outline.show();
    v.outline.expandAll();
    QVERIFY(QTest::qWaitForWindowExposed(&v.outline));
    clickRows(v.outline, {v.index("textures")}, {});
    clickRows(v.outline, {v.index("objects/parts/wheel.con"), v.index("init.con"), v.index("objects/tank.con")},
              Qt::ControlModifier);
    QCOMPARE(selectedNodes(*v.selection), v.nodes({"init.con", "objects/tank.con", "objects/parts/wheel.con", "textures"}));
}

void ArchiveViewsTest::selectionInTheBrowserIsSharedWithTheOutline()
{
    Views v;
    v.browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&v.browser));
    v.browseTo({"", "objects"});
    QTRY_COMPARE(v.columnFolders(), (QStringList{"", "bf1942", "objects"}));
    QListView* objects = v.columnShowing(v.index("objects"));
    clickRows(*objects, {v.index("objects/jeep.con")}, {});
    // Only the current column holds the shared selection.
    QTRY_COMPARE(objects->selectionModel(), v.selection);
    clickRows(*objects, {v.index("objects/tank.con")}, Qt::ControlModifier);
    QCOMPARE(selectedNodes(*v.selection), v.nodes({"objects/tank.con", "objects/jeep.con"}));
    QVERIFY(v.outline.selectionModel()->isSelected(v.index("objects/jeep.con")));
}

void ArchiveViewsTest::browserMovesUpWhenItsFolderIsRemoved_data()
{
    QTest::addColumn<QStringList>("browsed");
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QStringList>("columnsAfter");
    QTest::addColumn<QString>("currentAfter");

    QTest::newRow("the open folder") << QStringList{"", "objects", "objects/parts"} << "objects/parts"
                                     << QStringList{"", "bf1942", "objects"} << "objects";
    QTest::newRow("a folder above it") << QStringList{"", "objects", "objects/parts", "objects/parts/wheel.con"}
                                       << "objects" << QStringList{"", "bf1942"} << "bf1942";
    QTest::newRow("a file in it") << QStringList{"", "objects", "objects/jeep.con"} << "objects/jeep.con"
                                  << QStringList{"", "bf1942", "objects"} << "tank.con";
}

void ArchiveViewsTest::browserMovesUpWhenItsFolderIsRemoved()
{
    QFETCH(QStringList, browsed);
    QFETCH(QString, removed);
    QFETCH(QStringList, columnsAfter);
    QFETCH(QString, currentAfter);
    Views v;
    v.browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&v.browser));
    v.browseTo(browsed);
    const RFATreeNode::Ptr gone = v.doc.node(removed.toStdString());
    gone->parent()->removeChild(*gone);
    QTRY_COMPARE(v.columnFolders(), columnsAfter);
    QCOMPARE(v.browser.currentIndex().data().toString(), currentAfter);
}

void ArchiveViewsTest::renamingInAnEditorRequestsTheTypedName_data()
{
    QTest::addColumn<bool>("inBrowser");
    QTest::newRow("outline") << false;
    QTest::newRow("browser") << true;
}

void ArchiveViewsTest::renamingInAnEditorRequestsTheTypedName()
{
    QFETCH(bool, inBrowser);
    // A delegate shared between views answers every view's editor.
    QTest::failOnWarning(QRegularExpression("does not belong to this view"));
    Views v;
    std::vector<std::pair<RFATreeNode::Ptr, QString>> requests;
    // The document would check the name and rename undoably.
    connect(&v.model, &ArchiveTreeModel::renameRequested, this, [&](const RFATreeNode::Ptr& node, const QString& name) {
        requests.emplace_back(node, name);
        node->setName(name.toStdString());
    });
    QAbstractItemView* view = &v.outline;
    if (inBrowser)
        view = &v.browser;
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view));
    if (inBrowser) {
        v.browseTo({"", "objects", "objects/tank.con"});
    } else {
        v.outline.expandAll();
        clickRows(v.outline, {v.index("objects/tank.con")}, {});
    }
    QWidget* keys = QApplication::focusWidget();
    QVERIFY(keys);
    QTest::keyClick(keys, Qt::Key_F2);
    QTRY_VERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QCOMPARE(editor->text(), "tank.con");
    editor->selectAll();
    QTest::keyClicks(editor, "hull.con");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(requests.size(), 1u);
    QCOMPARE(requests[0].first, v.doc.node("objects/hull.con"));
    QCOMPARE(requests[0].second, "hull.con");
    QCOMPARE(v.index("objects/hull.con").data().toString(), "hull.con");
}

void ArchiveViewsTest::activationOpensTheSelection()
{
    Views v;
    QSignalSpy fromOutline(&v.outline, &ArchiveOutlineView::activatedNodes);
    v.outline.show();
    v.outline.expandAll();
    QVERIFY(QTest::qWaitForWindowExposed(&v.outline));
    clickRows(v.outline, {v.index("objects/jeep.con")}, {});
    clickRows(v.outline, {v.index("init.con")}, Qt::ControlModifier);
    QTest::keyClick(v.outline.viewport(), Qt::Key_Return);
    QCOMPARE(fromOutline.size(), 1);
    QCOMPARE(fromOutline[0][0].value<Nodes>(), v.nodes({"init.con", "objects/jeep.con"}));

    const QPoint tank = v.outline.visualRect(v.index("objects/tank.con")).center();
    QTest::mouseClick(v.outline.viewport(), Qt::LeftButton, {}, tank);
    QTest::mouseDClick(v.outline.viewport(), Qt::LeftButton, {}, tank);
    QCOMPARE(fromOutline.size(), 2);
    QCOMPARE(fromOutline[1][0].value<Nodes>(), v.nodes({"objects/tank.con"}));

    QSignalSpy fromBrowser(&v.browser, &ArchiveColumnView::activatedNodes);
    v.browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&v.browser));
    v.browseTo({"", "objects", "objects/jeep.con"});
    QListView* objects = v.columnShowing(v.index("objects"));
    const QPoint jeep = objects->visualRect(v.index("objects/jeep.con")).center();
    QTest::mouseDClick(objects->viewport(), Qt::LeftButton, {}, jeep);
    QCOMPARE(fromBrowser.size(), 1);
    QCOMPARE(fromBrowser[0][0].value<Nodes>(), v.nodes({"objects/jeep.con"}));
}

QTEST_MAIN(ArchiveViewsTest)
#include "ArchiveViewsTest.moc"
