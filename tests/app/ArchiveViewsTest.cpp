// The browser and the outline over one model: sorted rows over an archive
// that keeps its order, selections that stay on their entries and read back
// in archive order, and the browser's columns when the folder they show leaves.

#include "ArchiveFixture.h"

#include "app/views/ArchiveColumnView.h"
#include "app/views/ArchiveOutlineView.h"
#include "app/views/ArchiveSelection.h"
#include "app/views/ArchiveTreeModel.h"

#include <QHeaderView>
#include <QListView>
#include <QTest>

#include <algorithm>

using namespace larkspan;
using fixtures::TestDocument;

namespace {

// A document window's tree views, without the window.
struct Views {
    TestDocument doc;
    ArchiveTreeModel model;
    ArchiveColumnView browser;
    ArchiveOutlineView outline;
    QItemSelectionModel* selection;

    explicit Views(std::initializer_list<std::string_view> paths) : doc(paths)
    {
        model.setArchive(&doc.archive);
        selection = showInViews(model, browser, outline);
        browser.resize(800, 400);
        outline.resize(400, 300);
    }
    QModelIndex index(std::string_view path) const { return model.indexForNode(*doc.node(path)); }
    QStringList shown() const
    {
        QStringList names;
        for (int row = 0; row < model.rowCount(index("")); ++row)
            names << model.index(row, 0, index("")).data().toString();
        return names;
    }
    QStringList stored() const
    {
        QStringList names;
        for (std::size_t i = 0; i < doc.root()->countOfChildren(); ++i)
            names << QString::fromStdString(doc.root()->objectInChildrenAtIndex(i)->name());
        return names;
    }
    void clickHeader(int section, int times)
    {
        QHeaderView& header = *outline.header();
        const QPoint at(header.sectionViewportPosition(section) + header.sectionSize(section) / 2, header.height() / 2);
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(header.viewport(), Qt::LeftButton, {}, at);
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
};

// Each file holds its own path, so sizes differ: b10.con 7 bytes, a2.con
// and B9.con 6.
Views sortable() { return Views{"b10.con", "a2.con", "B9.con", "sub/x.con", "sub/y.con"}; }

} // namespace

class ArchiveViewsTest : public QObject {
    Q_OBJECT

private slots:
    void headerClicksSortTheRowsNotTheArchive_data()
    {
        QTest::addColumn<int>("section");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QStringList>("rows");
        const QStringList archiveOrder{"b10.con", "a2.con", "B9.con", "sub"};
        QTest::newRow("name ascending") << 0 << 1 << QStringList{"sub", "a2.con", "B9.con", "b10.con"};
        QTest::newRow("name descending") << 0 << 2 << QStringList{"sub", "b10.con", "B9.con", "a2.con"};
        QTest::newRow("name, third click") << 0 << 3 << archiveOrder;
        // Equal sizes keep the archive's order in both directions.
        QTest::newRow("size ascending") << 1 << 1 << QStringList{"sub", "a2.con", "B9.con", "b10.con"};
        QTest::newRow("size descending") << 1 << 2 << QStringList{"sub", "b10.con", "a2.con", "B9.con"};
        QTest::newRow("size, third click") << 1 << 3 << archiveOrder;
    }
    void headerClicksSortTheRowsNotTheArchive()
    {
        QFETCH(int, section);
        QFETCH(int, clicks);
        QFETCH(QStringList, rows);
        Views views = sortable();
        views.outline.show();
        const QStringList stored = views.stored();
        views.outline.expandAll();
        const auto selected = [&] {
            QStringList names;
            for (const RFATreeNode::Ptr& node : selectedNodes(*views.selection))
                names << QString::fromStdString(node->name());
            return names;
        };
        // A selection stays on its entries whatever order the rows take.
        const QModelIndex root = views.index("");
        views.selection->select(QItemSelection(views.model.index(0, 0, root), views.model.index(1, 0, root)),
                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        views.clickHeader(section, clicks);
        QCOMPARE(views.shown(), rows);
        QCOMPARE(views.stored(), stored);
        QCOMPARE(selected(), (QStringList{"b10.con", "a2.con"}));
        // Selections come out in the archive's order whatever the rows show.
        views.outline.selectAll();
        QCOMPARE(selected(), (QStringList{"bf1942", "b10.con", "a2.con", "B9.con", "sub", "x.con", "y.con"}));
    }

    void aSortedFolderTakesNewEntriesInTheirPlace()
    {
        Views views = sortable();
        views.outline.show();
        views.clickHeader(0, 1);
        const QModelIndex root = views.index("");
        // A drop above the row shown second lands before that entry in the archive.
        QCOMPARE(views.model.insertionPosition(root, 1), 1u);
        QCOMPARE(views.model.insertionPosition(root, 0), 3u);
        QCOMPARE(views.model.insertionPosition(root, 4), 4u);
        const QPersistentModelIndex b9 = views.index("B9.con");
        views.doc.root()->appendChild(RFATreeNode::initWithData(fixtures::textBytes("x"), "a1.con"));
        QCoreApplication::processEvents();
        QCOMPARE(views.shown(), (QStringList{"sub", "a1.con", "a2.con", "B9.con", "b10.con"}));
        QCOMPARE(b9.row(), 3);
        views.doc.node("a2.con")->setName("c.con");
        QCoreApplication::processEvents();
        QCOMPARE(views.shown(), (QStringList{"sub", "a1.con", "B9.con", "b10.con", "c.con"}));
        views.doc.root()->removeObjectFromChildrenAtIndex(0);
        QCOMPARE(views.shown(), (QStringList{"sub", "a1.con", "B9.con", "c.con"}));
        QCOMPARE(views.stored(), (QStringList{"c.con", "B9.con", "sub", "a1.con"}));
    }

    void browserMovesUpWhenItsFolderIsRemoved_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("removed");
        QTest::addColumn<QStringList>("columnsAfter");
        QTest::addColumn<QString>("currentAfter");
        QTest::newRow("the open folder") << "objects/parts" << "objects/parts" << QStringList{"", "bf1942", "objects"}
                                         << "objects";
        QTest::newRow("a folder above it") << "objects/parts/wheel.con" << "objects" << QStringList{"", "bf1942"}
                                           << "bf1942";
        QTest::newRow("a file in it") << "objects/jeep.con" << "objects/jeep.con" << QStringList{"", "bf1942", "objects"}
                                      << "tank.con";
    }
    void browserMovesUpWhenItsFolderIsRemoved()
    {
        QFETCH(QString, current);
        QFETCH(QString, removed);
        QFETCH(QStringList, columnsAfter);
        QFETCH(QString, currentAfter);
        Views v{"init.con", "objects/tank.con", "objects/jeep.con", "objects/parts/wheel.con", "textures/"};
        v.browser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v.browser));
        v.browser.setCurrentIndex(v.index(current.toStdString()));
        QTRY_VERIFY(v.columnShowing(v.index(current.toStdString()).parent()));
        const RFATreeNode::Ptr gone = v.doc.node(removed.toStdString());
        gone->parent()->removeChild(*gone);
        QTRY_COMPARE(v.columnFolders(), columnsAfter);
        QCOMPARE(v.browser.currentIndex().data().toString(), currentAfter);
    }
};

QTEST_MAIN(ArchiveViewsTest)
#include "ArchiveViewsTest.moc"
