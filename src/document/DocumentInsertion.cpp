#include "document/DocumentInsertion.h"

#include "document/ArchiveDocument.h"

#include "document/EntryNames.h"
#include "document/MoveRule.h"
#include "model/FileSystemImport.h"
#include "model/UndoHistory.h"

#include <algorithm>

namespace larkspan {

namespace {

std::filesystem::path withoutTrailingSeparator(const std::filesystem::path& path)
{
    return path.has_filename() ? path : path.parent_path();
}

} // namespace

DocumentInsertion::DocumentInsertion(ArchiveDocument& document, DocumentHost& host, Translator translate)
    : document_(document), host_(host), translate_(translate)
{
}

void DocumentInsertion::startAddingFilesWithNames(std::vector<std::filesystem::path> paths, RFATreeNode::Ptr node,
                                                std::size_t index)
{
    Pending insertion;
    insertion.destination = std::move(node);
    insertion.index = index;
    insertion.fromDisk = true;
    insertion.step = EditStep::AddFiles;
    for (std::filesystem::path& path : paths)
        insertion.paths.push_back(withoutTrailingSeparator(path));
    start(std::move(insertion));
}

void DocumentInsertion::startCoypingNodes(const std::vector<RFATreeNode::Ptr>& nodes, RFATreeNode::Ptr node,
                                        std::size_t index)
{
    Pending insertion;
    insertion.destination = std::move(node);
    insertion.index = index;
    insertion.step = EditStep::Copy;
    // Copies, so that the originals (perhaps of another archive) stay as they are.
    for (const RFATreeNode::Ptr& original : nodes)
        insertion.nodes.push_back({original->copy(), {}, 0});
    start(std::move(insertion));
}

void DocumentInsertion::startMovingNodes(const std::vector<RFATreeNode::Ptr>& nodes, RFATreeNode::Ptr node,
                                       std::size_t index)
{
    if (pending_ || !node)
        return host_.beep();
    // Into itself, or out of no folder at all (a root): nothing to do.
    if (wouldEnterItself(nodes, *node) ||
        std::any_of(nodes.begin(), nodes.end(), [](const RFATreeNode::Ptr& moved) { return !moved->parent(); }))
        return host_.beep();
    Pending insertion;
    insertion.destination = node;
    insertion.index = index;
    insertion.step = EditStep::Move;
    document_.undoHistory()->setActionName(editStepName(insertion.step));
    // Every entry leaves its folder before any is inserted. Each is taken
    // out by identity (never a same-named sibling with it), and the
    // insertion point follows entries taken from before it in the
    // destination itself.
    for (const RFATreeNode::Ptr& moved : nodes) {
        const RFATreeNode::Ptr origin = moved->parent();
        const std::optional<std::size_t> at = moved->indexInParent();
        if (at) {
            if (origin == node && *at < insertion.index)
                --insertion.index;
            // From another document: one step of both histories.
            const UndoHistory::JoinedGroup joined = document_.undoHistory()->join(origin->undoManager());
            origin->removeChild(*moved);
        }
        insertion.nodes.push_back({moved, at ? origin : nullptr, at.value_or(0)});
    }
    start(std::move(insertion));
}

void DocumentInsertion::start(Pending insertion)
{
    if (pending_ || !insertion.destination || insertion.destination->isLeaf())
        return host_.beep();
    insertion.index = std::min(insertion.index, insertion.destination->countOfChildren());
    document_.undoHistory()->setActionName(editStepName(insertion.step));
    pending_ = std::move(insertion);
    resume();
}

void DocumentInsertion::resume()
{
    Pending& s = *pending_;
    const RFATreeNode::Ptr destination = s.destination;
    while (!s.paths.empty() || !s.nodes.empty()) {
        const std::string name =
            s.fromDisk ? s.paths.front().filename().string() : s.nodes.front().node->name();
        if (!isStorableName(name)) {
            s.problems.push_back(unstorableNameProblem(name, translate_));
            dropFirstPending();
            continue;
        }
        if (const RFATreeNode::Ptr existing = childNamedIgnoringCase(*destination, name)) {
            if (s.leaveAll) {
                dropFirstPending();
                continue;
            }
            if (!s.replaceAll && !s.replaceFirst)
                return askAboutConflict(existing->name(), !existing->isLeaf());
            removeConflicting(name);
        }
        s.replaceFirst = false;

        RFATreeNode::Ptr entry;
        if (s.fromDisk) {
            const std::filesystem::path path = s.paths.front();
            s.paths.pop_front();
            std::vector<SkippedImport> skipped;
            entry = nodeFromFile(path, destination, &skipped);
            for (const SkippedImport& problem : skipped)
                s.problems.push_back(
                    problem.problem == ImportProblem::UnstorableName
                        ? unstorableNameProblem(problem.path.filename().string(), translate_)
                        : fillPlaceholders(tr("\"%@\" could not be read and was left out."), {problem.path.string()}));
            if (!entry) {
                s.problems.push_back(fillPlaceholders(tr("\"%@\" no longer exists."), {path.string()}));
                continue;
            }
        } else {
            entry = s.nodes.front().node;
            s.nodes.pop_front();
        }
        destination->insertObject(entry, std::min(s.index, destination->countOfChildren()));
        ++s.index;
    }
    finish();
}

void DocumentInsertion::askAboutConflict(const std::string& name, bool existingIsFolder)
{
    const Pending& s = *pending_;
    ReplaceQuestion question;
    question.name = name;
    question.existingIsFolder = existingIsFolder;
    question.showDoForAll = s.paths.size() + s.nodes.size() > 1;
    question.messageText = fillPlaceholders(tr("%@ already exists."), {name});
    question.informativeText = fillPlaceholders(
        existingIsFolder ? tr("Do you wish to replace %@? All it's contents will be replaced with those of the new folder.")
                         : tr("Do you wish to replace %@ with the new file?"),
        {name});
    // The document owns this insertion: while it lives, so does this.
    host_.askReplace(question, [self = document_.weak_from_this(), this](ReplaceAnswer answer) {
        if (const std::shared_ptr<ArchiveDocument> document = self.lock())
            answerConflict(answer);
    });
}

void DocumentInsertion::answerConflict(ReplaceAnswer answer)
{
    if (!pending_)
        return;
    Pending& s = *pending_;
    document_.undoHistory()->setActionName(editStepName(s.step));
    switch (answer.choice) {
    case ReplaceChoice::Replace:
        s.replaceFirst = true;
        s.replaceAll = s.replaceAll || answer.forAll;
        break;
    case ReplaceChoice::Keep:
        s.leaveAll = s.leaveAll || answer.forAll;
        dropFirstPending();
        break;
    case ReplaceChoice::Dismissed:
        // Closing the question without an answer stops the insertion:
        // asking again at once would never end.
        while (!s.paths.empty() || !s.nodes.empty())
            dropFirstPending();
        break;
    }
    resume();
}

void DocumentInsertion::dropFirstPending()
{
    Pending& s = *pending_;
    if (s.fromDisk) {
        s.paths.pop_front();
        return;
    }
    // A moved entry that is not inserted goes back where it came from,
    // rather than floating in no folder.
    const MovedNode moved = s.nodes.front();
    s.nodes.pop_front();
    const RFATreeNode::Ptr origin = moved.origin.lock();
    if (origin && !moved.node->indexInParent() && !origin->isLeaf()) {
        const UndoHistory::JoinedGroup joined = document_.undoHistory()->join(origin->undoManager());
        origin->insertObject(moved.node, std::min(moved.originIndex, origin->countOfChildren()));
    }
}

void DocumentInsertion::removeConflicting(const std::string& name)
{
    Pending& s = *pending_;
    // Every sibling the game would confuse with the new entry goes; those
    // before the insertion point move it back with them.
    while (const RFATreeNode::Ptr existing = childNamedIgnoringCase(*s.destination, name)) {
        if (existing->indexInParent().value() < std::min(s.index, s.destination->countOfChildren()))
            --s.index;
        s.destination->removeChild(*existing);
    }
}

void DocumentInsertion::finish()
{
    const std::vector<std::string> problems = std::move(pending_->problems);
    pending_.reset();
    if (!problems.empty())
        host_.reportProblems(problems);
    document_.browse().refreshResults();
}

} // namespace larkspan
