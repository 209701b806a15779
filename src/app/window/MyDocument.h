#pragma once

#include "document/ArchiveDocument.h"
#include "model/ChangeHub.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <unordered_map>

class QAbstractItemView;
class QButtonGroup;
class QItemSelectionModel;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QTableView;
class QToolButton;

namespace larkspan {

class ArchiveColumnView;
class ArchiveOutlineView;
class ArchiveTreeModel;
class PathBar;
class RFAApplicationDelegate;
class RFADragAndDropDelegate;
class SearchResultsModel;
class SearchResultsView;

// One open archive: its main window, with the column browser, the outline
// list and the search results over the document logic, and the viewer
// windows of its entries. It answers the logic's questions with
// window-modal dialogs.
class MyDocument : public QMainWindow, public DocumentHost {
    Q_OBJECT
public:
    explicit MyDocument(RFAApplicationDelegate& application);
    ~MyDocument() override;

    const std::shared_ptr<ArchiveDocument>& document() const { return document_; }
    // The file's name, or "Untitled" for a new archive.
    QString displayName() const;
    bool isUntitled() const { return !document_->fileLocation(); }
    bool isModified() const { return document_->isModified(); }
    // Tells this window apart from every other of the process, also while
    // it is untitled.
    quint64 documentId() const { return documentId_; }

    // Reads an archive into this (fresh) window. On failure the window
    // stays as it was.
    Result<void> readFile(const QString& path);

    // File commands.
    void save(std::function<void(bool saved)> done = {});
    void saveAs(std::function<void(bool saved)> done = {});
    void revertToSaved();
    void run();
    void saveAndRun();
    // Asks to save unsaved changes first (Save, Don't Save, Cancel); then
    // `proceed(true)` unless the user cancelled or the save failed.
    void askToSaveChanges(std::function<void(bool proceed)> proceed);
    // Closes without asking again (the question has been answered).
    void closeWithoutAsking();

    // Edit and archive commands.
    void undo();
    void redo();
    void deleteItems();
    void cut();
    void copy();
    void paste();
    void renameSelection();
    void selectAll();
    void find();
    void createNewFolder();
    void addFiles();
    void extractFiles();
    void useBrowserView() { setViewMode(0); }
    void useListView() { setViewMode(1); }
    bool canRename() const;

    // The viewer window of each entry: brought to the front when open.
    void openEntries(const std::vector<RFATreeNode::Ptr>& entries);
    QWidget* viewerFor(const RFATreeNode& entry) const;

    // Settings that all windows share changed.
    void searchDefaultsChanged();

    // DocumentHost.
    void beep() override;
    void askReplace(const ReplaceQuestion& question, std::function<void(ReplaceAnswer)> answer) override;
    void chooseFilesToAdd(std::function<void(std::optional<std::vector<std::filesystem::path>>)> chosen) override;
    void chooseExtractionFolder(std::function<void(std::optional<std::filesystem::path>)> chosen) override;
    void reportProblems(const std::vector<std::string>& problems) override;
    void explainRefusal(const std::string& reason) override;

    // For tests and the screenshot script.
    ArchiveColumnView& browser() const { return *browser_; }
    ArchiveOutlineView& outline() const { return *outline_; }
    QTableView& searchResults() const;
    PathBar& pathBar() const { return *pathBar_; }
    QLineEdit& searchField() const { return *searchField_; }
    QStackedWidget& panes() const { return *panes_; }
    QLabel& statusLine() const { return *status_; }
    QToolButton& viewModeButton(int mode) const;
    ArchiveTreeModel& treeModel() const { return *treeModel_; }
    RFADragAndDropDelegate& dragAndDrop() const { return *dragAndDrop_; }

signals:
    // Something the menus show may have changed: availability, undo names.
    void stateChanged();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void connectDocument();
    void watchTree();
    void documentChanged(DocumentProperty property, bool isPrior);
    void setViewMode(int mode);
    void showTab();
    void selectionChanged();
    void updateStatusLater();
    void updateTitle();
    void rename(const RFATreeNode::Ptr& node, const QString& name);
    bool writeTo(const QString& path);
    void closeViewers();
    void retitleViewers();
    QAbstractItemView* currentView() const;

    RFAApplicationDelegate& application_;
    std::shared_ptr<ArchiveDocument> document_;
    std::uint64_t documentObserver_ = 0;
    ObserverToken treeChanges_;

    ArchiveTreeModel* treeModel_ = nullptr;
    QItemSelectionModel* treeSelection_ = nullptr;
    SearchResultsModel* resultsModel_ = nullptr;
    ArchiveColumnView* browser_ = nullptr;
    ArchiveOutlineView* outline_ = nullptr;
    SearchResultsView* results_ = nullptr;
    PathBar* pathBar_ = nullptr;
    QStackedWidget* panes_ = nullptr;
    QLineEdit* searchField_ = nullptr;
    QToolButton* searchNames_ = nullptr;
    QToolButton* searchContents_ = nullptr;
    QButtonGroup* viewModes_ = nullptr;
    QLabel* status_ = nullptr;
    RFADragAndDropDelegate* dragAndDrop_ = nullptr;
    const quint64 documentId_;

    std::unordered_map<const RFATreeNode*, QPointer<QWidget>> viewers_;
    bool statusUpdatePending_ = false;
    bool groupClosePending_ = false;
    bool closeConfirmed_ = false;
};

} // namespace larkspan
