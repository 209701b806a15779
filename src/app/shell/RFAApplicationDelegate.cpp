#include "app/shell/RFAApplicationDelegate.h"

#include "app/dnd/RFADragAndDropDelegate.h"
#include "app/shell/HelpWindows.h"
#include "app/shell/MessageBoxes.h"
#include "app/shell/Settings.h"
#include "app/shell/WindowPlacement.h"
#include "app/viewers/QtImages.h"
#include "app/viewers/RFAImageViewingController.h"
#include "app/viewers/TextEditorWindow.h"
#include "app/viewers/TextFindBar.h"
#include "app/window/DocumentFileController.h"
#include "app/mod/ModWindow.h"
#include "app/window/MyDocument.h"
#include "app/window/OpenWithFiles.h"
#include "app/window/PreviewPanes.h"
#include "app/window/UpdateArchiveCommand.h"
#include "app/window/ViewerWindows.h"
#include "document/CommandAvailability.h"
#include "model/UndoHistory.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QWindow>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace larkspan {

using Command = RFAApplicationDelegate::Command;

namespace {

// Text fields keep their own Cut, Copy and Paste.
QWidget* focusedTextField()
{
    QWidget* focus = QApplication::focusWidget();
    return qobject_cast<QLineEdit*>(focus) || qobject_cast<QPlainTextEdit*>(focus) || qobject_cast<QTextEdit*>(focus)
               ? focus
               : nullptr;
}

// Whether the window in front is a mod window or a viewer one opened: the
// commands on an archive then act on none, not even on the one used last.
bool modWindowInFront()
{
    for (QWidget* window = QApplication::activeWindow(); window;
         window = window->parentWidget() ? window->parentWidget()->window() : nullptr)
        if (qobject_cast<ModWindow*>(window))
            return true;
    return false;
}

// Help opens over the window in front, also a mod window, which is no document's.
QWidget* helpParent(MyDocument* document)
{
    QWidget* front = QApplication::activeWindow();
    return front ? front : document;
}

} // namespace

namespace {

// Documents that outlive their program's delegate, on purpose.
const std::vector<std::shared_ptr<ArchiveDocument>>* leftToTheSystem = nullptr;

} // namespace

RFAApplicationDelegate::RFAApplicationDelegate() : imageDecoders_(imageDecodersWithQt())
{
    connect(qApp, &QGuiApplication::lastWindowClosed, this, [this] {
        if (QGuiApplication::quitOnLastWindowClosed())
            quitting_ = true;
    });
    makeAction(Command::New, tr("&New"), QKeySequence::New);
    makeAction(Command::Open, tr("&Open…"), QKeySequence::Open);
    makeAction(Command::OpenMod, tr("Open &Mod…"), QKeySequence(tr("Ctrl+Shift+O")));
    makeAction(Command::Close, tr("&Close"), QKeySequence::Close);
    makeAction(Command::Save, tr("&Save"), QKeySequence::Save);
    makeAction(Command::SaveAs, tr("Save &As…"), QKeySequence::SaveAs);
    makeAction(Command::SaveAsUpdate, tr("Save as &Update Archive…"), {});
    makeAction(Command::Revert, tr("Revert to Sa&ved"), {});
    makeAction(Command::Run, tr("&Run"), QKeySequence(tr("Ctrl+R")));
    makeAction(Command::SaveAndRun, tr("Save and R&un"), QKeySequence(tr("Ctrl+Shift+R")));
    makeAction(Command::Quit, tr("&Quit"), QKeySequence::Quit);
    makeAction(Command::Undo, tr("&Undo"), QKeySequence::Undo);
    makeAction(Command::Redo, tr("&Redo"), QKeySequence::Redo);
    makeAction(Command::Cut, tr("Cu&t"), QKeySequence::Cut);
    makeAction(Command::Copy, tr("&Copy"), QKeySequence::Copy);
    makeAction(Command::Paste, tr("&Paste"), QKeySequence::Paste);
    makeAction(Command::Delete, tr("&Delete"), QKeySequence::Delete);
    makeAction(Command::Rename, tr("Re&name"), QKeySequence(Qt::Key_F2));
    makeAction(Command::SelectAll, tr("Select &All"), QKeySequence::SelectAll);
    makeAction(Command::Find, tr("&Find"), QKeySequence::Find);
    makeAction(Command::NewFolder, tr("New &Folder"), QKeySequence(tr("Ctrl+Shift+N")));
    makeAction(Command::AddFiles, tr("&Add Files…"), QKeySequence(tr("Ctrl+Shift+A")));
    makeAction(Command::Extract, tr("&Extract…"), QKeySequence(tr("Ctrl+Shift+E")));
    makeAction(Command::OpenWith, tr("Open &With…"), {});
    makeAction(Command::CompressWhenSaving, tr("&Compress When Saving"), {})->setCheckable(true);
    makeAction(Command::UseBrowser, tr("As &Browser"), QKeySequence(tr("Ctrl+1")));
    makeAction(Command::UseList, tr("As &List"), QKeySequence(tr("Ctrl+2")));
    makeAction(Command::ShowPreview, tr("Show &Preview"), QKeySequence(tr("Ctrl+Shift+P")))->setCheckable(true);
    makeAction(Command::KeyboardShortcuts, tr("&Keyboard Shortcuts"), QKeySequence::HelpContents);
    makeAction(Command::About, tr("&About Larkspan"), {});
    connect(qApp, &QApplication::focusChanged, this, &RFAApplicationDelegate::updateActions);
    // A window without a focus widget (an image viewer) changes no focus.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &RFAApplicationDelegate::updateActions);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &RFAApplicationDelegate::updateActions);
    updateActions();
}

