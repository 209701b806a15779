#pragma once

// A document's archive as the app layer sees it: trees with a change hub and
// an undo history, built from paths ("a/b.con" a file holding its own path,
// "a/c/" a folder).

#include "model/RFAArchive.h"
#include "support/ArchiveBytes.h"
#include "support/PathComponents.h"
#include "model/ChangeHub.h"
#include "model/UndoHistory.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace larkspan::fixtures {

struct TestDocument {
    RFAArchive archive;
    std::shared_ptr<ChangeHub> hub = std::make_shared<ChangeHub>();
    std::shared_ptr<UndoHistory> history = std::make_shared<UndoHistory>();

    // Paths below the root folder "bf1942".
    explicit TestDocument(std::initializer_list<std::string_view> paths)
    {
        for (std::string_view path : paths) {
            if (path.ends_with('/'))
                folder(root(), pathComponents(path));
            else
                root()->addFileWithData(textBytes(path), path);
        }
        root()->setChangeHub(hub);
        root()->setUndoManager(history);
    }

    RFATreeNode::Ptr root() const { return archive.root(); }
    // "" is the root folder.
    RFATreeNode::Ptr node(std::string_view path) const
    {
        return path.empty() ? root() : root()->childWithPathArray(pathComponents(path));
    }

private:
    static void folder(RFATreeNode::Ptr at, const std::vector<std::string>& names)
    {
        for (const std::string& name : names) {
            RFATreeNode::Ptr next = at->childWithName(name);
            if (!next) {
                next = RFATreeNode::initAsDirectory(name, at);
                at->appendChild(next);
            }
            at = next;
        }
    }
};

} // namespace larkspan::fixtures
