#pragma once

#include <functional>

namespace larkspan {

// Document-level properties whose changes observers are told of, before
// (isPrior) and after.
enum class DocumentProperty {
    Archive, // replaced wholesale by reading a file
    ViewMode,
    TabToShow,
    FoundEntries,
    SaveAndRunEnabled,
    Availability, // canExtract, canDelete, canAddFiles, canMakeNewFolder
};

// How a part of the document tells the document's observers of a change.
using Announce = std::function<void(DocumentProperty property, bool isPrior)>;

} // namespace larkspan
