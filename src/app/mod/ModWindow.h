#pragma once

#include "mod/ModIndex.h"

#include <QMainWindow>
#include <QPointer>

#include <filesystem>
#include <map>
#include <memory>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTreeView;
class QTreeWidget;

namespace larkspan {

class ChangeHub;
class ModProblemsBar;
class ModTreeModel;
class MyDocument;
class RFAApplicationDelegate;
class RFATreeNode;

// A mod as the game sees it: the merged tree of its archives and of the
// mods it uses in an outline (Name, Size, From), a search over the names
// and texts of all of it, read-only viewers of its entries, extraction of
// what the game sees, and a way to the archive that provides an entry. Its
// widgets carry object names ("outline", "searchField", "searchNames",
// "searchContents", "searchResults", "statusLine", "problemsButton",
// "problemsBar") for tools that look at the window from outside.
class ModWindow : public QMainWindow {
    Q_OBJECT
public:
    ModWindow(RFAApplicationDelegate& application, std::shared_ptr<const ModIndex> index);
    ~ModWindow() override;

    // The opened mod's folder.
    const std::filesystem::path& modFolder() const { return index_->mods().front().path; }
    // Reads the mod again (View → Reload), keeping what the outline shows
    // expanded and selected, and the search results, where they still exist.
    void reload();
    // An archive was written at `path`: the mod is read again when the
    // path lies in the Archives folder of a mod it shows.
    void noteArchiveWritten(const QString& path);

    const ModTreeModel& model() const { return *model_; }
    // The entries selected in the pane in front (tree or results), in ModIndex::entries().
    std::vector<std::size_t> selectedEntries() const;
    // Opens the providing archive of the selected entry as File → Open does,
    // with the entry selected there; that window, or null.
    MyDocument* editInArchive();
    // A read-only viewer of each entry, or the one already open.
    void openEntries(const std::vector<std::size_t>& entries);
    // Searches the names and/or texts of the whole mod for the field's text;
    // an empty text shows the outline again.
    void search();
    void extract();
    // What could not be read or found when the mod was opened, one line each.
    QStringList problems() const;

protected:
    bool event(QEvent* event) override;

private:
    // Names only (in memory, quick), or names and/or texts as the boxes say.
    enum class Scope { Names, AsTicked };
    void searchIn(Scope scope);
    void buildWindow();
    void buildMenus();
    void showProblems();
    void showOutline();
    // The search field says whether typing searches or Return does.
    void showSearchHint();
    void updateStatus();
    void writeEntries(const std::vector<std::pair<std::size_t, std::vector<std::string>>>& items,
                      const QString& folder);
    // The results of the last search, their entries found again in the mod read anew.
    void remapResults();
    // After a reload: each viewer shows its entry's new content, or closes
    // when the mod no longer holds the entry.
    void refreshViewers();
    QString displayName() const;

    RFAApplicationDelegate& application_;
    std::shared_ptr<const ModIndex> index_;
    ModTreeModel* model_ = nullptr;
    QTreeView* outline_ = nullptr;
    QTreeWidget* results_ = nullptr;
    QStackedWidget* panes_ = nullptr;
    QLineEdit* searchField_ = nullptr;
    QCheckBox* searchNames_ = nullptr;
    QCheckBox* searchContents_ = nullptr;
    // What the results were found by in the texts: their viewers open at it.
    QString searchedText_;
    QLabel* status_ = nullptr;
    QPushButton* problemsButton_ = nullptr;
    ModProblemsBar* problemsBar_ = nullptr;
    bool reloadPending_ = false;
    struct OpenViewer {
        QPointer<QWidget> window;
        std::shared_ptr<RFATreeNode> entry; // the viewer's own copy
    };
    // By folded path, so that they outlive a reload.
    std::map<std::string, OpenViewer> viewers_;
    // What the viewers' entries announce their new content through.
    std::shared_ptr<ChangeHub> viewerHub_;
};

} // namespace larkspan
