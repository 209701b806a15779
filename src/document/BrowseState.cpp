#include "document/BrowseState.h"

#include "document/ArchiveDocument.h"
#include "document/EntryList.h"
#include "model/SearchPredicate.h"

namespace larkspan {

BrowseState::BrowseState(Announce announce, EntryList& results, const ArchiveDocument& document)
    : announce_(std::move(announce)), results_(results), document_(document)
{
}

void BrowseState::setViewMode(std::uint32_t mode)
{
    announce_(DocumentProperty::ViewMode, true);
    announce_(DocumentProperty::TabToShow, true);
    viewMode_ = mode;
    announce_(DocumentProperty::ViewMode, false);
    announce_(DocumentProperty::TabToShow, false);
}

void BrowseState::search(std::string text)
{
    enterSearch(std::move(text));
    updateSearchPredicate();
}

void BrowseState::enterSearch(std::string text)
{
    searchText_ = std::move(text);
    if (!inSearchMode_) {
        announce_(DocumentProperty::TabToShow, true);
        inSearchMode_ = true;
        announce_(DocumentProperty::TabToShow, false);
    }
}

void BrowseState::showResults(const std::string& text, std::vector<RFATreeNode::Ptr> found)
{
    if (inSearchMode_ && text == searchText_)
        results_.set(std::move(found));
}

void BrowseState::cancelSearch()
{
    announce_(DocumentProperty::TabToShow, true);
    inSearchMode_ = false;
    searchText_.clear();
    announce_(DocumentProperty::TabToShow, false);
}

void BrowseState::setSearchDefaults(bool searchFilenames, bool searchFileContents)
{
    searchFilenames_ = searchFilenames;
    searchFileContents_ = searchFileContents;
    updateSearchPredicate();
}

void BrowseState::updateSearchPredicate()
{
    // In tree order, the top-level trees one after another.
    const RFATreeNode::Predicate rule = searchPredicate(searchText_, searchFilenames_, searchFileContents_);
    std::vector<RFATreeNode::Ptr> found;
    for (const RFATreeNode::Ptr& top : document_.topLevelNodes()) {
        std::vector<RFATreeNode::Ptr> below = top->nodesMatchingPredicate(rule);
        found.insert(found.end(), below.begin(), below.end());
    }
    results_.set(std::move(found));
}

void BrowseState::refreshResults()
{
    if (inSearchMode_)
        updateSearchPredicate();
}

} // namespace larkspan
