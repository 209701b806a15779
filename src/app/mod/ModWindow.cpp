#include "app/mod/ModWindow.h"

#include "app/mod/ModProblems.h"
#include "app/mod/ModTreeModel.h"
#include "app/mod/OutlineState.h"
#include "app/shell/ContextMenus.h"
#include "app/shell/CoreTranslation.h"
#include "app/shell/MessageBoxes.h"
#include "app/shell/RFAApplicationDelegate.h"
#include "app/shell/Settings.h"
#include "app/shell/WindowPlacement.h"
#include "app/viewers/HexViewerWindow.h"
#include "app/viewers/RFAImageViewingController.h"
#include "app/viewers/TextEditorWindow.h"
#include "app/viewers/TextFindBar.h"
#include "app/window/MyDocument.h"
#include "app/window/SlowWorkProgress.h"
#include "app/window/ViewerWindows.h"
#include "base/StringAdditions.h"
#include "format/EntryPath.h"
#include "fs/FolderWriter.h"
#include "mod/ModSearch.h"
#include "model/ChangeHub.h"
#include "model/RFATreeNode.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

namespace larkspan {

namespace {

// Where a result keeps its entry, and its path (to find it again after a reload).
constexpr int kEntryRole = Qt::UserRole;
constexpr int kPathRole = Qt::UserRole + 1;

enum ResultColumn { ResultName, ResultPath, ResultFrom, ResultLine };

QString nameOf(const std::string& path)
{
    return QString::fromStdString(path.substr(path.rfind('/') + 1));
}

// An entry's path as written below the chosen folder.
QString shownPath(const std::vector<std::string>& components)
{
    QStringList shown;
    for (const std::string& component : components)
        shown << QString::fromStdString(component);
    return shown.join(QLatin1Char('/'));
}

} // namespace

ModWindow::ModWindow(RFAApplicationDelegate& application, std::shared_ptr<const ModIndex> index)
    : application_(application), index_(std::move(index)), viewerHub_(std::make_shared<ChangeHub>())
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("%1 — as the game sees it").arg(displayName()));
    buildWindow();
    buildMenus();
    updateStatus();
    resize(960, 620);
    placeOnScreen(*this, application_.currentDocument());
}

ModWindow::~ModWindow()
{
    // Taken out first: each viewer going takes itself off the map.
    const std::map<std::string, OpenViewer> viewers = std::exchange(viewers_, {});
    for (const auto& [entry, viewer] : viewers)
        delete viewer.window.data();
}

bool ModWindow::event(QEvent* event)
{
    // A menu sends an empty tip as the pointer leaves each item: it would
    // wipe what the search found off the status line.
    if (event->type() == QEvent::StatusTip && static_cast<QStatusTipEvent*>(event)->tip().isEmpty())
        return true;
    return QMainWindow::event(event);
}

QString ModWindow::displayName() const
{
    return QString::fromStdString(index_->mods().front().name);
}

