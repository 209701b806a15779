#include "app/window/ViewerWindows.h"

#include "app/shell/MessageBoxes.h"
#include "app/shell/RFAApplicationDelegate.h"
#include "app/viewers/HexViewerWindow.h"
#include "app/shell/WindowPlacement.h"
#include "app/viewers/RFAImageViewingController.h"
#include "app/viewers/TextEditorWindow.h"
#include "app/viewers/TextFindBar.h"
#include "app/window/MyDocument.h"
#include "app/window/OpenWithFiles.h"
#include "model/EntryKind.h"

#include <QMenuBar>

namespace larkspan {

ViewerWindows::ViewerWindows(MyDocument& window, RFAApplicationDelegate& application)
    : window_(window), application_(application)
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
        // Bytes still stored are decoded here; damaged ones open no viewer.
        if (const Result<SharedBytes> bytes = entry->readData(); !bytes) {
            errorBox(&window_, window_.displayName(),
                     tr("“%1” could not be read.").arg(QString::fromStdString(entry->name())), bytes.error())
                ->open();
            continue;
        }
        QWidget* viewer = nullptr;
        if (entry->isText()) {
            auto* editor = new TextEditorWindow(entry, window_.displayName(), &window_);
            application_.installMenus(*editor->menuBar());
            editor->addFindCommands();
            viewer = editor;
        } else if (entry->isImage()) {
            auto* picture =
                new RFAImageViewingController(entry, application_.imageDecoders(), window_.displayName(), &window_);
            application_.installMenus(picture->menuBar());
            picture->addZoomCommands();
            picture->sizeToPicture();
            viewer = picture;
        } else if (entryKindOf(entry->extension()) == EntryKind::Sound) {
            // The user's player does sounds better than any window of ours.
            window_.openWith().openWithRemembered(entry);
            continue;
        } else if (entry->isLeaf()) {
            auto* hex = new HexViewerWindow(entry, window_.displayName(), &window_);
            application_.installMenus(*hex->menuBar());
            viewer = hex;
        }
        if (!viewer)
            continue;
        viewers_[entry.get()] = viewer;
        connect(viewer, &QObject::destroyed, this, [this, key = entry.get()] { viewers_.erase(key); });
        placeOnScreen(*viewer, &window_);
        viewer->show();
        viewer->raise();
        viewer->activateWindow();
    }
}

void ViewerWindows::openEntriesAtMatch(const std::vector<RFATreeNode::Ptr>& entries, const QString& text)
{
    openEntries(entries);
    if (text.isEmpty())
        return;
    for (const RFATreeNode::Ptr& entry : entries)
        if (auto* editor = qobject_cast<TextEditorWindow*>(viewerFor(*entry)))
            editor->findBar().showFirstMatch(text);
}

QWidget* ViewerWindows::viewerFor(const RFATreeNode& entry) const
{
    const auto found = viewers_.find(&entry);
    return found == viewers_.end() ? nullptr : found->second.data();
}

bool ViewerWindows::isViewerWindow(const QWidget* window)
{
    return qobject_cast<const TextEditorWindow*>(window) || qobject_cast<const RFAImageViewingController*>(window) ||
           qobject_cast<const HexViewerWindow*>(window);
}

void ViewerWindows::retitle()
{
    for (const auto& [entry, viewer] : viewers_)
        if (viewer)
            setDisplayName(*viewer, window_.displayName());
}

void ViewerWindows::setDisplayName(QWidget& viewer, const QString& displayName)
{
    if (auto* editor = qobject_cast<TextEditorWindow*>(&viewer))
        editor->setDisplayName(displayName);
    else if (auto* picture = qobject_cast<RFAImageViewingController*>(&viewer))
        picture->setDisplayName(displayName);
    else if (auto* hex = qobject_cast<HexViewerWindow*>(&viewer))
        hex->setDisplayName(displayName);
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