RFAApplicationDelegate::~RFAApplicationDelegate()
{
    // Each window takes itself off the list as it goes.
    std::vector<QPointer<MyDocument>> documents = documents_;
    documents.insert(documents.end(), closedDocuments_.begin(), closedDocuments_.end());
    for (const QPointer<MyDocument>& document : documents)
        delete document.data();
    for (const QPointer<ModWindow>& window : modWindows_)
        delete window.data();
    // The program ends: what was kept for it is left to the system, held
    // where a leak checker still sees it.
    if (quitting_)
        leftToTheSystem = new std::vector<std::shared_ptr<ArchiveDocument>>(std::move(keptUntilExit_));
}

QAction* RFAApplicationDelegate::makeAction(Command command, const QString& text, const QKeySequence& shortcut)
{
    auto* action = new QAction(text, this);
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [this, command] { trigger(command); });
    actions_.push_back(action);
    commandNames_.push_back(QString(text).remove(QLatin1Char('&')));
    return action;
}

QAction* RFAApplicationDelegate::action(Command command) const
{
    return actions_[static_cast<std::size_t>(command)];
}

MyDocument* RFAApplicationDelegate::newDocument()
{
    auto* document = new MyDocument(*this);
    documents_.emplace_back(document);
    connect(document, &MyDocument::stateChanged, this, &RFAApplicationDelegate::updateActions);
    connect(document, &QObject::destroyed, this, &RFAApplicationDelegate::updateActions);
    // The first window where the last one closed (kept on screen by the
    // toolkit), later ones beside the window in use.
    if (documents_.size() > 1 || !document->restoreGeometry(settings::windowGeometry()))
        placeOnScreen(*document, lastActive_);
    lastActive_ = document;
    return document;
}

void RFAApplicationDelegate::documentClosed(MyDocument* document)
{
    forgetDocument(document);
    closedDocuments_.emplace_back(document);
}

void RFAApplicationDelegate::forgetDocument(const MyDocument* document)
{
    const auto goneOrThis = [document](const QPointer<MyDocument>& d) { return d.isNull() || d == document; };
    std::erase_if(documents_, goneOrThis);
    std::erase_if(closedDocuments_, goneOrThis);
    if (lastActive_ == document)
        lastActive_ = nullptr;
}

MyDocument* RFAApplicationDelegate::documentForPath(const QString& path) const
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    for (const QPointer<MyDocument>& document : documents_) {
        if (!document || document->isUntitled())
            continue;
        const QString open = QString::fromStdString(document->document()->fileLocation()->string());
        if (!canonical.isEmpty() && QFileInfo(open).canonicalFilePath() == canonical)
            return document;
    }
    return nullptr;
}

