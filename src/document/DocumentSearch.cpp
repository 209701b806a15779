// The search: its two states, the rule and the result set, and the path of
// the one selected result.

#include "document/ArchiveDocument.h"

#include "model/SearchPredicate.h"

namespace larkspan {

void ArchiveDocument::search(std::string text)
{
    searchText_ = std::move(text);
    if (!inSearchMode_) {
        announce(DocumentProperty::TabToShow, true);
        inSearchMode_ = true;
        announce(DocumentProperty::TabToShow, false);
    }
    updateSearchPredicate();
}

void ArchiveDocument::cancelSearch()
{
    announce(DocumentProperty::TabToShow, true);
    inSearchMode_ = false;
    searchText_.clear();
    announce(DocumentProperty::TabToShow, false);
}

void ArchiveDocument::setSearchDefaults(bool searchFilenames, bool searchFileContents)
{
    searchFilenames_ = searchFilenames;
    searchFileContents_ = searchFileContents;
    updateSearchPredicate();
}

void ArchiveDocument::updateSearchPredicate()
{
    announce(DocumentProperty::FoundEntries, true);
    const RFATreeNode::Predicate rule = searchPredicate(searchText_, searchFilenames_, searchFileContents_);
    foundEntries_.clear();
    for (const RFATreeNode::Ptr& top : archive_->rootNodes()) {
        std::vector<RFATreeNode::Ptr> found = top->nodesMatchingPredicate(rule);
        foundEntries_.insert(foundEntries_.end(), found.begin(), found.end());
    }
    announce(DocumentProperty::FoundEntries, false);
}

std::vector<PathComponent> ArchiveDocument::searchPathComponents() const
{
    if (selection_.size() != 1)
        return {};
    std::vector<PathComponent> components;
    for (RFATreeNode::Ptr at = selection_.front(); at; at = at->parent())
        components.insert(components.begin(), {at->name(), at, false});
    components.back().isFile = selection_.front()->isLeaf();
    return components;
}

} // namespace larkspan
