#include "model/ChangeHub.h"
#include "support/ArchiveBytes.h"
#include "model/RFATreeNode.h"
#include "model/UndoHistory.h"

#include <gtest/gtest.h>

#include <functional>

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

// A tree as a document holds it, joined to the document's hub and history.
struct Document {
    std::shared_ptr<ChangeHub> hub = std::make_shared<ChangeHub>();
    std::shared_ptr<UndoHistory> history = std::make_shared<UndoHistory>();
    RFATreeNode::Ptr root = RFATreeNode::init();

    Document()
    {
        root->addFileWithData(textBytes("tank"), "objects/tank.con");
        root->setChangeHub(hub);
        root->setUndoManager(history);
    }
    RFATreeNode::Ptr objects() const { return root->childWithName("objects"); }
    RFATreeNode::Ptr tank() const { return objects()->childWithName("tank.con"); }
};

// Each edit announces exactly these reports, in this order: what changes
// first, then what derives from it, up the ancestry, every "will" before
// every "did".
TEST(ChangeNotification, EachEditAnnouncesItsPropertiesInOrder)
{
    struct Case {
        const char* what;
        PropertySet properties;
        std::function<void(Document&)> edit;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {"insertion", {NodeProperty::Children, NodeProperty::FullSize, NodeProperty::FlattenedTree},
         [](Document& d) { d.objects()->insertObject(RFATreeNode::initAsDirectory("new"), 0); },
         {"will children objects +0", "will flattenedTree objects", "will flattenedTree bf1942",
          "will fullSize objects", "will fullSize bf1942", "did children objects +0", "did flattenedTree objects",
          "did flattenedTree bf1942", "did fullSize objects", "did fullSize bf1942"}},
        {"inserted subtree", {NodeProperty::Parent, NodeProperty::UndoManager, NodeProperty::FullPath},
         [](Document& d) {
             const RFATreeNode::Ptr folder = RFATreeNode::initAsDirectory("new");
             folder->addFileWithData(textBytes("x"), "inner.con");
             d.root->appendChild(folder);
             EXPECT_EQ(folder->childWithName("inner.con")->undoManager(), d.history);
             EXPECT_EQ(folder->childWithName("inner.con")->changeHub(), d.hub);
         },
         {"will undoManager new", "did undoManager new", "will undoManager inner.con", "did undoManager inner.con",
          "will parent new", "will fullPath new", "will fullPath inner.con", "did parent new", "did fullPath new",
          "did fullPath inner.con"}},
        {"removal", {NodeProperty::Children},
         [](Document& d) {
             d.root->addFileWithData(textBytes("a"), "a.con");
             d.root->removeObjectFromChildrenAtIndex(1);
         },
         {"will children bf1942 +1", "did children bf1942 +1", "will children bf1942 -1", "did children bf1942 -1"}},
        {"rename", PropertySet::all(), [](Document& d) { d.objects()->setName("vehicles"); },
         {"will name objects", "will isText objects", "will isImage objects", "will contents objects",
          "will image objects", "will fullPath objects", "will fullPath tank.con", "did name vehicles",
          "did isText vehicles", "did isImage vehicles", "did contents vehicles", "did image vehicles",
          "did fullPath vehicles", "did fullPath tank.con"}},
        {"data change", PropertySet::all(), [](Document& d) { d.tank()->setData(textBytes("a bigger tank")); },
         {"will data tank.con", "will contents tank.con", "will image tank.con", "will fullSize tank.con",
          "will fullSize objects", "will fullSize bf1942", "did data tank.con", "did contents tank.con",
          "did image tank.con", "did fullSize tank.con", "did fullSize objects", "did fullSize bf1942"}},
        {"data change of a removed entry: its old folder stays as it was", {NodeProperty::FullSize},
         [](Document& d) {
             const RFATreeNode::Ptr tank = d.tank();
             d.objects()->removeChild(*tank);
             tank->setData(textBytes("xy"));
         },
         {"will fullSize objects", "will fullSize bf1942", "did fullSize objects", "did fullSize bf1942",
          "will fullSize tank.con", "did fullSize tank.con"}},
        {"set contents", {NodeProperty::Contents, NodeProperty::Data},
         [](Document& d) {
             EXPECT_EQ(d.tank()->setContents("t\u00e9"), SetContentsResult::Changed);
             EXPECT_EQ(*d.tank()->data(), (Bytes{'t', 0xE9}));
         },
         {"will contents tank.con", "will data tank.con", "will contents tank.con", "did data tank.con",
          "did contents tank.con", "did contents tank.con"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Document doc;
        Recorder recorder(*doc.hub, {.properties = c.properties});
        std::size_t plainReports = 0;
        const ObserverToken plain =
            doc.hub->observe({.properties = c.properties}, [&](const ChangeReport&) { ++plainReports; });
        c.edit(doc);
        EXPECT_EQ(recorder.log, c.log);
        EXPECT_EQ(plainReports, c.log.size() / 2) << "an observer that did not ask for \"will\" hears only \"did\"";
    }
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

} // namespace
} // namespace larkspan
