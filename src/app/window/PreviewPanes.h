#pragma once

#include "imaging/ImageDecoders.h"
#include "model/RFATreeNode.h"

#include <QObject>

#include <memory>

class QDockWidget;
class QItemSelectionModel;
class QMainWindow;

namespace larkspan {

class ArchiveColumnView;
class ArchiveDocument;
class ArchiveTreeModel;
class EntryPreview;

// The previews of an archive window: one in the column browser's last
// column when a file is selected, one docked beside the outline list when
// the user asks for it (a setting every window shares).
class PreviewPanes : public QObject {
    Q_OBJECT
public:
    PreviewPanes(QMainWindow& window, ArchiveColumnView& browser, ArchiveTreeModel& model,
                 QItemSelectionModel& selection, std::shared_ptr<const ArchiveDocument> document,
                 const ImageDecoderTable& decoders);

    EntryPreview& browserPreview() const { return *browserPreview_; }
    EntryPreview& listPreview() const { return *listPreview_; }
    // The window shows this pane now (0 browser, 1 list, 2 results).
    void showTab(int tab);
    void setListPreviewShown(bool on);
    // The archive was replaced: nothing shown belongs to it any more.
    void clear();

signals:
    void openRequested(const std::shared_ptr<larkspan::RFATreeNode>& entry, bool chooseProgram);

private:
    void updateDock();
    void followSelection();

    QItemSelectionModel& selection_;
    EntryPreview* browserPreview_;
    EntryPreview* listPreview_;
    QDockWidget* dock_;
    int tab_ = 0;
};

} // namespace larkspan
