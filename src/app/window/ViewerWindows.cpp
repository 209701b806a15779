#include "app/window/ViewerWindows.h"

#include "app/shell/RFAApplicationDelegate.h"
#include "app/viewers/RFAImageViewingController.h"
#include "app/viewers/TextEditorWindow.h"
#include "app/window/MyDocument.h"

namespace larkspan {

ViewerWindows::ViewerWindows(MyDocument& window, const ImageDecoderTable& decoders)
    : window_(window), decoders_(decoders)
{
}

ViewerWindows::~ViewerWindows()
{
    for (const auto& [entry, viewer] : viewers_) {
        if (viewer) {
            disconnect(viewer, nullptr, this, nullptr);
            delete viewer.data();
        }
    }
}

void ViewerWindows::openEntries(const std::vector<RFATreeNode::Ptr>& entries)
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
            viewer = new TextEditorWindow(entry, window_.displayName(), &window_);
        else if (entry->isImage())
            viewer = new RFAImageViewingController(entry, decoders_, window_.displayName(), &window_);
        if (!viewer)
            continue;
        viewers_[entry.get()] = viewer;
        connect(viewer, &QObject::destroyed, this, [this, key = entry.get()] { viewers_.erase(key); });
        viewer->show();
        viewer->raise();
        viewer->activateWindow();
    }
}

QWidget* ViewerWindows::viewerFor(const RFATreeNode& entry) const
{
    const auto found = viewers_.find(&entry);
    return found == viewers_.end() ? nullptr : found->second.data();
}

void ViewerWindows::retitle()
{
    for (const auto& [entry, viewer] : viewers_) {
        if (auto* editor = qobject_cast<TextEditorWindow*>(viewer.data()))
            editor->setDisplayName(window_.displayName());
        else if (auto* picture = qobject_cast<RFAImageViewingController*>(viewer.data()))
            picture->setDisplayName(window_.displayName());
    }
}

void ViewerWindows::closeAll()
{
    const auto viewers = viewers_;
    for (const auto& [entry, viewer] : viewers)
        if (viewer)
            viewer->close();
    viewers_.clear();
}

} // namespace larkspan