MyDocument* RFAApplicationDelegate::openFile(const QString& path)
{
    if (MyDocument* open = documentForPath(path)) {
        open->show();
        open->raise();
        open->activateWindow();
        return open;
    }
    // An empty file would read as an archive without entries; nobody means
    // to open that.
    if (const QFileInfo file(path); file.isFile() && file.size() == 0) {
        windowModalBox(nullptr, QMessageBox::Warning, tr("Larkspan"), tr("“%1” is empty.").arg(file.fileName()),
                       tr("The file holds no bytes, so there is no archive to open."))
            ->open();
        return nullptr;
    }
    // An untitled window nobody has touched gives way to the file.
    MyDocument* current = currentDocument();
    const bool reuse = current && current->isUntitled() && !current->isModified() &&
                       !current->document()->undoHistory()->canUndo();
    MyDocument* document = reuse ? current : newDocument();
    if (const Result<void> read = document->file().readFile(path); !read) {
        if (!reuse)
            delete document;
        showOpenError(reuse ? document : nullptr, path, read.error());
        return nullptr;
    }
    rebuildRecentMenu();
    // A reused window may lie behind the one the file was opened from.
    document->show();
    document->raise();
    document->activateWindow();
    return document;
}

void RFAApplicationDelegate::showOpenError(QWidget* parent, const QString& path, const Error& error)
{
    if (error.code == ErrorCode::Cancelled)
        return;
    const QString name = QFileInfo(path).fileName();
    const QString headline = error.code == ErrorCode::CannotRead
                                 ? tr("“%1” could not be opened.").arg(name)
                                 : tr("“%1” could not be read as an RFA archive.").arg(name);
    errorBox(parent, tr("Larkspan"), headline, error)->open();
}

ModWindow* RFAApplicationDelegate::openMod(const QString& folder)
{
    std::erase_if(modWindows_, [](const QPointer<ModWindow>& w) { return w.isNull(); });
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    for (const QPointer<ModWindow>& open : modWindows_) {
        if (!canonical.isEmpty() &&
            QFileInfo(QString::fromStdString(open->modFolder().string())).canonicalFilePath() == canonical) {
            open->show();
            open->raise();
            open->activateWindow();
            return open;
        }
    }
    // Only the archives' directories are read: quick, even for a big mod.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Result<ModIndex> index = ModIndex::open(folder.toStdString());
    QApplication::restoreOverrideCursor();
    if (!index) {
        errorBox(currentDocument(), tr("Larkspan"), tr("“%1” is not a mod folder.").arg(folder), index.error())
            ->open();
        return nullptr;
    }
    auto* window = new ModWindow(*this, std::make_shared<ModIndex>(std::move(*index)));
    modWindows_.emplace_back(window);
    // The next Open Mod… starts among this one's neighbours.
    settings::setLastFolder(QStringLiteral("openMod"), QFileInfo(QDir(folder).absolutePath()).absolutePath());
    window->show();
    return window;
}

bool RFAApplicationDelegate::openFromCommandLine(const QStringList& files, const QStringList& mods)
{
    if (files.isEmpty() && mods.isEmpty()) {
        newDocument()->show();
        return true;
    }
    bool opened = false;
    for (const QString& file : files)
        opened = openFile(file) != nullptr || opened;
    for (const QString& folder : mods)
        opened = openMod(folder) != nullptr || opened;
    return opened;
}

void RFAApplicationDelegate::archiveWritten(const QString& path)
{
    for (const QPointer<ModWindow>& window : modWindows_)
        if (window)
            window->noteArchiveWritten(path);
}

void RFAApplicationDelegate::showOpenModDialog()
{
    auto* dialog = new QFileDialog(currentDocument(), tr("Open Mod"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setDirectory(settings::lastFolder(QStringLiteral("openMod"), QString()));
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setLabelText(QFileDialog::Accept, tr("Open"));
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& folder) { openMod(folder); });
    dialog->open();
}

