#include "ArchiveFixture.h"

#include "app/views/ArchiveColumnView.h"
#include "app/views/ArchiveOutlineView.h"
#include "app/views/ArchiveSelection.h"
#include "app/views/ArchiveTreeModel.h"

#include <QListView>
#include <QTest>

#include <algorithm>

using namespace larkspan;
using fixtures::TestDocument;
using Nodes = std::vector<RFATreeNode::Ptr>;

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
    void browserMovesUpWhenItsFolderIsRemoved_data();
    void browserMovesUpWhenItsFolderIsRemoved();
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

QTEST_MAIN(ArchiveViewsTest)
#include "ArchiveViewsTest.moc"
