// A selection stays on its entries when the rows are sorted differently,
// also when they go back to the archive's order.

#include "ArchiveFixture.h"

#include "app/views/ArchiveTreeModel.h"

#include <QItemSelectionModel>
#include <QTest>

using namespace larkspan;
using fixtures::TestDocument;

class SortedSelectionTest : public QObject {
    Q_OBJECT

private slots:
    void selectionFollowsItsEntriesThroughEverySort()
    {
        // Sizes differ from names' order: each file holds its own path.
        TestDocument doc{"c.con", "a.con", "dd.con", "bbb.con"};
        ArchiveTreeModel model;
        model.setArchive(&doc.archive);
        QItemSelectionModel selection(&model);
        const QModelIndex root = model.indexForNode(*doc.root());
        const auto selectedNames = [&] {
            QStringList names;
            for (const QModelIndex& index : selection.selection().indexes())
                if (index.column() == ArchiveTreeModel::NameColumn)
                    names << index.data().toString();
            names.sort();
            return names;
        };
        struct Step {
            int column;
            Qt::SortOrder order;
        };
        for (const Step step : {Step{ArchiveTreeModel::NameColumn, Qt::AscendingOrder}, Step{-1, Qt::AscendingOrder},
                                Step{ArchiveTreeModel::SizeColumn, Qt::DescendingOrder},
                                Step{ArchiveTreeModel::NameColumn, Qt::DescendingOrder}, Step{-1, Qt::AscendingOrder}}) {
            // The first two rows as shown now, as a click and a shift-click select them.
            selection.select(QItemSelection(model.index(0, 0, root), model.index(1, ArchiveTreeModel::SizeColumn, root)),
                             QItemSelectionModel::ClearAndSelect);
            const QStringList before = selectedNames();
            model.sort(step.column, step.order);
            QCOMPARE(selectedNames(), before);
        }
    }
};

QTEST_MAIN(SortedSelectionTest)
#include "SortedSelectionTest.moc"
