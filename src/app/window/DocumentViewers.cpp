// The viewer windows of a document's entries: one per entry, found again
// by the entry itself, so that a renamed or moved entry keeps its window.

#include "app/window/MyDocument.h"

#include "app/shell/RFAApplicationDelegate.h"
#include "app/viewers/RFAImageViewingController.h"
#include "app/viewers/TextEditorWindow.h"

namespace larkspan {

void MyDocument::openEntries(const std::vector<RFATreeNode::Ptr>& entries)
{
    for (const RFATreeNode::Ptr& entry : entries) {
        if (QWidget* open = viewerFor(*entry)) {
            open->show();
            open->raise();
            open->activateWindow();
            continue;
        }
        QWidget* viewer = nullptr;
        if (entry->isText())
            viewer = new TextEditorWindow(entry, displayName(), this);
        else if (entry->isImage())
            viewer = new RFAImageViewingController(entry, application_.imageDecoders(), displayName(), this);
        if (!viewer)
            continue;
        viewers_[entry.get()] = viewer;
        connect(viewer, &QObject::destroyed, this, [this, key = entry.get()] { viewers_.erase(key); });
        viewer->show();
        viewer->raise();
        viewer->activateWindow();
    }
}

QWidget* MyDocument::viewerFor(const RFATreeNode& entry) const
{
    const auto found = viewers_.find(&entry);
    return found == viewers_.end() ? nullptr : found->second.data();
}

void MyDocument::retitleViewers()
{
    for (const auto& [entry, viewer] : viewers_) {
        if (auto* editor = qobject_cast<TextEditorWindow*>(viewer.data()))
            editor->setDisplayName(displayName());
        else if (auto* picture = qobject_cast<RFAImageViewingController*>(viewer.data()))
            picture->setDisplayName(displayName());
    }
}

void MyDocument::closeViewers()
{
    const auto viewers = viewers_;
    for (const auto& [entry, viewer] : viewers)
        if (viewer)
            viewer->close();
    viewers_.clear();
}

} // namespace larkspan
