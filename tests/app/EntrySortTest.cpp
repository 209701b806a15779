#include "ArchiveFixture.h"

#include "app/views/ArchiveColumnView.h"
#include "app/views/ArchiveOutlineView.h"
#include "app/views/ArchiveSelection.h"
#include "app/views/ArchiveTreeModel.h"

#include <QHeaderView>
#include <QTest>

using namespace larkspan;
using fixtures::TestDocument;

namespace {

// Each file holds its own path, so sizes differ: b10.con 7 bytes, a2.con
// and B9.con 6, the folder sub 9.
struct SortedViews {
    TestDocument doc{"b10.con", "a2.con", "B9.con", "sub/x.con"};
    ArchiveTreeModel model;
    ArchiveColumnView browser;
    ArchiveOutlineView outline;
    QItemSelectionModel* selection;

    SortedViews()
    {
        model.setArchive(&doc.archive);
        selection = showInViews(model, browser, outline);
        outline.resize(400, 300);
        outline.show();
    }
    QStringList shown() const
    {
        const QModelIndex root = model.indexForNode(*doc.root());
        QStringList names;
        for (int row = 0; row < model.rowCount(root); ++row)
            names << model.index(row, 0, root).data().toString();
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
};

} // namespace

class EntrySortTest : public QObject {
    Q_OBJECT

private slots:
    void headerClicksSortTheRowsNotTheArchive_data();
    void headerClicksSortTheRowsNotTheArchive();
    void aSortedFolderTakesNewEntriesInTheirPlace();
};

void EntrySortTest::headerClicksSortTheRowsNotTheArchive_data()
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

void EntrySortTest::headerClicksSortTheRowsNotTheArchive()
{
    QFETCH(int, section);
    QFETCH(int, clicks);
    QFETCH(QStringList, rows);
    SortedViews views;
    const QStringList stored = views.stored();
    // Also the browser's columns list the sorted rows: they share the model.
    views.outline.expand(views.model.indexForNode(*views.doc.root()));
    views.clickHeader(section, clicks);
    QCOMPARE(views.shown(), rows);
    QCOMPARE(views.stored(), stored);
    // Selections come out in the archive's order whatever the rows show.
    views.outline.selectAll();
    std::vector<RFATreeNode::Ptr> selected = selectedNodes(*views.selection);
    QCOMPARE(selected.size(), 5u); // the root and its four entries
    QCOMPARE(selected[1]->name(), "b10.con");
    QCOMPARE(selected[4]->name(), "sub");
}

void EntrySortTest::aSortedFolderTakesNewEntriesInTheirPlace()
{
    SortedViews views;
    views.clickHeader(0, 1);
    const QModelIndex root = views.model.indexForNode(*views.doc.root());
    // A drop above the row shown second lands before that entry in the archive.
    QCOMPARE(views.model.insertionPosition(root, 1), 1u);
    QCOMPARE(views.model.insertionPosition(root, 0), 3u);
    QCOMPARE(views.model.insertionPosition(root, 4), 4u);
    const QPersistentModelIndex b9 = views.model.indexForNode(*views.doc.node("B9.con"));
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

QTEST_MAIN(EntrySortTest)
#include "EntrySortTest.moc"