void ModWindow::buildWindow()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    problemsBar_ = new ModProblemsBar(central);
    connect(problemsBar_, &ModProblemsBar::listRequested, this, &ModWindow::showProblems);
    layout->addWidget(problemsBar_);
    auto* searchRow = new QHBoxLayout;
    searchField_ = new QLineEdit(central);
    searchField_->setObjectName(QStringLiteral("searchField"));
    searchField_->setClearButtonEnabled(true);
    searchNames_ = new QCheckBox(tr("Names"), central);
    searchNames_->setObjectName(QStringLiteral("searchNames"));
    searchNames_->setChecked(true);
    searchContents_ = new QCheckBox(tr("Contents"), central);
    searchContents_->setObjectName(QStringLiteral("searchContents"));
    searchRow->addWidget(searchField_, 1);
    searchRow->addWidget(searchNames_);
    searchRow->addWidget(searchContents_);
    layout->addLayout(searchRow);

    model_ = new ModTreeModel(index_, this);
    outline_ = new QTreeView(central);
    outline_->setObjectName(QStringLiteral("outline"));
    outline_->setModel(model_);
    outline_->setUniformRowHeights(true);
    outline_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    outline_->header()->setSectionResizeMode(ModTreeModel::NameColumn, QHeaderView::Stretch);
    outline_->header()->setStretchLastSection(false);
    outline_->setColumnWidth(ModTreeModel::SizeColumn, 90);
    outline_->setColumnWidth(ModTreeModel::FromColumn, 360);
    // As in an archive's outline: a header click sorts within each folder,
    // a second the other way round, a third shows the paths' order again.
    outline_->header()->setSortIndicatorClearable(true);
    outline_->header()->setSortIndicator(-1, Qt::AscendingOrder);
    outline_->setSortingEnabled(true);
    connect(outline_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& at) {
        if (const std::optional<std::size_t> entry = model_->entryAt(at))
            openEntries({*entry});
    });

    results_ = new QTreeWidget(central);
    results_->setObjectName(QStringLiteral("searchResults"));
    results_->setHeaderLabels({tr("Name"), tr("Path"), tr("From"), tr("Line")});
    results_->setRootIsDecorated(false);
    results_->setUniformRowHeights(true);
    results_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Paths are long and alike at both ends: the middle goes first, and the
    // path column takes what room there is.
    results_->setTextElideMode(Qt::ElideMiddle);
    results_->header()->setStretchLastSection(false);
    results_->header()->setSectionResizeMode(ResultPath, QHeaderView::Stretch);
    results_->setColumnWidth(ResultName, 170);
    results_->setColumnWidth(ResultFrom, 240);
    results_->setColumnWidth(ResultLine, 300);
    connect(results_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        openEntries({static_cast<std::size_t>(item->data(0, kEntryRole).toULongLong())});
    });

    panes_ = new QStackedWidget(central);
    panes_->addWidget(outline_);
    panes_->addWidget(results_);
    layout->addWidget(panes_, 1);
    setCentralWidget(central);
    // Names are searched as they are typed, as in an archive window; the
    // texts of a whole mod are read from disk, which takes long: on Return.
    connect(searchField_, &QLineEdit::returnPressed, this, &ModWindow::search);
    connect(searchField_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!searchContents_->isChecked())
            return search();
        if (text.isEmpty())
            return;
        // The names go on following the typing; contents' hits of the text
        // before would pass for hits of this one.
        if (searchNames_->isChecked()) {
            searchIn(Scope::Names);
            statusBar()->showMessage(tr("Found by name: %1 · Press Return to search the contents.")
                                         .arg(results_->topLevelItemCount()));
        } else if (panes_->currentWidget() == results_) {
            results_->clear();
            searchedText_.clear();
            statusBar()->showMessage(tr("Press Return to search the contents."));
        }
    });
    connect(searchField_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text.isEmpty())
            showOutline();
    });
    for (QCheckBox* option : {searchNames_, searchContents_})
        connect(option, &QCheckBox::toggled, this, [this] {
            showSearchHint();
            if (!searchContents_->isChecked() && !searchField_->text().isEmpty())
                search();
        });
    showSearchHint();

    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(outline_), static_cast<QAbstractItemView*>(results_)}) {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& at) {
            QMenu* menu = replaceContextMenu(*this);
            const std::vector<std::size_t> selected = selectedEntries();
            menu->addAction(tr("Open"), this, [this, selected] { openEntries(selected); })->setEnabled(!selected.empty());
            menu->addAction(tr("Edit in Archive"), this, [this] { editInArchive(); })->setEnabled(selected.size() == 1);
            menu->addAction(tr("Extract…"), this, &ModWindow::extract);
            menu->popup(view->viewport()->mapToGlobal(at));
        });
    }

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("statusLine"));
    statusBar()->addWidget(status_, 1);
    problemsButton_ = new QPushButton(this);
    problemsButton_->setObjectName(QStringLiteral("problemsButton"));
    problemsButton_->setFlat(true);
    connect(problemsButton_, &QPushButton::clicked, this, &ModWindow::showProblems);
    statusBar()->addPermanentWidget(problemsButton_);
}

