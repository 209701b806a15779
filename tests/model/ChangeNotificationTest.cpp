#include "model/ChangeHub.h"
#include "model/RFAArchive.h"
#include "support/ArchiveBytes.h"
#include "model/RFATreeNode.h"
#include "model/UndoHistory.h"

#include <gtest/gtest.h>

namespace larkspan {
namespace {

using fixtures::textBytes;

// Writes every report as "will|did property node[ +i|-i]".
struct Recorder {
    std::vector<std::string> log;
    ObserverToken token;

    Recorder(ChangeHub& hub, ObserverOptions options = {})
    {
        options.prior = true;
        token = hub.observe(options, [this](const ChangeReport& r) {
            std::string line = std::string(r.isPrior ? "will " : "did ") + propertyName(r.property) + " " +
                               r.node.name();
            if (r.kind == ChangeKind::Insertion)
                line += " +" + std::to_string(r.index);
            if (r.kind == ChangeKind::Removal)
                line += " -" + std::to_string(r.index);
            log.push_back(line);
        });
    }
};

// A tree as a document holds it: read from an archive, then joined to the
// document's hub and history.
struct Document {
    std::unique_ptr<RFAArchive> archive =
        RFAArchive::initWithData(fixtures::plainArchive({{"bf1942/objects/tank.con", "tank"}})).value_or(nullptr);
    std::shared_ptr<ChangeHub> hub = std::make_shared<ChangeHub>();
    std::shared_ptr<UndoHistory> history = std::make_shared<UndoHistory>();
    RFATreeNode::Ptr root = archive->root();

    Document()
    {
        root->setChangeHub(hub);
        root->setUndoManager(history);
    }
    RFATreeNode::Ptr objects() const { return root->childWithName("objects"); }
    RFATreeNode::Ptr tank() const { return objects()->childWithName("tank.con"); }
};

TEST(ChangeNotification, InsertionAnnouncesChildrenThenAncestry)
{
    Document doc;
    const RFATreeNode::Ptr folder = RFATreeNode::initAsDirectory("new");
    Recorder recorder(*doc.hub, {.properties = {NodeProperty::Children, NodeProperty::FullSize,
                                                NodeProperty::FlattenedTree}});
    doc.objects()->insertObject(folder, 0);
    EXPECT_EQ(recorder.log, (std::vector<std::string>{
                                "will children objects +0", "will flattenedTree objects",
                                "will flattenedTree bf1942", "will fullSize objects", "will fullSize bf1942",
                                "did children objects +0", "did flattenedTree objects",
                                "did flattenedTree bf1942", "did fullSize objects", "did fullSize bf1942"}));
}

TEST(ChangeNotification, InsertedSubtreeTakesHistoryHubAndParent)
{
    Document doc;
    const RFATreeNode::Ptr folder = RFATreeNode::initAsDirectory("new");
    folder->addFileWithData(textBytes("x"), "inner.con");
    Recorder recorder(*doc.hub, {.properties = {NodeProperty::Parent, NodeProperty::UndoManager,
                                                NodeProperty::FullPath}});
    doc.root->appendChild(folder);
    EXPECT_EQ(recorder.log, (std::vector<std::string>{
                                "will undoManager new", "did undoManager new", "will undoManager inner.con",
                                "did undoManager inner.con", "will parent new", "will fullPath new",
                                "will fullPath inner.con", "did parent new", "did fullPath new",
                                "did fullPath inner.con"}));
    EXPECT_EQ(folder->childWithName("inner.con")->undoManager(), doc.history);
    EXPECT_EQ(folder->childWithName("inner.con")->changeHub(), doc.hub);
}

TEST(ChangeNotification, RemovalAnnouncesThePosition)
{
    Document doc;
    doc.root->addFileWithData(textBytes("a"), "a.con");
    Recorder recorder(*doc.hub, {.properties = {NodeProperty::Children}});
    doc.root->removeObjectFromChildrenAtIndex(1);
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"will children bf1942 -1", "did children bf1942 -1"}));
}

TEST(ChangeNotification, RenameAnnouncesDerivedPropertiesAndEveryPathBelow)
{
    Document doc;
    Recorder recorder(*doc.hub);
    doc.objects()->setName("vehicles");
    EXPECT_EQ(recorder.log, (std::vector<std::string>{
                                "will name objects", "will isText objects", "will isImage objects",
                                "will contents objects", "will image objects", "will fullPath objects",
                                "will fullPath tank.con", "did name vehicles", "did isText vehicles",
                                "did isImage vehicles", "did contents vehicles", "did image vehicles",
                                "did fullPath vehicles", "did fullPath tank.con"}));
}

