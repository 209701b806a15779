// Announcements and undo registration in a 100 000-node tree: what opening
// costs (the whole ArchiveDocument::readFromData, and the part that gives the
// tree its change hub and undo history), and renaming a folder with 10 000
// descendants, then undoing it, with
//   (a) no observers,
//   (b) one global observer of fullPath (as a search results view has),
//   (c) one global observer of fullPath that asks for old and prior values,
// against the same rename in a tree attached to no hub and no history, all in
// the same run.
//
//   bench_announce [--rounds=N]

#include "QuietHost.h"
#include "Rounds.h"

#include "model/RFAArchive.h"
#include "document/ArchiveDocument.h"
#include "model/ChangeHub.h"
#include "model/UndoHistory.h"

#include <cstdio>
#include <string>

namespace {

using namespace larkspan;
using namespace larkspan::bench;

constexpr const char* kRenamed = "objects";
constexpr const char* kOtherName = "vehicles";

RFATreeNode::Ptr addFolder(const RFATreeNode::Ptr& parent, const std::string& name)
{
    RFATreeNode::Ptr folder = RFATreeNode::initAsDirectory(name, parent);
    parent->appendChild(folder);
    return folder;
}

// `folders` folders of `files` script files each.
void fillFolder(const RFATreeNode::Ptr& parent, int folders, int files)
{
    for (int f = 0; f < folders; ++f) {
        const RFATreeNode::Ptr folder = addFolder(parent, "folder_" + std::to_string(f));
        for (int i = 0; i < files; ++i) {
            const std::string text = "rem " + std::to_string(f) + "/" + std::to_string(i) + "\r\n";
            folder->appendChild(RFATreeNode::initWithData(makeSharedBytes(Bytes(text.begin(), text.end())),
                                                          "file_" + std::to_string(i) + ".con", folder));
        }
    }
}

// bf1942 with objects (100 folders x 99 files: 10 000 descendants), levels
// (899 x 99) and menu (96 files): 100 000 nodes, written as an archive.
Bytes hundredThousandNodeArchive()
{
    RFAArchive archive;
    const RFATreeNode::Ptr root = archive.root();
    fillFolder(addFolder(root, kRenamed), 100, 99);
    fillFolder(addFolder(root, "levels"), 899, 99);
    const RFATreeNode::Ptr menu = addFolder(root, "menu");
    for (int i = 0; i < 96; ++i)
        menu->appendChild(RFATreeNode::initWithData(makeSharedBytes(Bytes{'x'}), "menu_" + std::to_string(i) + ".con", menu));
    const std::size_t nodes = root->nodesMatchingPredicate([](const RFATreeNode&) { return true; }).size();
    std::printf("tree: %zu nodes, %llu files\n", nodes, static_cast<unsigned long long>(root->leafCount()));
    return *archive.completeFileData();
}

void toggleName(RFATreeNode& folder)
{
    folder.setName(folder.name() == kRenamed ? kOtherName : kRenamed);
}

// One way of holding the tree, and its rename and undo as tasks.
struct Setup {
    std::string label;
    RFATreeNode::Ptr folder;
    std::shared_ptr<UndoHistory> history; // null for the detached tree