void ModWindow::buildMenus()
{
    using Command = RFAApplicationDelegate::Command;
    const auto add = [this](QMenu* menu, const QString& text, const QKeySequence& shortcut, auto slot) {
        QAction* action = menu->addAction(text);
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, slot);
    };
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(application_.action(Command::New));
    file->addAction(application_.action(Command::Open));
    file->addAction(application_.action(Command::OpenMod));
    application_.addOpenRecentMenu(*file);
    file->addSeparator();
    add(file, tr("&Close"), QKeySequence::Close, [this] { close(); });
    file->addSeparator();
    file->addAction(application_.action(Command::Quit));
    QMenu* view = menuBar()->addMenu(tr("&View"));
    QAction* reload = view->addAction(tr("&Reload"));
    reload->setObjectName(QStringLiteral("reload"));
    // The platform's refresh key, and Ctrl+R wherever that is another.
    QList<QKeySequence> reloadKeys = QKeySequence::keyBindings(QKeySequence::Refresh);
    if (const QKeySequence ctrlR(tr("Ctrl+R")); !reloadKeys.contains(ctrlR))
        reloadKeys << ctrlR;
    reload->setShortcuts(reloadKeys);
    connect(reload, &QAction::triggered, this, &ModWindow::reload);
    QMenu* entries = menuBar()->addMenu(tr("&Entries"));
    add(entries, tr("&Open"), QKeySequence(tr("Ctrl+Down")), [this] { openEntries(selectedEntries()); });
    add(entries, tr("Edit in &Archive"), QKeySequence(tr("Ctrl+Shift+D")), [this] { editInArchive(); });
    add(entries, tr("&Extract…"), QKeySequence(tr("Ctrl+Shift+E")), [this] { extract(); });
    entries->addSeparator();
    add(entries, tr("&Find"), QKeySequence::Find, [this] {
        searchField_->setFocus();
        searchField_->selectAll();
    });
    application_.addHelpMenu(*menuBar());
}

QStringList ModWindow::problems() const
{
    return ModProblems::lines(*index_);
}

void ModWindow::updateStatus()
{
    std::size_t unreadable = 0;
    for (const ModArchive& archive : index_->archives())
        unreadable += archive.listing ? 0 : 1;
    const std::size_t read = index_->archives().size() - unreadable;
    // The archives left out are counted apart: none of their entries is here.
    status_->setText(unreadable == 0 ? tr("Entries: %1 · Archives: %2 · Mods: %3")
                                           .arg(index_->entries().size())
                                           .arg(read)
                                           .arg(index_->mods().size())
                                     : tr("Entries: %1 · Archives: %2 read, %3 could not be read · Mods: %4")
                                           .arg(index_->entries().size())
                                           .arg(read)
                                           .arg(unreadable)
                                           .arg(index_->mods().size()));
    const QStringList problems = this->problems();
    // Read whole, not as a text cut short: a count, and what a click does.
    problemsButton_->setText(tr("Left out: %1 — Show List").arg(problems.size()));
    problemsButton_->setToolTip(tr("What of the mod could not be read or found"));
    problemsButton_->setVisible(!problems.isEmpty());
    problemsBar_->showProblemsOf(*index_);
}

void ModWindow::reload()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Result<ModIndex> index = ModIndex::open(modFolder());
    QApplication::restoreOverrideCursor();
    if (!index) {
        errorBox(this, displayName(), tr("The mod could not be read again."), index.error(), Wording::Plain)->open();
        return;
    }
    const OutlineState state(*outline_, *model_);
    index_ = std::make_shared<const ModIndex>(std::move(*index));
    model_->setIndex(index_);
    state.restore(*outline_, *model_);
    remapResults();
    refreshViewers();
    updateStatus();
    statusBar()->showMessage(tr("Read again."), 5000);
}

void ModWindow::noteArchiveWritten(const QString& path)
{
    // Through links as well: the file dialog may have come another way.
    const auto real = [](const QFileInfo& file) {
        const QString canonical = file.canonicalFilePath();
        return canonical.isEmpty() ? file.absoluteFilePath() : canonical;
    };
    const QString written = real(QFileInfo(path));
    for (const ModFolder& mod : index_->mods()) {
        const QString archives =
            real(QFileInfo(QDir(QString::fromStdString(mod.path.string())), QStringLiteral("Archives")));
        if (written.startsWith(archives + QLatin1Char('/'), Qt::CaseInsensitive)) {
            // Once the writing is all done, and once for several archives.
            if (!reloadPending_) {
                reloadPending_ = true;
                QTimer::singleShot(0, this, [this] {
                    reloadPending_ = false;
                    reload();
                });
            }
            return;
        }
    }
}

