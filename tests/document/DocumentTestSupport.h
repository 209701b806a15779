#pragma once

#include "document/ArchiveDocument.h"
#include "document/StatusBarText.h"
#include "document/FakeHost.h"
#include "support/ArchiveBytes.h"
#include "support/PathComponents.h"
#include "model/UndoHistory.h"

#include <gtest/gtest.h>

namespace larkspan::fixtures {

// The tree as text: names in child order, folders with their children in
// braces, file sizes in brackets: "bf1942{a.con[3],objects{}}".
inline std::string describe(const RFATreeNode& node)
{
    std::string out = node.name();
    if (node.isLeaf())
        return out + "[" + std::to_string(node.data()->size()) + "]";
    out += "{";
    for (std::size_t i = 0; i < node.countOfChildren(); ++i)
        out += (i ? "," : "") + describe(*node.objectInChildrenAtIndex(i));
    return out + "}";
}

using Entries = std::vector<std::pair<std::string, std::string>>;

// A document read from an archive holding these entries (path → content).
struct DocumentFixture {
    FakeHost host;
    std::shared_ptr<ArchiveDocument> document = ArchiveDocument::create(host);

    explicit DocumentFixture(const Entries& entries = Entries{{"bf1942/a.con", "aaa"}})
    {
        const Bytes file = plainArchive(entries);
        EXPECT_TRUE(document->readFromData(file, std::nullopt));
    }

    RFATreeNode::Ptr root() const { return document->archive().root(); }
    RFATreeNode::Ptr at(const std::string& relative) const
    {
        return root()->childWithPathArray(pathComponents(relative));
    }
    std::string tree() const { return describe(*root()); }
    // The entries at these paths ("" is the root).
    std::vector<RFATreeNode::Ptr> nodes(const std::vector<std::string>& paths) const
    {
        std::vector<RFATreeNode::Ptr> found;
        for (const std::string& path : paths)
            found.push_back(path.empty() ? root() : at(path));
        return found;
    }
    // Selects them, as the window would.
    void select(const std::vector<std::string>& paths) { document->selection().set(nodes(paths)); }
    std::string status() const { return statusBarText(*document, nullptr); }
    BrowseState& browse() const { return document->browse(); }
    DocumentCommands& commands() const { return document->commands(); }
    DocumentInsertion& insertion() const { return document->insertion(); }
    const std::vector<RFATreeNode::Ptr>& found() const { return document->foundEntries().nodes(); }
    UndoHistory& history() const { return *document->undoHistory(); }
    // Ends the user event and checks that undo and redo of it restore the
    // tree before and after it exactly.
    void expectUndoRedoRestores(const std::string& before)
    {
        history().endGroup();
        const std::string after = tree();
        history().undo();
        EXPECT_EQ(tree(), before) << "after undo";
        history().redo();
        EXPECT_EQ(tree(), after) << "after redo";
    }
};

} // namespace larkspan::fixtures
