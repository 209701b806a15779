#include "app/window/MyDocument.h"

#include "app/dnd/RFADragAndDropDelegate.h"
#include "app/shell/ContextMenus.h"
#include "app/shell/CoreTranslation.h"
#include "app/shell/RFAApplicationDelegate.h"
#include "app/shell/Settings.h"
#include "app/views/ArchiveColumnView.h"
#include "app/views/ArchiveOutlineView.h"
#include "app/views/ArchiveSelection.h"
#include "app/views/ArchiveTreeModel.h"
#include "app/views/CutMarks.h"
#include "app/window/BackgroundSearch.h"
#include "app/window/DocumentDialogs.h"
#include "app/window/DocumentFileController.h"
#include "app/window/OpenWithFiles.h"
#include "app/window/PathBar.h"
#include "app/window/PreviewPanes.h"
#include "app/window/SearchResultsModel.h"
#include "app/window/SearchResultsView.h"
#include "app/window/ViewerWindows.h"
#include "base/StringAdditions.h"
#include "document/StatusBarText.h"
#include "format/EntryPath.h"
#include "model/UndoHistory.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QButtonGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace larkspan {

namespace {

quint64 nextDocumentId()
{
    static quint64 last = 0;
    return ++last;
}

// The style's own checked look is a shade apart from the unchecked one:
// the view mode and the search options show theirs in the selection's
// colours.
void showCheckedClearly(QToolButton& button)
{
    button.setStyleSheet(QStringLiteral(
        "QToolButton { padding: 3px 8px; border: 1px solid palette(mid); border-radius: 3px;"
        " background-color: palette(button); }"
        "QToolButton:hover { border-color: palette(highlight); }"
        "QToolButton:checked { background-color: palette(highlight); color: palette(highlighted-text);"
        " border-color: palette(highlight); }"
        "QToolButton:disabled { color: palette(mid); }"
        "QToolButton:checked:disabled { background-color: palette(midlight); color: palette(dark); border-color: palette(mid); }"));
}

} // namespace

MyDocument::MyDocument(RFAApplicationDelegate& application)
    : application_(application), dialogs_(new DocumentDialogs(*this)),
      document_(ArchiveDocument::create(*dialogs_, translateForCore)),
      file_(new DocumentFileController(*this, application, document_)),
      viewers_(std::make_unique<ViewerWindows>(*this, application)), documentId_(nextDocumentId())
{
    setAttribute(Qt::WA_DeleteOnClose);
    buildWindow();
    connectDocument();
    document_->browse().setSearchDefaults(settings::searchFilenames(), settings::searchFileContents());
    setViewMode(settings::defaultViewMode());
    updateTitle();
    updateStatusLater();
}

MyDocument::~MyDocument()
{
    application_.forgetDocument(this);
    // The viewers go first, while the window and the document they show
    // are still whole.
    viewers_.reset();
    document_->removeObserver(documentObserver_);
    document_->undoHistory()->setChangeCallback({});
    if (application_.isQuitting())
        application_.keepUntilExit(document_);
}