void ModWindow::remapResults()
{
    for (int i = results_->topLevelItemCount(); i-- > 0;) {
        QTreeWidgetItem* item = results_->topLevelItem(i);
        const ModEntry* entry = index_->find(item->data(0, kPathRole).toString().toStdString());
        if (!entry) {
            delete item;
            continue;
        }
        item->setData(0, kEntryRole, QVariant::fromValue<qulonglong>(static_cast<qulonglong>(entry - index_->entries().data())));
        item->setText(ResultFrom, QString::fromStdString(index_->archive(entry->source).shownPath));
    }
}

void ModWindow::showProblems()
{
    const QStringList lines = problems();
    // A blank line between reasons: wrapped, one would run into the next.
    QMessageBox* box = windowModalBox(this, QMessageBox::Warning, displayName(),
                                      tr("Some parts of the mod are left out of what is shown."),
                                      lines.join(QStringLiteral("\n\n")));
    box->open();
}

std::vector<std::size_t> ModWindow::selectedEntries() const
{
    std::vector<std::size_t> entries;
    if (panes_->currentWidget() == results_) {
        for (const QTreeWidgetItem* item : results_->selectedItems())
            entries.push_back(static_cast<std::size_t>(item->data(0, kEntryRole).toULongLong()));
        return entries;
    }
    for (const QModelIndex& row : outline_->selectionModel()->selectedRows(ModTreeModel::NameColumn))
        if (const std::optional<std::size_t> entry = model_->entryAt(row))
            entries.push_back(*entry);
    return entries;
}

void ModWindow::openEntries(const std::vector<std::size_t>& entries)
{
    for (const std::size_t entry : entries) {
        const std::string& path = index_->path(index_->entries()[entry]);
        OpenViewer& open = viewers_[foldedCopy(path)];
        if (open.window) {
            open.window->show();
            open.window->raise();
            open.window->activateWindow();
            continue;
        }
        const EntrySource source = index_->entries()[entry].source;
        const Result<SharedBytes> content = index_->content(source);
        if (!content) {
            errorBox(this, displayName(), tr("“%1” could not be read.").arg(nameOf(path)), content.error(),
                     Wording::Plain)
                ->open();
            continue;
        }
        // A node of its own, in no tree and with no history: nothing done in
        // the viewer reaches an archive. Its hub is the window's, so that a
        // reload can show new content in it.
        const RFATreeNode::Ptr node = RFATreeNode::initWithData(*content, nameOf(path).toStdString());
        node->setChangeHub(viewerHub_);
        const QString shownName = QString::fromStdString(index_->archive(source).shownPath);
        QWidget* viewer = nullptr;
        QMenuBar* menus = nullptr;
        if (node->isText()) {
            auto* editor = new TextEditorWindow(node, shownName, this);
            editor->setReadOnly();
            viewer = editor;
            menus = editor->menuBar();
        } else if (node->isImage()) {
            auto* picture = new RFAImageViewingController(node, application_.imageDecoders(), shownName, this);
            menus = &picture->menuBar();
            viewer = picture;
        } else {
            // Any other file shows its bytes, as in an archive window.
            auto* hex = new HexViewerWindow(node, shownName, this);
            menus = hex->menuBar();
            viewer = hex;
        }
        // No archive window's menus here: the viewer has its own Close.
        QAction* close = menus->addMenu(tr("&File"))->addAction(tr("&Close"));
        close->setShortcuts(QKeySequence::Close);
        connect(close, &QAction::triggered, viewer, &QWidget::close);
        if (auto* editor = qobject_cast<TextEditorWindow*>(viewer))
            editor->addFindCommands();
        if (auto* picture = qobject_cast<RFAImageViewingController*>(viewer)) {
            picture->addZoomCommands();
            picture->sizeToPicture();
        }
        open = {viewer, node};
        // Its bytes go with it, not at the next reload.
        connect(viewer, &QObject::destroyed, this, [this, key = foldedCopy(path)](QObject* gone) {
            const auto at = viewers_.find(key);
            if (at != viewers_.end() && (!at->second.window || at->second.window == gone))
                viewers_.erase(at);
        });
        placeOnScreen(*viewer, this);
        viewer->show();
        viewer->raise();
        viewer->activateWindow();
    }
    // Opened from the results of a search of the texts: at the match.
    if (panes_->currentWidget() != results_ || searchedText_.isEmpty())
        return;
    for (const std::size_t entry : entries) {
        const auto open = viewers_.find(foldedCopy(index_->path(index_->entries()[entry])));
        if (auto* editor = open == viewers_.end() ? nullptr : qobject_cast<TextEditorWindow*>(open->second.window))
            editor->findBar().showFirstMatch(searchedText_);
    }
}

