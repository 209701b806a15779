#pragma once

#include "base/Error.h"
#include "imaging/ImageDecoders.h"

#include <QAction>
#include <QObject>
#include <QPointer>

#include <vector>

class QMenu;
class QMenuBar;
class QWidget;

namespace larkspan {

class ModWindow;
class ArchiveDocument;

class MyDocument;

// The application: its open documents, the menu commands (one set of
// actions shared by every window's menus), their routing to the current
// document and their enabled state, which follows that document.
class RFAApplicationDelegate : public QObject {
    Q_OBJECT
public:
    RFAApplicationDelegate();
    ~RFAApplicationDelegate() override;

    // A new untitled window.
    MyDocument* newDocument();
    // Opens the file in a window of its own (or brings its window to the
    // front); shows the reason when it cannot be read and returns null.
    // An untouched untitled window gives way to the file.
    MyDocument* openFile(const QString& path);
    void showOpenDialog();
    // A window showing the mod in `folder` as the game sees it; shows the
    // reason when it is no folder and returns null.
    // A mod already shown in a window brings that window to the front.
    ModWindow* openMod(const QString& folder);
    void showOpenModDialog();
    // What the command line names: each archive, then each mod folder; an
    // untitled archive when it names nothing. False when it named something
    // and none of it opened (the reasons are shown): the program then fails.
    bool openFromCommandLine(const QStringList& files, const QStringList& mods);
    // An archive was written at `path` by this program (saved, or an update
    // archive): the mod windows that show it read their mod again.
    void archiveWritten(const QString& path);
    // Asks every window with unsaved changes, one after another; quits
    // unless the user cancels.
    void quit();
    // Between Quit (or the last window's close) and the end of the program.
    bool isQuitting() const { return quitting_; }
    // A closing window's document, when quitting: freed, if ever, only when
    // the quit is cancelled. The system takes a process's memory back at
    // once, where freeing a large archive's entries one by one took seconds.
    void keepUntilExit(std::shared_ptr<ArchiveDocument> document);

    // The document the menus act on: the one of the active window (a viewer
    // window counts for its document), or the last one active.
    MyDocument* currentDocument() const;
    // The active window when it is a viewer window of the current document.
    QWidget* activeViewer() const;
    const std::vector<QPointer<MyDocument>>& documents() const { return documents_; }
    MyDocument* documentForPath(const QString& path) const;
    // A window has closed and is deleted later: from now on the menus no
    // longer act on it, also while its dialogs close with it.
    void documentClosed(MyDocument* document);
    // A window is being deleted.
    void forgetDocument(const MyDocument* document);
    // What every window decodes pictures with.
    const ImageDecoderTable& imageDecoders() const { return imageDecoders_; }

    // The menus of every window of a document: its archive window and its
    // viewer windows.
    void installMenus(QMenuBar& bar);
    // The parts of those menus that other windows (a mod's) share: File →
    // Open Recent, kept up to date, and the Help menu.
    void addOpenRecentMenu(QMenu& file);
    void addHelpMenu(QMenuBar& bar);
    void searchDefaultsChanged();
    // Why the archive at `path` could not be opened; nothing when the user
    // stopped the opening.
    void showOpenError(QWidget* parent, const QString& path, const Error& error);

    enum class Command {
        New, Open, OpenMod, Close, Save, SaveAs, SaveAsUpdate, Revert, Run, SaveAndRun, Quit,
        Undo, Redo, Cut, Copy, Paste, Delete, Rename, SelectAll, Find,
        NewFolder, AddFiles, Extract, OpenWith, CompressWhenSaving,
        UseBrowser, UseList, ShowPreview,
        KeyboardShortcuts, About,
    };
    QAction* action(Command command) const;

public slots:
    void updateActions();

private:
    QAction* makeAction(Command command, const QString& text, const QKeySequence& shortcut);
    void trigger(Command command);
    void rebuildRecentMenu();
    void quitNext(std::vector<QPointer<MyDocument>> remaining);

    std::vector<QPointer<MyDocument>> documents_;
    // Closed, not yet deleted: they must not outlive the delegate they call.
    std::vector<QPointer<MyDocument>> closedDocuments_;
    std::vector<QPointer<ModWindow>> modWindows_;
    QPointer<MyDocument> lastActive_;
    bool quitting_ = false;
    std::vector<std::shared_ptr<ArchiveDocument>> keptUntilExit_;
    std::vector<QAction*> actions_;
    QStringList commandNames_; // the menus' texts without "&", by command
    std::vector<QPointer<QMenu>> recentMenus_;
    const ImageDecoderTable imageDecoders_;
};

} // namespace larkspan