void MyDocument::buildWindow()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 0);

    // The bar above the views: the view mode on the left, the search on the right.
    auto* bar = new QHBoxLayout;
    viewModes_ = new QButtonGroup(this);
    viewModes_->setExclusive(true);
    const QString modeNames[] = {tr("Browser"), tr("List")};
    for (int mode = 0; mode < 2; ++mode) {
        auto* button = new QToolButton(central);
        button->setText(modeNames[mode]);
        button->setObjectName(mode == 0 ? QStringLiteral("browserViewButton") : QStringLiteral("listViewButton"));
        button->setCheckable(true);
        showCheckedClearly(*button);
        button->setToolTip(mode == 0 ? tr("Show the archive as columns") : tr("Show the archive as a list"));
        viewModes_->addButton(button, mode);
        bar->addWidget(button);
    }
    // The control's choice is also the mode of windows opened later; the
    // View menu changes only this window.
    connect(viewModes_, &QButtonGroup::idClicked, this, [this](int mode) {
        setViewMode(mode);
        settings::setDefaultViewMode(mode);
    });
    bar->addStretch(1);
    searchNames_ = new QToolButton(central);
    searchNames_->setText(tr("Names"));
    searchNames_->setCheckable(true);
    showCheckedClearly(*searchNames_);
    searchNames_->setToolTip(tr("Search the names of entries"));
    searchContents_ = new QToolButton(central);
    searchContents_->setText(tr("Contents"));
    searchContents_->setCheckable(true);
    showCheckedClearly(*searchContents_);
    searchContents_->setToolTip(tr("Search the text of scripts and text files"));
    connect(searchNames_, &QToolButton::toggled, this, [this](bool on) {
        settings::setSearchFilenames(on);
        application_.searchDefaultsChanged();
    });
    connect(searchContents_, &QToolButton::toggled, this, [this](bool on) {
        settings::setSearchFileContents(on);
        application_.searchDefaultsChanged();
    });
    searchField_ = new QLineEdit(central);
    searchField_->setObjectName(QStringLiteral("searchField"));
    searchField_->setPlaceholderText(tr("Search"));
    searchField_->setMinimumWidth(220);
    QAction* cancel = searchField_->addAction(style()->standardIcon(QStyle::SP_LineEditClearButton),
                                              QLineEdit::TrailingPosition);
    cancel->setToolTip(tr("Cancel the search"));
    connect(cancel, &QAction::triggered, this, [this] { document_->browse().cancelSearch(); });
    backgroundSearch_ = new BackgroundSearch(document_, this);
    connect(searchField_, &QLineEdit::textEdited, this, [this](const QString& text) { searchFor(text, false); });
    // Return searches, also for nothing (the results pane shows); Escape leaves the search.
    connect(searchField_, &QLineEdit::returnPressed, this, [this] { searchFor(searchField_->text(), true); });
    cancel->setShortcut(Qt::Key_Escape);
    cancel->setShortcutContext(Qt::WidgetShortcut);
    bar->addWidget(searchNames_);
    bar->addWidget(searchContents_);
    bar->addWidget(searchField_);
    layout->addLayout(bar);

    // The three panes: column browser, outline list, search results.
    cutMarks_ = new CutMarks(this);
    treeModel_ = new ArchiveTreeModel(this);
    treeModel_->setArchive(&document_->archive());
    treeModel_->setCutMarks(cutMarks_);
    browser_ = new ArchiveColumnView(central);
    browser_->setObjectName(QStringLiteral("browser"));
    outline_ = new ArchiveOutlineView(central);
    outline_->setObjectName(QStringLiteral("outline"));
    treeSelection_ = showInViews(*treeModel_, *browser_, *outline_);
    connect(treeModel_, &ArchiveTreeModel::renameRequested, this,
            [this](const RFATreeNode::Ptr& node, const QString& name) { rename(node, name); });
    connect(treeSelection_, &QItemSelectionModel::selectionChanged, this, &MyDocument::selectionChanged);
    connect(browser_, &ArchiveColumnView::activatedNodes, viewers_.get(), &ViewerWindows::openEntries);
    connect(outline_, &ArchiveOutlineView::activatedNodes, viewers_.get(), &ViewerWindows::openEntries);
    openWith_ = new OpenWithFiles(*this, document_);
    previews_ = new PreviewPanes(*this, *browser_, *treeModel_, *treeSelection_, document_, application_.imageDecoders());
    connect(previews_, &PreviewPanes::openRequested, this, [this](const RFATreeNode::Ptr& entry, bool chooseProgram) {
        chooseProgram ? openWith_->chooseAndOpen(entry) : openWith_->openWithRemembered(entry);
    });

    auto* resultsPane = new QWidget(central);
    auto* resultsLayout = new QVBoxLayout(resultsPane);
    resultsLayout->setContentsMargins(0, 0, 0, 0);
    resultsLayout->setSpacing(0);
    // With both options off nothing can be found: the pane says so.
    searchOffHint_ = new QWidget(resultsPane);
    searchOffHint_->setObjectName(QStringLiteral("searchOffHint"));
    auto* hintLayout = new QHBoxLayout(searchOffHint_);
    hintLayout->setContentsMargins(6, 4, 6, 4);
    hintLayout->addWidget(new QLabel(tr("Names and Contents are both off: nothing is searched."), searchOffHint_), 1);
    auto* searchNamesButton = new QPushButton(tr("Search Names"), searchOffHint_);
    searchNamesButton->setObjectName(QStringLiteral("searchNamesButton"));
    connect(searchNamesButton, &QPushButton::clicked, this, [this] {
        searchNames_->setChecked(true);
        searchField_->setFocus();
    });
    hintLayout->addWidget(searchNamesButton);
    resultsLayout->addWidget(searchOffHint_);
    resultsModel_ = new SearchResultsModel(document_, this);
    resultsModel_->setCutMarks(cutMarks_);
    results_ = new SearchResultsView(resultsPane);
    results_->setObjectName(QStringLiteral("searchResults"));
    results_->setModel(resultsModel_);
    results_->setSelectionBehavior(QAbstractItemView::SelectRows);
    results_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    results_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    results_->setShowGrid(false);
    results_->verticalHeader()->hide();
    results_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    // Names get the room they need, the path what is left, sizes their width.
    results_->horizontalHeader()->setSectionResizeMode(SearchResultsModel::Path, QHeaderView::Stretch);
    results_->horizontalHeader()->setSectionResizeMode(SearchResultsModel::Size, QHeaderView::ResizeToContents);
    results_->horizontalHeader()->setMinimumSectionSize(fontMetrics().horizontalAdvance(QStringLiteral("Name")) * 2);
    results_->horizontalHeader()->setSortIndicatorClearable(true);
    results_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    results_->setSortingEnabled(true);
    results_->setIconSize(QSize(16, 16));
    connect(results_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &MyDocument::selectionChanged);
    connect(resultsModel_, &QAbstractItemModel::modelReset, this, &MyDocument::selectionChanged);
    connect(resultsModel_, &QAbstractItemModel::modelReset, this, &MyDocument::fitResultNames);
    // A result its text was found in opens at the match.
    const auto openResults = [this](const std::vector<RFATreeNode::Ptr>& entries) {
        const BrowseState& browse = document_->browse();
        viewers_->openEntriesAtMatch(
            entries, browse.searchesFileContents() ? QString::fromStdString(browse.searchText()) : QString());
    };
    connect(results_, &QTableView::activated, this, [this, openResults] { openResults(document_->selection().nodes()); });
    pathBar_ = new PathBar(resultsPane);
    pathBar_->setObjectName(QStringLiteral("pathBar"));
    dragAndDrop_ = new RFADragAndDropDelegate(*this, application_);
    browser_->setDragAndDrop(dragAndDrop_);
    outline_->setDragAndDrop(dragAndDrop_);
    results_->setDragAndDrop(dragAndDrop_);
    // A component whose entry has left the tree since the bar was made starts no drag.
    connect(pathBar_, &PathBar::dragRequested, this, [this](const RFATreeNode::Ptr& node) {
        if (document_->isInTree(*node))
            dragAndDrop_->startDrag(pathBar_, {node}, DragOrigin::SearchResults);
    });
    connect(pathBar_, &PathBar::componentClicked, this, &MyDocument::showInTree);
    // Right-click menus: the commands of the menus on the entries clicked.
    const auto entryMenu = [this, openResults](const QPoint& globalPosition, bool inResults) {
        QMenu* menu = replaceContextMenu(*this);
        const std::vector<RFATreeNode::Ptr> selected = document_->selection().nodes();
        menu->addAction(tr("Open"), this,
                        [this, selected, inResults, openResults] {
                            inResults ? openResults(selected) : viewers_->openEntries(selected);
                        })
            ->setEnabled(!selected.empty());
        menu->addAction(application_.action(RFAApplicationDelegate::Command::OpenWith));
        if (inResults)
            menu->addAction(tr("Show in Folder"), this, [this, selected] { showInTree(selected.front()); })
                ->setEnabled(selected.size() == 1);
        using Command = RFAApplicationDelegate::Command;
        for (const Command command : {Command::Extract, Command::Rename, Command::Delete, Command::NewFolder,
                                      Command::AddFiles, Command::Cut, Command::Copy, Command::Paste}) {
            if (command == Command::NewFolder || command == Command::Cut)
                menu->addSeparator();
            menu->addAction(application_.action(command));
        }
        menu->popup(globalPosition);
    };
    connect(browser_, &ArchiveColumnView::entryMenuRequested, this,
            [entryMenu](const QPoint& at) { entryMenu(at, false); });
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(outline_), static_cast<QAbstractItemView*>(results_)}) {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this, [this, view, entryMenu](const QPoint& at) {
            entryMenu(view->viewport()->mapToGlobal(at), view == results_);
        });
    }
    resultsLayout->addWidget(results_, 1);
    resultsLayout->addWidget(pathBar_);

    panes_ = new QStackedWidget(central);
    panes_->setObjectName(QStringLiteral("panes"));
    panes_->addWidget(browser_);
    panes_->addWidget(outline_);
    panes_->addWidget(resultsPane);
    layout->addWidget(panes_, 1);
    setCentralWidget(central);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("statusLine"));
    statusBar()->addWidget(status_, 1);

    application_.installMenus(*menuBar());
    resize(760, 480);
}