void ModWindow::refreshViewers()
{
    for (auto at = viewers_.begin(); at != viewers_.end();) {
        const OpenViewer& open = at->second;
        const ModEntry* entry = open.window ? index_->find(at->first) : nullptr;
        const Result<SharedBytes> content =
            entry ? index_->content(entry->source) : Result<SharedBytes>(Error{ErrorCode::CannotRead, at->first});
        if (!content) {
            // Gone from the mod (or no longer readable): its old bytes would mislead.
            if (open.window)
                open.window->close();
            at = viewers_.erase(at);
            continue;
        }
        if (**content != *open.entry->data())
            open.entry->setData(*content);
        ViewerWindows::setDisplayName(*open.window, QString::fromStdString(index_->archive(entry->source).shownPath));
        ++at;
    }
}

MyDocument* ModWindow::editInArchive()
{
    const std::vector<std::size_t> selected = selectedEntries();
    if (selected.size() != 1) {
        QApplication::beep();
        return nullptr;
    }
    const EntrySource source = index_->entries()[selected.front()].source;
    MyDocument* window =
        application_.openFile(QString::fromStdString(index_->archive(source).path.string()));
    if (window) {
        window->revealEntry(index_->record(source).name);
        // Mods hold archives of the same names: the title tells whose it is.
        window->setTitleContext(QString::fromStdString(index_->mods()[index_->archive(source).mod].name));
    }
    return window;
}

void ModWindow::showOutline()
{
    panes_->setCurrentWidget(outline_);
    statusBar()->clearMessage();
}

void ModWindow::showSearchHint()
{
    searchField_->setPlaceholderText(searchContents_->isChecked() ? tr("Search the whole mod (Return)")
                                                                  : tr("Search the whole mod"));
}

void ModWindow::search()
{
    searchIn(searchContents_->isChecked() ? Scope::AsTicked : Scope::Names);
}

void ModWindow::searchIn(Scope scope)
{
    const std::string text = searchField_->text().toStdString();
    if (text.empty())
        return showOutline();
    Result<std::vector<ModHit>> found = Error{ErrorCode::Cancelled};
    if (scope == Scope::AsTicked) {
        SlowWorkProgress progress(this, tr("Searching %1…").arg(displayName()));
        found = searchMod(*index_, text, searchNames_->isChecked(), true,
                          [&](std::uint64_t done, std::uint64_t total) { return progress.report(done, total); });
    } else {
        // Names are in memory: quick enough for each key typed.
        found = searchMod(*index_, text, searchNames_->isChecked(), false);
    }
    if (!found)
        return; // cancelled: the last results stay
    searchedText_ = scope == Scope::AsTicked ? searchField_->text() : QString();
    results_->clear();
    QList<QTreeWidgetItem*> items;
    bool anyLine = false;
    for (const ModHit& hit : *found) {
        const ModEntry& each = index_->entries()[hit.entry];
        const QString path = QString::fromStdString(index_->path(each));
        auto* item = new QTreeWidgetItem({nameOf(index_->path(each)), path,
                                          QString::fromStdString(index_->archive(each.source).shownPath)});
        item->setData(0, kEntryRole, QVariant::fromValue<qulonglong>(hit.entry));
        item->setData(0, kPathRole, path);
        item->setToolTip(ResultPath, path);
        item->setIcon(0, model_->data(model_->indexOfEntry(hit.entry), Qt::DecorationRole).value<QIcon>());
        // Which line matched tells one hit from another.
        if (hit.hit) {
            const QString line = tr("%1: %2").arg(hit.hit->line).arg(QString::fromStdString(hit.hit->text));
            item->setText(ResultLine, line);
            item->setToolTip(ResultLine, line);
            anyLine = true;
        }
        items << item;
    }
    results_->addTopLevelItems(items);
    results_->setColumnHidden(ResultLine, !anyLine);
    panes_->setCurrentWidget(results_);
    statusBar()->showMessage(tr("Found: %1").arg(found->size()));
}