    void rename() const
    {
        toggleName(*folder);
        if (history)
            history->endGroup();
    }
    void undo() const
    {
        if (history)
            history->undo();
        else
            toggleName(*folder);
    }
};

void printGoal(const std::string& what, double seconds, double goal)
{
    std::printf("    %s %s: goal < %s %s\n", what.c_str(), milliseconds(seconds).c_str(), milliseconds(goal).c_str(),
                seconds < goal ? "met" : "NOT met");
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = takeRounds(argc, argv, 11);
    startReport("bench_announce");
    const Bytes bytes = hundredThousandNodeArchive();
    QuietHost host;

    // Opening.
    std::shared_ptr<ArchiveDocument> document;
    std::unique_ptr<RFAArchive> archive;
    std::shared_ptr<ChangeHub> hub;
    std::shared_ptr<UndoHistory> history;
    const std::vector<double> open = medianSeconds(
        {
            {"readFromData", [&] { (void)document->readFromData(bytes, std::nullopt); },
             [&] {
                 document.reset();
                 document = ArchiveDocument::create(host);
             }},
            {"initWithData", [&] { archive = RFAArchive::initWithData(bytes).value_or(nullptr); }, [&] { archive.reset(); }},
            {"hub + history",
             [&] {
                 for (const RFATreeNode::Ptr& top : archive->rootNodes()) {
                     top->setChangeHub(hub);
                     top->setUndoManager(history);
                 }
             },
             [&] {
                 archive = RFAArchive::initWithData(bytes).value_or(nullptr);
                 hub = std::make_shared<ChangeHub>();
                 history = std::make_shared<UndoHistory>();
             }},
        },
        rounds);
    std::printf("opening the 100 000-node archive (median of %d rounds):\n", rounds);
    printComparison("RFAArchive::initWithData (parse + tree) " + milliseconds(open[1]),
                    "ArchiveDocument::readFromData, the whole read " + milliseconds(open[0]), Ratio::Time,
                    open[1] / open[0]);
    printComparison("setChangeHub + setUndoManager on the root " + milliseconds(open[2]),
                    "ArchiveDocument::readFromData, the whole read " + milliseconds(open[0]), Ratio::Time,
                    open[2] / open[0]);

    // Renaming: one document per observer set, and a tree of no document.
    std::vector<std::shared_ptr<ArchiveDocument>> documents;
    std::vector<Setup> setups;
    for (const char* label : {"(a) no observers", "(b) global fullPath observer",
                              "(c) global fullPath observer with old and prior values"}) {
        documents.push_back(ArchiveDocument::create(host));
        (void)documents.back()->readFromData(bytes, std::nullopt);
        setups.push_back({label, documents.back()->archive().root()->childWithName(kRenamed),
                          documents.back()->undoHistory()});
    }
    std::uint64_t told = 0, oldBytes = 0;
    const ObserverToken plain = documents[1]->changeHub()->observe(
        {nullptr, {NodeProperty::FullPath}, false, false}, [&](const ChangeReport&) { ++told; });
    const ObserverToken withOld = documents[2]->changeHub()->observe(
        {nullptr, {NodeProperty::FullPath}, true, true}, [&](const ChangeReport& report) {
            ++told;
            if (const std::string* old = std::get_if<std::string>(&report.oldValue))
                oldBytes += old->size();
        });
    archive = RFAArchive::initWithData(bytes).value_or(nullptr);
    setups.push_back({"detached", archive->root()->childWithName(kRenamed), nullptr});

    for (std::size_t i = 1; i < 3; ++i) {
        told = oldBytes = 0;
        setups[i].rename();
        setups[i].undo();
        std::printf("%s: %llu reports for a rename and its undo, carrying %llu bytes of old paths\n",
                    setups[i].label.c_str(), static_cast<unsigned long long>(told),
                    static_cast<unsigned long long>(oldBytes));
    }

    std::vector<TimedTask> tasks;
    for (const Setup& setup : setups) {
        tasks.push_back({"rename " + setup.label, [&setup] { setup.rename(); }});
        tasks.push_back({"undo " + setup.label, [&setup] { setup.undo(); }, [&setup] { setup.rename(); }});
    }
    const std::vector<double> seconds = medianSeconds(tasks, rounds);
    const double anchor = seconds[2 * 3];
    const std::string anchorText = "the same rename, tree attached to no hub and no history, " + milliseconds(anchor);
    std::printf("renaming a folder with 10 000 descendants (median of %d rounds):\n", rounds);
    for (std::size_t i = 0; i < 3; ++i) {
        printComparison("rename " + setups[i].label + " " + milliseconds(seconds[2 * i]), anchorText, Ratio::Time,
                        seconds[2 * i] / anchor);
        printGoal("rename", seconds[2 * i], 0.050);
        printComparison("undo of it " + milliseconds(seconds[2 * i + 1]), anchorText, Ratio::Time,
                        seconds[2 * i + 1] / anchor);
        printGoal("undo", seconds[2 * i + 1], 0.050);
    }
    std::printf("bench_announce done: %s\n", machineLoad().c_str());
    return 0;
}