void RFAApplicationDelegate::showOpenDialog()
{
    auto* dialog = new QFileDialog(currentDocument(), tr("Open"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFiles);
    dialog->setNameFilters({tr("RFA archives (*.rfa)"), tr("All files (*)")});
    connect(dialog, &QFileDialog::filesSelected, this, [this](const QStringList& files) {
        for (const QString& file : files)
            openFile(file);
    });
    dialog->open();
}

QWidget* RFAApplicationDelegate::activeViewer() const
{
    QWidget* window = QApplication::activeWindow();
    return ViewerWindows::isViewerWindow(window) ? window : nullptr;
}

MyDocument* RFAApplicationDelegate::currentDocument() const
{
    QWidget* window = QApplication::activeWindow();
    while (window) {
        if (auto* document = qobject_cast<MyDocument*>(window))
            return document;
        window = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    }
    return lastActive_;
}

void RFAApplicationDelegate::searchDefaultsChanged()
{
    for (const QPointer<MyDocument>& document : documents_)
        if (document)
            document->searchDefaultsChanged();
}

void RFAApplicationDelegate::trigger(Command command)
{
    MyDocument* document = currentDocument();
    switch (command) {
    case Command::New:
        newDocument()->show();
        return;
    case Command::Open:
        showOpenDialog();
        return;
    case Command::OpenMod:
        showOpenModDialog();
        return;
    case Command::Quit:
        quit();
        return;
    case Command::KeyboardShortcuts: {
        QList<CommandShortcut> shortcuts;
        for (std::size_t i = 0; i < actions_.size(); ++i)
            shortcuts.push_back({commandNames_[static_cast<qsizetype>(i)], actions_[i]->shortcuts()});
        // The viewers' own commands, which no menu of an archive window holds.
        showKeyboardShortcuts(helpParent(document),
                              shortcuts + TextFindBar::shortcuts() + RFAImageViewingController::zoomShortcuts());
        return;
    }
    case Command::About:
        showAbout(helpParent(document));
        return;
    case Command::Cut:
    case Command::Copy:
    case Command::Paste:
    case Command::SelectAll:
        if (QWidget* field = focusedTextField()) {
            const char* slot = command == Command::Cut    ? "cut"
                               : command == Command::Copy ? "copy"
                               : command == Command::Paste ? "paste"
                                                           : "selectAll";
            QMetaObject::invokeMethod(field, slot);
            return;
        }
        break;
    default:
        break;
    }
    if (!document || modWindowInFront())
        return;
    switch (command) {
    case Command::Close:
        if (QWidget* viewer = activeViewer())
            viewer->close();
        else
            document->close();
        break;
    case Command::Save: document->file().save(); break;
    case Command::SaveAs: document->file().saveAs(); break;
    case Command::SaveAsUpdate: UpdateArchiveCommand::run(*document); break;
    case Command::Revert: document->file().revertToSaved(); break;
    case Command::Run: document->file().run(); break;
    case Command::SaveAndRun: document->file().saveAndRun(); break;
    case Command::Undo: document->document()->undoHistory()->undo(); break;
    case Command::Redo: document->document()->undoHistory()->redo(); break;
    case Command::Cut: document->cut(); break;
    case Command::Copy: document->copy(); break;
    case Command::Paste: document->paste(); break;
    case Command::Delete: document->document()->commands().deleteItems(); break;
    case Command::Rename: document->renameSelection(); break;
    case Command::SelectAll: document->selectAll(); break;
    case Command::Find:
        if (auto* editor = qobject_cast<TextEditorWindow*>(activeViewer()))
            editor->findBar().open();
        else
            document->find();
        break;
    case Command::NewFolder: document->newFolder(); break;
    case Command::AddFiles: document->document()->commands().addFiles(); break;
    case Command::Extract: document->document()->commands().extractFiles(); break;
    case Command::OpenWith:
        if (const auto& selected = document->document()->selection().nodes(); selected.size() == 1)
            document->openWith().chooseAndOpen(selected.front());
        break;
    case Command::CompressWhenSaving:
        document->document()->setCompressWhenSaving(!document->document()->compressWhenSaving());
        updateActions();
        break;
    case Command::UseBrowser: document->useBrowserView(); break;
    case Command::UseList: document->useListView(); break;
    case Command::ShowPreview: document->previews().setListPreviewShown(!settings::showPreview()); break;
    default: break;
    }
}

void RFAApplicationDelegate::updateActions()
{
    MyDocument* document = currentDocument();
    if (document)
        lastActive_ = document;
    if (modWindowInFront())
        document = nullptr;
    const ArchiveDocument* logic = document ? document->document().get() : nullptr;
    const UndoHistory* history = logic ? logic->undoHistory().get() : nullptr;
    const auto enable = [&](Command command, bool on) { action(command)->setEnabled(on); };
    const auto valid = [&](DocumentAction a) { return logic && validateAction(*logic, a); };
    // In a viewer window the commands on the archive's entries have nothing
    // selected to act on; those on the document as a whole still apply.
    const bool inBrowser = document && !activeViewer();
    const auto validInBrowser = [&](DocumentAction a) { return inBrowser && valid(a); };
    enable(Command::Close, document);
    enable(Command::Save, document);
    enable(Command::SaveAs, document);
    // An update needs the file it updates: a new archive has none yet.
    enable(Command::SaveAsUpdate, document && !document->isUntitled());
    enable(Command::Revert, document && !document->isUntitled() && document->isModified());
    enable(Command::Run, valid(DocumentAction::Run));
    enable(Command::SaveAndRun, valid(DocumentAction::SaveAndRun));
    enable(Command::Undo, history && history->canUndo());
    enable(Command::Redo, history && history->canRedo());
    const auto named = [](const QString& verb, const std::string& name) {
        return name.empty() ? verb : verb + QLatin1Char(' ') + QCoreApplication::translate("Core", name.c_str());
    };
    action(Command::Undo)->setText(named(tr("&Undo"), history ? history->undoActionName() : std::string()));
    action(Command::Redo)->setText(named(tr("&Redo"), history ? history->redoActionName() : std::string()));
    const bool textField = focusedTextField() != nullptr;
    enable(Command::Cut, textField || validInBrowser(DocumentAction::DeleteItems));
    enable(Command::Copy, textField || validInBrowser(DocumentAction::ExtractFiles));
    enable(Command::Paste, textField || (validInBrowser(DocumentAction::AddFiles) &&
                                         RFADragAndDropDelegate::clipboardHoldsEntries()));
    enable(Command::Delete, validInBrowser(DocumentAction::DeleteItems));
    enable(Command::Rename, inBrowser && document->canRename());
    enable(Command::SelectAll, textField || inBrowser);
    enable(Command::Find, inBrowser || qobject_cast<TextEditorWindow*>(activeViewer()));
    enable(Command::NewFolder, validInBrowser(DocumentAction::CreateNewFolder));
    enable(Command::AddFiles, validInBrowser(DocumentAction::AddFiles));
    enable(Command::Extract, validInBrowser(DocumentAction::ExtractFiles));
    enable(Command::OpenWith, inBrowser && logic->selection().nodes().size() == 1 &&
                                  logic->selection().nodes().front()->isLeaf());
    enable(Command::CompressWhenSaving, logic);
    action(Command::CompressWhenSaving)->setChecked(logic && logic->compressWhenSaving());
    // With no document the view commands stay enabled and do nothing.
    enable(Command::UseBrowser, !logic || validInBrowser(DocumentAction::UseBrowserView));
    enable(Command::UseList, !logic || validInBrowser(DocumentAction::UseListView));
    // The browser shows its preview by itself; the list's is docked on request.
    enable(Command::ShowPreview, inBrowser && logic->browse().tabToShow() == 1);
    action(Command::ShowPreview)->setChecked(settings::showPreview());
}

void RFAApplicationDelegate::installMenus(QMenuBar& menuBar)
{
    QMenuBar* bar = &menuBar;
    QMenu* file = bar->addMenu(tr("&File"));
    file->addAction(action(Command::New));
    file->addAction(action(Command::Open));
    file->addAction(action(Command::OpenMod));
    addOpenRecentMenu(*file);
    file->addSeparator();
    file->addAction(action(Command::Close));
    file->addAction(action(Command::Save));
    file->addAction(action(Command::SaveAs));
    file->addAction(action(Command::SaveAsUpdate));
    file->addAction(action(Command::Revert));
    file->addSeparator();
    file->addAction(action(Command::Run));
    file->addAction(action(Command::SaveAndRun));
    file->addSeparator();
    file->addAction(action(Command::Quit));

    QMenu* edit = bar->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("editMenu"));
    edit->addAction(action(Command::Undo));
    edit->addAction(action(Command::Redo));
    edit->addSeparator();
    edit->addAction(action(Command::Cut));
    edit->addAction(action(Command::Copy));
    edit->addAction(action(Command::Paste));
    edit->addAction(action(Command::Delete));
    edit->addAction(action(Command::Rename));
    edit->addAction(action(Command::SelectAll));
    edit->addSeparator();
    edit->addAction(action(Command::Find));

    QMenu* archive = bar->addMenu(tr("&Archive"));
    archive->addAction(action(Command::NewFolder));
    archive->addAction(action(Command::AddFiles));
    archive->addAction(action(Command::Extract));
    archive->addAction(action(Command::OpenWith));
    archive->addSeparator();
    archive->addAction(action(Command::CompressWhenSaving));

    QMenu* view = bar->addMenu(tr("&View"));
    view->setObjectName(QStringLiteral("viewMenu"));
    view->addAction(action(Command::UseBrowser));
    view->addAction(action(Command::UseList));
    view->addSeparator();
    view->addAction(action(Command::ShowPreview));

    addHelpMenu(*bar);
}

