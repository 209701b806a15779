#include "app/window/PreviewPanes.h"

#include "app/shell/Settings.h"
#include "app/views/ArchiveColumnView.h"
#include "app/views/ArchiveSelection.h"
#include "app/views/ArchiveTreeModel.h"
#include "app/views/EntryPreview.h"

#include <QDockWidget>
#include <QMainWindow>

namespace larkspan {

PreviewPanes::PreviewPanes(QMainWindow& window, ArchiveColumnView& browser, ArchiveTreeModel& model,
                           QItemSelectionModel& selection, std::shared_ptr<const ArchiveDocument> document,
                           const ImageDecoderTable& decoders)
    : QObject(&window), selection_(selection), browserPreview_(new EntryPreview(document, decoders)),
      listPreview_(new EntryPreview(document, decoders)), dock_(new QDockWidget(tr("Preview"), &window))
{
    browserPreview_->setObjectName(QStringLiteral("browserPreview"));
    listPreview_->setObjectName(QStringLiteral("listPreview"));
    // The browser owns its preview and shows it for a file (a row without children).
    browser.setPreviewWidget(browserPreview_);
    connect(&browser, &QColumnView::updatePreviewWidget, this,
            [this, &model](const QModelIndex& index) { browserPreview_->setEntry(model.nodeForIndex(index)); });

    dock_->setObjectName(QStringLiteral("previewDock"));
    dock_->setFeatures(QDockWidget::DockWidgetClosable);
    dock_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    dock_->setWidget(listPreview_);
    window.addDockWidget(Qt::RightDockWidgetArea, dock_);
    dock_->hide();
    // Closing the dock by its button is turning the preview off.
    connect(dock_, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (!visible && tab_ == 1 && !dock_->isVisible() && dock_->parentWidget()->isVisible())
            settings::setShowPreview(false);
    });
    // A previewed entry deleted is shown no more (one moved is in a folder still).
    connect(&model, &QAbstractItemModel::rowsRemoved, this, [this] {
        for (EntryPreview* preview : {browserPreview_, listPreview_})
            if (preview->entry() && !preview->entry()->indexInParent())
                preview->setEntry(nullptr);
    });
    connect(&selection_, &QItemSelectionModel::selectionChanged, this, &PreviewPanes::followSelection);
    connect(&selection_, &QItemSelectionModel::currentChanged, this, &PreviewPanes::followSelection);
    connect(browserPreview_, &EntryPreview::openRequested, this, &PreviewPanes::openRequested);
    connect(listPreview_, &EntryPreview::openRequested, this, &PreviewPanes::openRequested);
}

void PreviewPanes::showTab(int tab)
{
    tab_ = tab;
    updateDock();
}

void PreviewPanes::setListPreviewShown(bool on)
{
    settings::setShowPreview(on);
    updateDock();
}

void PreviewPanes::updateDock()
{
    const bool shown = tab_ == 1 && settings::showPreview();
    dock_->setVisible(shown);
    if (shown)
        followSelection();
    else
        listPreview_->setEntry(nullptr);
}

void PreviewPanes::followSelection()
{
    // Only a shown preview decodes anything.
    if (!dock_->isVisibleTo(dock_->parentWidget()))
        return;
    const std::vector<RFATreeNode::Ptr> nodes = selectedNodes(selection_);
    listPreview_->setEntry(nodes.size() == 1 ? nodes.front() : nullptr);
}

void PreviewPanes::clear()
{
    browserPreview_->setEntry(nullptr);
    listPreview_->setEntry(nullptr);
}

} // namespace larkspan