TEST(ChangeNotification, DataChangeAnnouncesSizeUpToTheRoot)
{
    Document doc;
    Recorder recorder(*doc.hub);
    doc.tank()->setData(textBytes("a bigger tank"));
    EXPECT_EQ(recorder.log, (std::vector<std::string>{
                                "will data tank.con", "will contents tank.con", "will image tank.con",
                                "will fullSize tank.con", "will fullSize objects", "will fullSize bf1942",
                                "did data tank.con", "did contents tank.con", "did image tank.con",
                                "did fullSize tank.con", "did fullSize objects", "did fullSize bf1942"}));
}

TEST(ChangeNotification, SetContentsBracketsItsDataChange)
{
    Document doc;
    Recorder recorder(*doc.hub, {.properties = {NodeProperty::Contents, NodeProperty::Data}});
    EXPECT_EQ(doc.tank()->setContents("t\u00e9"), SetContentsResult::Changed);
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"will contents tank.con", "will data tank.con",
                                                      "will contents tank.con", "did data tank.con",
                                                      "did contents tank.con", "did contents tank.con"}));
    EXPECT_EQ(*doc.tank()->data(), (Bytes{'t', 0xE9}));
}

TEST(ChangeNotification, OldValuesAreTakenBeforeTheChange)
{
    Document doc;
    std::vector<std::string> oldPaths;
    std::uint64_t oldRootSize = 0;
    const ObserverToken paths = doc.hub->observe(
        {.properties = {NodeProperty::FullPath}, .oldValue = true},
        [&](const ChangeReport& r) { oldPaths.push_back(std::get<std::string>(r.oldValue)); });
    const ObserverToken size = doc.hub->observe(
        {.node = doc.root.get(), .properties = {NodeProperty::FullSize}, .oldValue = true},
        [&](const ChangeReport& r) { oldRootSize = std::get<std::uint64_t>(r.oldValue); });
    const RFATreeNode::Ptr tank = doc.tank();
    doc.objects()->setName("vehicles");
    EXPECT_EQ(oldPaths, (std::vector<std::string>{"bf1942/objects/", "bf1942/objects/tank.con"}));
    tank->setData(textBytes("1234567"));
    EXPECT_EQ(oldRootSize, 4u);
    EXPECT_EQ(doc.root->fullSize(), 7u);
}

TEST(ChangeNotification, ObserversFilterByNodeAndCanLeaveWhileBeingTold)
{
    Document doc;
    int tankReports = 0;
    const RFATreeNode::Ptr tank = doc.tank();
    ObserverToken tankOnly = doc.hub->observe({.node = tank.get(), .properties = {NodeProperty::Name}},
                                              [&](const ChangeReport&) { ++tankReports; });
    doc.objects()->setName("vehicles");
    EXPECT_EQ(tankReports, 0);
    tank->setName("panzer.con");
    EXPECT_EQ(tankReports, 1);

    ObserverToken selfRemoving;
    int calls = 0;
    selfRemoving = doc.hub->observe({.properties = {NodeProperty::Name}}, [&](const ChangeReport&) {
        ++calls;
        selfRemoving.reset();
    });
    doc.root->setName("mod");
    doc.root->setName("bf1942");
    EXPECT_EQ(calls, 1);
    tankOnly.reset();
    EXPECT_FALSE(doc.hub->isObserved(NodeProperty::Name));
}

TEST(ChangeNotification, RenamesRegisterWithTheCurrentHistoryOnly)
{
    Document first;
    Document second;
    const RFATreeNode::Ptr tank = first.tank();
    first.objects()->removeChild(*tank);
    first.history->endGroup();
    second.root->appendChild(tank);
    second.history->endGroup();
    tank->setName("moved.con");
    second.history->endGroup();
    EXPECT_EQ(second.history->undoActionName(), "");
    second.history->undo();
    EXPECT_EQ(tank->name(), "tank.con");
    EXPECT_THROW(first.history->undo(), std::logic_error) << "the entry still sits in the second document";
    second.history->undo();
    first.history->undo();
    EXPECT_EQ(tank->parent(), first.objects());
    EXPECT_FALSE(first.history->canUndo()) << "the first document never saw the rename";
}

TEST(ChangeNotification, ReadingAndJoiningRegisterNothing)
{
    Document doc;
    EXPECT_FALSE(doc.history->canUndo());
    EXPECT_FALSE(doc.history->isModified());
    EXPECT_EQ(doc.tank()->undoManager(), doc.history);
    EXPECT_EQ(doc.tank()->changeHub(), doc.hub);
}

} // namespace
} // namespace larkspan
