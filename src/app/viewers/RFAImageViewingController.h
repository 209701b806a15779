#pragma once

#include "app/shell/HelpWindows.h"
#include "imaging/ImageDecoders.h"
#include "model/ChangeHub.h"
#include "model/RFATreeNode.h"

#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QWidget>

namespace larkspan {

class PictureView;

// The window that shows one image entry. It follows the entry: new bytes
// bring a new picture (and a window sized to it), a rename a new title.
class RFAImageViewingController : public QWidget {
    Q_OBJECT
public:
    RFAImageViewingController(RFATreeNode::Ptr entry, ImageDecoderTable decoders, QString displayName,
                              QWidget* owner = nullptr);

    const RFATreeNode::Ptr& archiveEntry() const { return entry_; }
    const PictureView& pictureView() const { return *view_; }
    QMenuBar& menuBar() const { return *menuBar_; }
    QString infoText() const;

    static QString windowTitleFor(const QString& displayName, const QString& entryName);
    // The View menu's zoom commands with their keys, in the menu's order.
    static QList<CommandShortcut> zoomShortcuts();
    void setDisplayName(const QString& displayName);
    // The picture at its own size and the window as large as it, menus and
    // info line on top (again after the menus are filled); a picture larger
    // than the screen's room fitted to it. The window is at least large
    // enough to be used and to show its menus.
    void sizeToPicture();
    // Fit to Window, Actual Size, Zoom In and Zoom Out, added to the View
    // menu of the window's menus once they are installed.
    void addZoomCommands();

private:
    void takePicture();
    void showScale();

    RFATreeNode::Ptr entry_;
    const ImageDecoderTable decoders_;
    QString displayName_;
    QMenuBar* menuBar_;
    QScrollArea* scroller_;
    PictureView* view_;
    QLabel* info_;
    QLabel* scale_;
    ObserverToken watch_;
};

} // namespace larkspan
