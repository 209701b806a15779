#include "ArchiveFixture.h"
#include "support/ArchiveBytes.h"
#include "support/RandomTreeEditor.h"

#include "app/views/ArchiveTreeModel.h"
#include "app/views/SizeText.h"

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>
#include <QTest>
#include <QTreeView>

#include <functional>
#include <map>
#include <random>
#include <set>

using namespace larkspan;
using fixtures::TestDocument;
using fixtures::textBytes;

namespace {

QString nameAt(const QModelIndex& index)
{
    return index.siblingAtColumn(ArchiveTreeModel::NameColumn).data().toString();
}

// Every row and data signal of the model, in order, as readable lines.
struct SignalLog {
    QStringList lines;

    explicit SignalLog(ArchiveTreeModel& model)
    {
        const auto rows = [this](const char* what) {
            return [this, what](const QModelIndex& parent, int first, int last) {
                lines << QStringLiteral("%1 %2 %3-%4").arg(what, nameAt(parent)).arg(first).arg(last);
            };
        };
        QObject::connect(&model, &QAbstractItemModel::rowsAboutToBeInserted, rows("will insert"));
        QObject::connect(&model, &QAbstractItemModel::rowsInserted, rows("inserted"));
        QObject::connect(&model, &QAbstractItemModel::rowsAboutToBeRemoved, rows("will remove"));
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved, rows("removed"));
        QObject::connect(&model, &QAbstractItemModel::dataChanged, [this](const QModelIndex& from, const QModelIndex& to) {
            lines << QStringLiteral("changed %1 %2").arg(nameAt(from), from.column() ? "size" : "name") +
                         (from == to ? QString() : QStringLiteral(" and more"));
        });
        QObject::connect(&model, &QAbstractItemModel::layoutChanged, [this] { lines << "layout"; });
        QObject::connect(&model, &QAbstractItemModel::modelReset, [this] { lines << "reset"; });
    }
};

// Checks that the model shows exactly the tree below `index`.
void expectMirrors(const ArchiveTreeModel& model, const RFATreeNode& node, const QModelIndex& index)
{
    QCOMPARE(model.nodeForIndex(index).get(), &node);
    QCOMPARE(model.indexForNode(node), index);
    QCOMPARE(index.data().toString(), QString::fromStdString(node.name()));
    QCOMPARE(index.siblingAtColumn(ArchiveTreeModel::SizeColumn).data().toString(), sizeText(node.fullSize()));
    QCOMPARE(model.rowCount(index), static_cast<int>(node.countOfChildren()));
    for (int row = 0; row < model.rowCount(index); ++row) {
        const QModelIndex child = model.index(row, 0, index);
        QCOMPARE(child.parent(), index);
        expectMirrors(model, *node.objectInChildrenAtIndex(static_cast<std::size_t>(row)), child);
        if (QTest::currentTestFailed())
            return;
    }
}

} // namespace


class ArchiveTreeModelTest : public QObject {
    Q_OBJECT

private slots:
    void announcesEachEditExactly_data()
    {
        QTest::addColumn<std::function<void(TestDocument&)>>("edit");
        QTest::addColumn<QStringList>("expected");

        using Edit = std::function<void(TestDocument&)>;
        QTest::newRow("insertion") << Edit([](TestDocument& d) {
            d.node("objects")->insertObject(RFATreeNode::initWithData(textBytes("x"), "new.con"), 1);
        }) << QStringList{"will insert objects 1-1", "inserted objects 1-1", "changed objects size",
                          "changed bf1942 size"};
        QTest::newRow("removal") << Edit([](TestDocument& d) { d.node("objects")->removeObjectFromChildrenAtIndex(0); })
                                 << QStringList{"will remove objects 0-0", "removed objects 0-0", "changed objects size",
                                                "changed bf1942 size"};
        QTest::newRow("rename of a folder") << Edit([](TestDocument& d) { d.node("objects")->setName("vehicles"); })
                                            << QStringList{"changed vehicles name"};
        QTest::newRow("data change") << Edit([](TestDocument& d) { d.node("objects/tank.con")->setData(textBytes("??")); })
                                     << QStringList{"changed tank.con size", "changed objects size", "changed bf1942 size"};
        // Nodes outside the tree announce to the same hub; the model shows none of them.
        QTest::newRow("detached folder") << Edit([](TestDocument& d) {
            const RFATreeNode::Ptr jeep = d.node("objects/jeep.con");
            d.node("objects")->removeChild(*jeep);
            jeep->setName("gone.con");
            jeep->setData(textBytes("gone"));
            const RFATreeNode::Ptr loose = RFATreeNode::initAsDirectory("loose", d.root());
            loose->appendChild(RFATreeNode::initWithData(textBytes("y"), "y.con", loose));
        }) << QStringList{"will remove objects 1-1", "removed objects 1-1", "changed objects size", "changed bf1942 size"};
    }

    void announcesEachEditExactly()
    {
        QFETCH(std::function<void(TestDocument&)>, edit);
        QFETCH(QStringList, expected);
        TestDocument doc{"init.con", "objects/tank.con", "objects/jeep.con", "textures/"};
        ArchiveTreeModel model;
        model.setArchive(&doc.archive);
        SignalLog log(model);
        edit(doc);
        QCOMPARE(log.lines, expected);
    }