void RFAApplicationDelegate::addOpenRecentMenu(QMenu& file)
{
    recentMenus_.emplace_back(file.addMenu(tr("Open &Recent")));
    rebuildRecentMenu();
}

void RFAApplicationDelegate::addHelpMenu(QMenuBar& bar)
{
    QMenu* help = bar.addMenu(tr("&Help"));
    help->addAction(action(Command::KeyboardShortcuts));
    help->addAction(action(Command::About));
}

void RFAApplicationDelegate::rebuildRecentMenu()
{
    std::erase_if(recentMenus_, [](const QPointer<QMenu>& menu) { return menu.isNull(); });
    const QStringList files = settings::recentFiles();
    QStringList names;
    for (const QString& file : files)
        names << QFileInfo(file).fileName();
    for (const QPointer<QMenu>& menu : recentMenus_) {
        menu->clear();
        menu->setToolTipsVisible(true);
        for (qsizetype i = 0; i < files.size(); ++i) {
            // Mods and their copies hold archives of one name: the folder tells them apart.
            const QString label = names.count(names[i]) == 1
                                      ? names[i]
                                      : tr("%1 — %2").arg(names[i], QDir::toNativeSeparators(QFileInfo(files[i]).path()));
            QAction* entry = menu->addAction(QString(label).replace(QLatin1Char('&'), QStringLiteral("&&")), this, [this, file = files[i]] { openFile(file); });
            entry->setToolTip(QDir::toNativeSeparators(files[i]));
        }
        menu->addSeparator();
        QAction* clear = menu->addAction(tr("Clear Menu"), this, [this] {
            settings::clearRecentFiles();
            rebuildRecentMenu();
        });
        clear->setEnabled(!files.isEmpty());
    }
}

void RFAApplicationDelegate::quit()
{
    quitting_ = true;
    quitNext(documents_);
}

void RFAApplicationDelegate::keepUntilExit(std::shared_ptr<ArchiveDocument> document)
{
    keptUntilExit_.push_back(std::move(document));
}

void RFAApplicationDelegate::quitNext(std::vector<QPointer<MyDocument>> remaining)
{
    std::erase_if(remaining, [](const QPointer<MyDocument>& d) { return d.isNull(); });
    if (remaining.empty()) {
        QApplication::quit();
        return;
    }
    QPointer<MyDocument> next = remaining.front();
    remaining.erase(remaining.begin());
    // The window asked about comes to the front, unless the user works in
    // one of its viewers: the question then stands over that.
    next->dialogParent()->raise();
    next->file().askToSaveChanges([this, next, remaining](bool proceed) {
        if (!proceed) {
            quitting_ = false;
            keptUntilExit_.clear();
            return;
        }
        if (next)
            next->closeWithoutAsking();
        quitNext(remaining);
    });
}

} // namespace larkspan
