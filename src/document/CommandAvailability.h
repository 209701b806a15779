#pragma once

namespace larkspan {

class ArchiveDocument;

// Commands whose availability the document decides.
enum class DocumentAction {
    DeleteItems,
    CreateNewFolder,
    AddFiles,
    ExtractFiles,
    Run,
    SaveAndRun,
    UseBrowserView,
    UseListView,
};

// What the commands can act on, decided by the selection and the pane:
// observers learn of a change as DocumentProperty::Availability.
bool canExtract(const ArchiveDocument& document);
bool canDelete(const ArchiveDocument& document);
bool canAddFiles(const ArchiveDocument& document);
bool canMakeNewFolder(const ArchiveDocument& document);
bool validateAction(const ArchiveDocument& document, DocumentAction action);

} // namespace larkspan
