#pragma once

#include "document/DocumentProperty.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace larkspan {

class ArchiveDocument;
class EntryList;
class RFATreeNode;

// Which pane the window shows and what the search looks for: the view mode,
// the search mode, the search text and the two defaults that say whether
// names and contents are searched. A change of any of them searches again.
class BrowseState {
public:
    BrowseState(Announce announce, EntryList& results, const ArchiveDocument& document);

    // View mode: 0 the column browser, 1 the outline list.
    std::uint32_t viewMode() const { return viewMode_; }
    void setViewMode(std::uint32_t mode);
    // 2 while searching, otherwise the view mode.
    int tabToShow() const { return inSearchMode_ ? 2 : static_cast<int>(viewMode_); }
    bool inSearchMode() const { return inSearchMode_; }

    void search(std::string text);
    // Search mode with this text, the results left as they are until
    // showResults() brings those of a search run elsewhere.
    void enterSearch(std::string text);
    // The results of a search for `text` run elsewhere; dropped when the
    // search has moved on (another text, or no search mode).
    void showResults(const std::string& text, std::vector<std::shared_ptr<RFATreeNode>> found);
    void cancelSearch();
    const std::string& searchText() const { return searchText_; }
    void setSearchDefaults(bool searchFilenames, bool searchFileContents);
    bool searchesFilenames() const { return searchFilenames_; }
    bool searchesFileContents() const { return searchFileContents_; }
    // Searches the trees again, as they are now.
    void updateSearchPredicate();
    // Searches again while the results are shown: after an edit.
    void refreshResults();

private:
    Announce announce_;
    EntryList& results_;
    const ArchiveDocument& document_;
    std::uint32_t viewMode_ = 0;
    bool inSearchMode_ = false;
    std::string searchText_;
    bool searchFilenames_ = false;
    bool searchFileContents_ = false;
};

} // namespace larkspan