    void followsRandomEditsAndUndo()
    {
        TestDocument doc{"init.con", "objects/tank.con", "objects/a/b/c.con", "textures/", "menu/x.dds"};
        ArchiveTreeModel model;
        model.setArchive(&doc.archive);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        QTreeView view; // a view catching up with every change, as in the window
        view.setModel(&model);
        view.expandAll();
        view.show();
        fixtures::RandomTreeEditor editor(doc.root(), doc.history, 1942);

        // Persistent indexes must follow their nodes: that fails when a row
        // signal is missing or names the wrong row. One may turn invalid only
        // when its node, or a folder above it, left the tree meanwhile.
        std::set<const RFATreeNode*> removed;
        const ObserverToken removals = doc.hub->observe(
            {.properties = {NodeProperty::Children}, .prior = true}, [&](const ChangeReport& r) {
                if (r.isPrior && r.kind == ChangeKind::Removal)
                    removed.insert(r.node.objectInChildrenAtIndex(r.index).get());
            });
        struct Sample {
            QPersistentModelIndex index;
            RFATreeNode::Ptr node;
            std::vector<const RFATreeNode*> chain;
        };
        std::mt19937 random(44);
        for (int step = 0; step < 1500; ++step) {
            std::vector<Sample> samples;
            for (int i = 0; i < 20; ++i) {
                Sample sample{{}, editor.anyNode(), {}};
                sample.index = model.indexForNode(*sample.node);
                for (RFATreeNode::Ptr at = sample.node; at; at = at->parent())
                    sample.chain.push_back(at.get());
                samples.push_back(std::move(sample));
            }
            removed.clear();
            editor.edit();
            if (step % 3 == 2)
                doc.history->endGroup();
            if (random() % 9 == 0) {
                doc.history->endGroup();
                for (int n = static_cast<int>(random() % 3); n > 0 && doc.history->canUndo(); --n)
                    doc.history->undo();
                if (random() % 2 && doc.history->canRedo())
                    doc.history->redo();
            }
            for (const Sample& sample : samples) {
                if (sample.index.isValid())
                    QCOMPARE(QModelIndex(sample.index), model.indexForNode(*sample.node));
                else
                    QVERIFY(std::any_of(sample.chain.begin(), sample.chain.end(),
                                        [&](const RFATreeNode* n) { return removed.contains(n); }));
            }
            if (step % 100 == 0)
                QCoreApplication::processEvents();
        }
        expectMirrors(model, *doc.root(), model.index(0, 0));
        doc.history->endGroup();
        while (doc.history->canUndo())
            doc.history->undo();
        expectMirrors(model, *doc.root(), model.index(0, 0));
    }

    void folderSizesFollowEditsMadeElsewhere()
    {
        TestDocument doc{"objects/tank.con", "objects/parts/wheel.con"};
        TestDocument other{"x.con"};
        ArchiveTreeModel model;
        model.setArchive(&doc.archive);
        const auto sizeOf = [&](std::string_view path) {
            return model.indexForNode(*doc.node(path), ArchiveTreeModel::SizeColumn).data().toString();
        };
        QCOMPARE(sizeOf("objects"), "39 Bytes");
        // Whoever hears of new rows reads sizes that count them.
        QString sizeWhenInserted;
        connect(&model, &QAbstractItemModel::rowsInserted, this, [&] { sizeWhenInserted = sizeOf("objects"); });
        doc.node("objects")->appendChild(RFATreeNode::initWithData(makeSharedBytes(Bytes(1000, 0)), "more.con"));
        QCOMPARE(sizeWhenInserted, "2 KB");
        doc.node("objects")->removeObjectFromChildrenAtIndex(2);

        // Out to another document, changed there (this model hears nothing), back.
        const RFATreeNode::Ptr objects = doc.node("objects");
        doc.root()->removeChild(*objects);
        other.root()->appendChild(objects);
        objects->childWithName("parts")->childWithName("wheel.con")->setData(makeSharedBytes(Bytes(2000, 0)));
        other.root()->removeChild(*objects);
        doc.root()->appendChild(objects);
        QCOMPARE(sizeOf("objects"), "2 KB");
        QCOMPARE(sizeOf("objects/parts"), "2 KB");
        QCOMPARE(sizeOf(""), "2 KB");
    }

    void showsEveryTopLevelNodeAndResets()
    {
        const auto archive = RFAArchive::initWithData(fixtures::plainArchive(
                                                          {{"bf1942/a.con", "a"}, {"readme.txt", "r"}, {"menu/b.con", "b"}}))
                                 .value_or(nullptr);
        const auto hub = std::make_shared<ChangeHub>();
        for (const RFATreeNode::Ptr& root : archive->rootNodes())
            root->setChangeHub(hub);
        ArchiveTreeModel model;
        SignalLog log(model);
        model.setArchive(archive.get());
        QCOMPARE(model.rowCount(), 3);
        expectMirrors(model, *archive->rootNodes()[2], model.index(2, 0));
        QCOMPARE(model.index(1, 0).data().toString(), "readme.txt");

        archive->rootNodes()[2]->appendChild(RFATreeNode::initWithData(textBytes("c"), "c.con"));
        model.setArchive(nullptr);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(log.lines, (QStringList{"reset", "will insert menu 1-1", "inserted menu 1-1", "changed menu size", "reset"}));

    }

    void keepsRemovedNodesUntilTheEventLoopRuns()
    {
        TestDocument doc{"objects/tank.con"};
        doc.root()->setUndoManager(nullptr); // nothing else holds a removed node
        ArchiveTreeModel model;
        model.setArchive(&doc.archive);
        std::weak_ptr<RFATreeNode> objects = doc.node("objects");
        doc.root()->removeObjectFromChildrenAtIndex(0);
        QVERIFY(!objects.expired());
        QCoreApplication::processEvents();
        QVERIFY(objects.expired());
    }
};

QTEST_MAIN(ArchiveTreeModelTest)
#include "ArchiveTreeModelTest.moc"