void MyDocument::connectDocument()
{
    documentObserver_ = document_->addObserver(
        [this](DocumentProperty property, bool isPrior) { documentChanged(property, isPrior); });
    watchTree();
    connect(file_, &DocumentFileController::titleChanged, this, &MyDocument::updateTitle);
    connect(file_, &DocumentFileController::stateChanged, this, &MyDocument::stateChanged);
    // One undo step per user event: a group opened by an edit is closed
    // once the event that made it has been handled.
    document_->undoHistory()->setChangeCallback([this] {
        if (document_->undoHistory()->hasOpenGroup() && !groupClosePending_) {
            groupClosePending_ = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    groupClosePending_ = false;
                    document_->undoHistory()->endGroup();
                },
                Qt::QueuedConnection);
        }
        setWindowModified(document_->isModified());
        emit stateChanged();
    });
    searchNames_->setChecked(settings::searchFilenames());
    searchContents_->setChecked(settings::searchFileContents());
}

void MyDocument::watchTree()
{
    // The status line counts what the tree holds.
    treeChanges_ = document_->changeHub()->observe(
        {.properties = {NodeProperty::Children, NodeProperty::FullSize}}, [this](const ChangeReport& report) {
            if (!report.isPrior)
                updateStatusLater();
        });
}

void MyDocument::documentChanged(DocumentProperty property, bool isPrior)
{
    if (isPrior)
        return;
    switch (property) {
    case DocumentProperty::Archive:
        backgroundSearch_->cancel();
        treeModel_->setArchive(&document_->archive());
        // The views drop their selection with the old tree, and say nothing.
        document_->selection().set({});
        updateStatusLater();
        watchTree();
        viewers_->closeAll();
        previews_->clear();
        updateTitle();
        break;
    case DocumentProperty::TabToShow:
        if (!document_->browse().inSearchMode())
            backgroundSearch_->cancel();
        showTab();
        break;
    case DocumentProperty::FoundEntries:
        updateStatusLater();
        break;
    case DocumentProperty::ViewMode:
    case DocumentProperty::SaveAndRunEnabled:
    case DocumentProperty::Availability:
        break;
    }
    emit stateChanged();
}

