#pragma once

#include "base/Translator.h"
#include "document/DocumentHost.h"
#include "document/EditSteps.h"
#include "model/RFATreeNode.h"

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace larkspan {

class ArchiveDocument;

// Putting entries into a folder one after another, asking before one
// replaces another of the same name. The question is answered later, so the
// state lives here between the question and the answer; one insertion at a
// time per document.
class DocumentInsertion {
public:
    DocumentInsertion(ArchiveDocument& document, DocumentHost& host, Translator translate);

    void startAddingFilesWithNames(std::vector<std::filesystem::path> paths, RFATreeNode::Ptr node, std::size_t index);
    void startCoypingNodes(const std::vector<RFATreeNode::Ptr>& nodes, RFATreeNode::Ptr node, std::size_t index);
    void startMovingNodes(const std::vector<RFATreeNode::Ptr>& nodes, RFATreeNode::Ptr node, std::size_t index);
    bool isInserting() const { return pending_.has_value(); }

private:
    struct MovedNode {
        RFATreeNode::Ptr node;
        std::weak_ptr<RFATreeNode> origin; // where it came from, to go back when kept out
        std::size_t originIndex = 0;
    };
    struct Pending {
        RFATreeNode::Ptr destination;
        std::size_t index = 0;
        std::deque<std::filesystem::path> paths;
        std::deque<MovedNode> nodes;
        bool fromDisk = false;
        EditStep step = EditStep::Copy;
        bool replaceAll = false;
        bool leaveAll = false;
        bool replaceFirst = false;
        std::vector<std::string> problems;
    };

    void start(Pending insertion);
    void resume();
    void askAboutConflict(const std::string& name, bool existingIsFolder);
    void answerConflict(ReplaceAnswer answer);
    void dropFirstPending();
    void removeConflicting(const std::string& name);
    void finish();
    std::string tr(const char* text) const { return translated(translate_, text); }

    ArchiveDocument& document_;
    DocumentHost& host_;
    Translator translate_;
    std::optional<Pending> pending_;
};

} // namespace larkspan