void ModWindow::extract()
{
    std::vector<std::pair<std::size_t, std::vector<std::string>>> items;
    if (panes_->currentWidget() == results_) {
        // Results come from anywhere in the mod: each keeps its whole path,
        // so that two init.con of two levels do not meet in one file.
        for (const std::size_t entry : selectedEntries())
            items.emplace_back(entry, splitEntryPath(index_->path(index_->entries()[entry])));
    } else {
        for (const QModelIndex& row : outline_->selectionModel()->selectedRows(ModTreeModel::NameColumn))
            for (ModTreeModel::EntryBelow& below : model_->entriesBelow(row))
                items.emplace_back(below.entry, std::move(below.components));
    }
    if (items.empty())
        return QApplication::beep();
    auto* dialog = new QFileDialog(this, tr("Extract To"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setDirectory(
        settings::lastFolder(QStringLiteral("modExtract"), QString::fromStdString(modFolder().string())));
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setLabelText(QFileDialog::Accept, tr("Extract"));
    connect(dialog, &QFileDialog::fileSelected, this,
            [this, items = std::move(items)](const QString& folder) {
                settings::setLastFolder(QStringLiteral("modExtract"), folder);
                writeEntries(items, folder);
            });
    dialog->open();
}

void ModWindow::writeEntries(const std::vector<std::pair<std::size_t, std::vector<std::string>>>& items,
                             const QString& folder)
{
    const FolderWriter writer{std::filesystem::path(folder.toStdString())};
    std::size_t existing = 0;
    for (const auto& [entry, components] : items)
        existing += writer.probeFile(components).status == WriteStatus::Exists ? 1 : 0;
    const auto write = [this, items, writer, folder](bool replace) {
        QStringList problems;
        std::size_t written = 0, kept = 0;
        {
            SlowWorkProgress progress(this, tr("Extracting…"));
            for (std::size_t i = 0; i < items.size() && progress.report(i, items.size()); ++i) {
                const auto& [entry, components] = items[i];
                const Result<SharedBytes> content = index_->content(index_->entries()[entry].source);
                const WriteResult result = content ? writer.writeFile(components, **content, replace)
                                                   : WriteResult{WriteStatus::Failed, {}, content.error()};
                written += result.status == WriteStatus::Written ? 1 : 0;
                kept += result.status == WriteStatus::Exists ? 1 : 0;
                if (result.status == WriteStatus::Failed)
                    problems << shownPath(components) + QStringLiteral(": ") +
                                    QString::fromStdString(describe(*result.error, translateForCore).text);
            }
        }
        if (!syncFileSystemOf(writer.root()))
            problems << tr("The written files could not be flushed to disk.");
        // Said where the user looks next, and kept until the next message.
        QString said = tr("Extracted to %1: %2 of %3 files.").arg(QDir::toNativeSeparators(folder)).arg(written).arg(items.size());
        if (kept > 0)
            said += QLatin1Char(' ') + tr("Kept as they were: %1.").arg(kept);
        if (!problems.isEmpty())
            said += QLatin1Char(' ') + tr("Could not be written: %1.").arg(problems.size());
        statusBar()->showMessage(said);
        if (!problems.isEmpty()) {
            QMessageBox* box = windowModalBox(this, QMessageBox::Warning, displayName(),
                                              tr("Some entries could not be extracted."),
                                              problems.mid(0, 5).join(QLatin1Char('\n')));
            box->setDetailedText(problems.join(QLatin1Char('\n')));
            box->open();
        }
    };
    if (existing == 0)
        return write(false);
    QMessageBox* box = windowModalBox(
        this, QMessageBox::Question, displayName(),
        tr("Files to extract that are there already: %1.").arg(existing),
        tr("Replace them with the entries the game sees, or keep them and write the others?"),
        QMessageBox::NoButton);
    QPushButton* replace = box->addButton(tr("Replace"), QMessageBox::AcceptRole);
    QPushButton* keep = box->addButton(tr("Keep"), QMessageBox::RejectRole);
    box->addButton(QMessageBox::Cancel);
    connect(box, &QMessageBox::finished, this, [this, box, replace, keep, write] {
        const QAbstractButton* clicked = box->clickedButton();
        if (clicked == replace || clicked == keep)
            afterAnswer(this, [write, overwrite = clicked == replace] { write(overwrite); });
    });
    box->open();
}

} // namespace larkspan