void MyDocument::setViewMode(int mode)
{
    document_->browse().setViewMode(static_cast<std::uint32_t>(mode));
    if (QAbstractButton* button = viewModes_->button(mode))
        button->setChecked(true);
    showTab();
}

void MyDocument::showTab()
{
    const int tab = document_->browse().tabToShow();
    panes_->setCurrentIndex(tab);
    previews_->showTab(tab);
    for (QAbstractButton* button : viewModes_->buttons())
        button->setEnabled(tab < 2);
    if (tab < 2 && !searchField_->text().isEmpty() && !document_->browse().inSearchMode())
        searchField_->clear();
    updateSearchHint();
    selectionChanged();
}

void MyDocument::searchFor(const QString& text, bool confirmed)
{
    BrowseState& browse = document_->browse();
    // Names alone are searched at once, as fast as typing.
    if (!browse.searchesFileContents()) {
        backgroundSearch_->cancel();
        browse.search(text.toStdString());
        return;
    }
    browse.enterSearch(text.toStdString());
    backgroundSearch_->schedule(confirmed);
}

void MyDocument::fitResultNames()
{
    // At most half the pane, so that a long name leaves the path in view.
    // Public in the base class only.
    const int needed = static_cast<const QAbstractItemView*>(results_)->sizeHintForColumn(SearchResultsModel::Name);
    const int room = results_->viewport()->width() / 2;
    results_->horizontalHeader()->resizeSection(SearchResultsModel::Name,
                                                std::max(std::min(needed, room), results_->horizontalHeader()->minimumSectionSize()));
}

