#pragma once

#include "document/ArchiveDocument.h"
#include "model/ChangeHub.h"

#include <QMainWindow>
#include <QPointer>

#include <filesystem>
#include <memory>
#include <optional>

class QAbstractItemView;
class QButtonGroup;
class QItemSelectionModel;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QToolButton;

namespace larkspan {

class ArchiveColumnView;
class ArchiveOutlineView;
class ArchiveTreeModel;
class BackgroundSearch;
class CutMarks;
class DocumentDialogs;
class DocumentFileController;
class OpenWithFiles;
class PathBar;
class PreviewPanes;
class RFAApplicationDelegate;
class RFADragAndDropDelegate;
class SearchResultsModel;
class SearchResultsView;
class ViewerWindows;

// One open archive's main window: the column browser, the outline list and
// the search results over the document logic, the search field and the
// status line. Its parts answer the logic's questions (DocumentDialogs),
// read, save and run the file (DocumentFileController) and keep the viewer
// windows of its entries (ViewerWindows). Its widgets carry object names
// ("browser", "outline", "searchResults", "pathBar", "searchField",
// "panes", "statusLine", "browserViewButton", "listViewButton",
// "searchOffHint", "searchNamesButton") for tools
// that look at the window from outside.
class MyDocument : public QMainWindow {
    Q_OBJECT
public:
    explicit MyDocument(RFAApplicationDelegate& application);
    ~MyDocument() override;

    const std::shared_ptr<ArchiveDocument>& document() const { return document_; }
    // The file's name, or "Untitled" for a new archive.
    QString displayName() const;
    // Where the window's questions and messages appear: over its viewer
    // window when the user works there, which so stays in front; else
    // over this window.
    QWidget* dialogParent();
    bool isUntitled() const { return !document_->fileLocation(); }
    bool isModified() const { return document_->isModified(); }
    // Tells this window apart from every other of the process, also while
    // it is untitled.
    quint64 documentId() const { return documentId_; }

    DocumentFileController& file() const { return *file_; }
    RFAApplicationDelegate& application() const { return application_; }
    ViewerWindows& viewers() const { return *viewers_; }
    PreviewPanes& previews() const { return *previews_; }
    OpenWithFiles& openWith() const { return *openWith_; }
    // This window's entries waiting on the clipboard to be moved.
    CutMarks& cutMarks() const { return *cutMarks_; }
    // Closes without asking again (the question has been answered).
    void closeWithoutAsking();

    // The commands that act on the window's views and search field.
    void cut();
    void copy();
    void paste();
    void renameSelection();
    // New Folder, its name then open for editing.
    void newFolder();
    bool canRename() const;
    void selectAll();
    void find();
    void useBrowserView() { setViewMode(0); }
    void useListView() { setViewMode(1); }

    // Leaves the search and selects the entry at this full path (as its
    // archive spells it); false when the archive holds none.
    bool revealEntry(const std::string& path);

    // Said after the name in the title while the window shows the archive
    // now open (which mod it belongs to, when opened from a mod window).
    void setTitleContext(const QString& context);

    // Settings that all windows share changed.
    void searchDefaultsChanged();

signals:
    // Something the menus show may have changed: availability, undo names.
    void stateChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape abandons a cut (the search field takes its own Escape first).
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildWindow();
    void connectDocument();
    void watchTree();
    void documentChanged(DocumentProperty property, bool isPrior);
    void setViewMode(int mode);
    void showTab();
    void updateSearchHint();
    void fitResultNames();
    // The field's text typed, or confirmed with Return (no pause in typing
    // to wait for).
    void searchFor(const QString& text, bool confirmed);
    void selectionChanged();
    void updateStatusLater();
    void updateTitle();
    void rename(const RFATreeNode::Ptr& node, const QString& name);
    void startRenaming(const RFATreeNode::Ptr& node);
    // Leaves the search and selects the entry in the tree view.
    void showInTree(const RFATreeNode::Ptr& node);
    QAbstractItemView* currentView() const;

    RFAApplicationDelegate& application_;
    DocumentDialogs* dialogs_;
    std::shared_ptr<ArchiveDocument> document_;
    DocumentFileController* file_;
    std::unique_ptr<ViewerWindows> viewers_;
    std::uint64_t documentObserver_ = 0;
    ObserverToken treeChanges_;

    ArchiveTreeModel* treeModel_ = nullptr;
    QItemSelectionModel* treeSelection_ = nullptr;
    SearchResultsModel* resultsModel_ = nullptr;
    ArchiveColumnView* browser_ = nullptr;
    ArchiveOutlineView* outline_ = nullptr;
    SearchResultsView* results_ = nullptr;
    PathBar* pathBar_ = nullptr;
    PreviewPanes* previews_ = nullptr;
    OpenWithFiles* openWith_ = nullptr;
    QStackedWidget* panes_ = nullptr;
    QLineEdit* searchField_ = nullptr;
    QToolButton* searchNames_ = nullptr;
    QToolButton* searchContents_ = nullptr;
    QWidget* searchOffHint_ = nullptr;
    BackgroundSearch* backgroundSearch_ = nullptr;
    QButtonGroup* viewModes_ = nullptr;
    QLabel* status_ = nullptr;
    RFADragAndDropDelegate* dragAndDrop_ = nullptr;
    CutMarks* cutMarks_ = nullptr;
    const quint64 documentId_;

    // The archive the title's context was given for, and the context.
    std::optional<std::filesystem::path> contextFile_;
    QString titleContext_;

    bool statusUpdatePending_ = false;
    bool groupClosePending_ = false;
    bool closeConfirmed_ = false;
    QPointer<QWidget> questionsOver_; // where dialogParent() put the last question
};

} // namespace larkspan