void MyDocument::updateSearchHint()
{
    searchOffHint_->setVisible(document_->browse().inSearchMode() && !searchNames_->isChecked() &&
                               !searchContents_->isChecked());
}

QAbstractItemView* MyDocument::currentView() const
{
    switch (document_->browse().tabToShow()) {
    case 0:
        return browser_;
    case 1:
        return outline_;
    default:
        return results_;
    }
}

void MyDocument::selectionChanged()
{
    if (document_->browse().inSearchMode()) {
        document_->selection().set(results_->selectedNodes());
        pathBar_->setComponents(searchPathComponents(document_->selection().nodes()));
    } else {
        document_->selection().set(selectedNodes(*treeSelection_));
    }
    updateStatusLater();
}

void MyDocument::updateStatusLater()
{
    // Many changes can arrive in one event (a move of a hundred entries):
    // the line is made once, after them.
    if (statusUpdatePending_)
        return;
    statusUpdatePending_ = true;
    QTimer::singleShot(0, this, [this] {
        statusUpdatePending_ = false;
        status_->setText(QString::fromStdString(statusBarText(*document_, translateForCore)));
    });
}

QString MyDocument::displayName() const
{
    if (const auto& location = document_->fileLocation())
        return QString::fromStdString(location->filename().string());
    return tr("Untitled");
}

void MyDocument::setTitleContext(const QString& context)
{
    contextFile_ = document_->fileLocation();
    titleContext_ = context;
    updateTitle();
}

void MyDocument::updateTitle()
{
    // Saved as another file, the window shows an archive the context was not given for.
    const bool inContext = !titleContext_.isEmpty() && document_->fileLocation() == contextFile_;
    setWindowTitle(inContext ? tr("%1[*] — %2").arg(displayName(), titleContext_) : displayName() + QStringLiteral("[*]"));
    setWindowModified(document_->isModified());
    viewers_->retitle();
}

void MyDocument::searchDefaultsChanged()
{
    const QSignalBlocker namesBlocker(searchNames_);
    const QSignalBlocker contentsBlocker(searchContents_);
    searchNames_->setChecked(settings::searchFilenames());
    searchContents_->setChecked(settings::searchFileContents());
    backgroundSearch_->cancel();
    document_->browse().setSearchDefaults(settings::searchFilenames(), settings::searchFileContents());
    updateSearchHint();
}

bool MyDocument::canRename() const
{
    return document_->browse().tabToShow() < 2 && document_->selection().nodes().size() == 1;
}

void MyDocument::renameSelection()
{
    if (!canRename())
        return QApplication::beep();
    startRenaming(document_->selection().nodes().front());
}

void MyDocument::newFolder()
{
    const RFATreeNode::Ptr folder = document_->commands().createNewFolder();
    // The results show what matches the search, the new folder perhaps not.
    if (folder && !document_->browse().inSearchMode())
        startRenaming(folder);
}

void MyDocument::startRenaming(const RFATreeNode::Ptr& node)
{
    QAbstractItemView* view = currentView();
    const QModelIndex index = treeModel_->indexForNode(*node);
    treeSelection_->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->scrollTo(index);
    view->edit(index);
}

bool MyDocument::revealEntry(const std::string& path)
{
    const std::vector<std::string> components = splitEntryPath(path);
    for (const RFATreeNode::Ptr& top : document_->topLevelNodes()) {
        if (top->name() != components.front())
            continue;
        const RFATreeNode::Ptr node =
            components.size() == 1 ? top : top->childWithPathArray(std::span(components).subspan(1));
        if (node) {
            showInTree(node);
            return true;
        }
    }
    return false;
}

void MyDocument::showInTree(const RFATreeNode::Ptr& node)
{
    if (!document_->isInTree(*node))
        return QApplication::beep();
    document_->browse().cancelSearch();
    const QModelIndex index = treeModel_->indexForNode(*node);
    treeSelection_->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    currentView()->scrollTo(index);
    currentView()->setFocus();
}

void MyDocument::rename(const RFATreeNode::Ptr& node, const QString& text)
{
    document_->commands().renameNode(node, text.toStdString());
}

void MyDocument::cut()
{
    dragAndDrop_->copy(true);
}

void MyDocument::copy()
{
    dragAndDrop_->copy(false);
}

void MyDocument::paste()
{
    dragAndDrop_->paste();
}

void MyDocument::selectAll()
{
    currentView()->selectAll();
}

void MyDocument::find()
{
    searchField_->setFocus();
    searchField_->selectAll();
}

QWidget* MyDocument::dialogParent()
{
    QWidget* front = QApplication::activeWindow();
    // A question just answered may still count as in front, or nothing yet
    // (the window manager has not given the focus back): the window it
    // stood over is meant.
    while (front && qobject_cast<QDialog*>(front) && front->parentWidget())
        front = front->parentWidget()->window();
    if (!front && questionsOver_ && questionsOver_->isVisible())
        return questionsOver_;
    questionsOver_ = front && front->parentWidget() == this && ViewerWindows::isViewerWindow(front) ? front : this;
    return questionsOver_;
}

void MyDocument::closeWithoutAsking()
{
    closeConfirmed_ = true;
    close();
}

void MyDocument::keyPressEvent(QKeyEvent* event)
{
    // The clipboard is emptied, so that a later Paste cannot move what no
    // longer looks cut.
    if (event->key() == Qt::Key_Escape && !cutMarks_->isEmpty())
        return QApplication::clipboard()->clear();
    QMainWindow::keyPressEvent(event);
}

void MyDocument::closeEvent(QCloseEvent* event)
{
    if (!closeConfirmed_ && isModified()) {
        event->ignore();
        file_->askToSaveChanges([this](bool proceed) {
            if (proceed)
                closeWithoutAsking();
        });
        return;
    }
    settings::setWindowGeometry(saveGeometry());
    viewers_->closeAll();
    event->accept();
    // Deleted later: until then no command, nor an opening file, may take it.
    application_.documentClosed(this);
}

} // namespace larkspan
