#include "app/viewers/RFAImageViewingController.h"

#include "app/viewers/PictureInfoText.h"
#include "app/viewers/PictureView.h"
#include "app/viewers/QtImages.h"
#include "imaging/ImageDecoders.h"

#include <QScreen>
#include <QVBoxLayout>

#include <cmath>
#include <functional>

namespace larkspan {

QString RFAImageViewingController::windowTitleFor(const QString& displayName, const QString& entryName)
{
    return displayName + QStringLiteral(" \u2014 ") + entryName;
}

RFAImageViewingController::RFAImageViewingController(RFATreeNode::Ptr entry, ImageDecoderTable decoders,
                                                     QString displayName, QWidget* owner)
    : QWidget(owner, Qt::Window), entry_(std::move(entry)), decoders_(std::move(decoders)),
      displayName_(std::move(displayName)), menuBar_(new QMenuBar(this)), scroller_(new QScrollArea(this)),
      view_(new PictureView), info_(new QLabel(this)), scale_(new QLabel(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->setMenuBar(menuBar_);
    // Fitted, the view is as large as the area; zoomed, as large as the
    // picture, and the area scrolls.
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setWidgetResizable(true);
    scroller_->setAlignment(Qt::AlignCenter);
    scroller_->setWidget(view_);
    layout->addWidget(scroller_, 1);
    auto* infoLine = new QHBoxLayout;
    infoLine->setContentsMargins(6, 0, 6, 2);
    infoLine->addWidget(info_, 1);
    infoLine->addWidget(scale_);
    layout->addLayout(infoLine);
    connect(view_, &PictureView::scaleChanged, this, &RFAImageViewingController::showScale);
    if (const std::shared_ptr<ChangeHub> hub = entry_->changeHub()) {
        watch_ = hub->observe({.node = entry_.get(), .properties = {NodeProperty::Image, NodeProperty::Name}},
                              [this](const ChangeReport& report) {
                                  if (report.property == NodeProperty::Name)
                                      setDisplayName(displayName_);
                                  else
                                      takePicture();
                              });
    }
    setDisplayName(displayName_);
    takePicture();
}

void RFAImageViewingController::setDisplayName(const QString& displayName)
{
    displayName_ = displayName;
    setWindowTitle(windowTitleFor(displayName_, QString::fromStdString(entry_->name())));
}

QString RFAImageViewingController::infoText() const
{
    return pictureInfoText(*entry_);
}

void RFAImageViewingController::takePicture()
{
    const SharedImage picture = entry_->image(decoders_);
    view_->setPicture(picture ? toQImage(*picture) : QImage());
    info_->setText(infoText());
    sizeToPicture();
}

void RFAImageViewingController::showScale()
{
    scale_->setText(view_->picture().isNull() ? QString()
                                              : tr("%1 %").arg(std::lround(view_->scale() * 100)));
}

void RFAImageViewingController::sizeToPicture()
{
    // What the window takes besides the picture: menus, info line, margins.
    layout()->invalidate();
    layout()->activate();
    const QSize chrome = size() - scroller_->size();
    // The screen of the window it opens from; room is left for the window's
    // frame, which is not known before it shows.
    const QScreen* screen = (parentWidget() ? parentWidget() : this)->screen();
    const QSize room = (screen ? screen->availableGeometry().size() : QSize(800, 600)) - QSize(40, 80) - chrome;
    const QImage& picture = view_->picture();
    QSize content = picture.isNull() ? view_->sizeHint() : picture.size();
    // At its own size when the screen has room for it; else fitted, and the
    // window as large as the room allows.
    if (content.width() <= room.width() && content.height() <= room.height()) {
        view_->setZoom(1);
    } else {
        view_->zoomToFit();
        content.scale(room, Qt::KeepAspectRatio);
    }
    // Never too small to use, nor to show the menus whole: a small picture
    // stands in the middle.
    const QSize usable(std::max({320, menuBar_->sizeHint().width(), info_->minimumSizeHint().width() + 60}), 240);
    resize(content.expandedTo(usable) + chrome);
}

QList<CommandShortcut> RFAImageViewingController::zoomShortcuts()
{
    return {{tr("Zoom &In"), {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)}},
            {tr("Zoom &Out"), {QKeySequence::ZoomOut}},
            {tr("&Actual Size"), {QKeySequence(Qt::CTRL | Qt::Key_0)}},
            {tr("&Fit to Window"), {QKeySequence(Qt::CTRL | Qt::Key_9)}}};
}

void RFAImageViewingController::addZoomCommands()
{
    QMenu* view = menuBar_->findChild<QMenu*>(QStringLiteral("viewMenu"));
    if (!view)
        view = menuBar_->addMenu(tr("&View"));
    view->addSeparator();
    const std::function<void()> acts[] = {[this] { view_->zoomIn(); }, [this] { view_->zoomOut(); },
                                          [this] { view_->setZoom(1); }, [this] { view_->zoomToFit(); }};
    const QList<CommandShortcut> commands = zoomShortcuts();
    for (qsizetype i = 0; i < commands.size(); ++i) {
        QAction* action = view->addAction(commands[i].command);
        action->setShortcuts(commands[i].shortcuts);
        connect(action, &QAction::triggered, this, acts[i]);
        // Also while the menus are hidden.
        addAction(action);
    }
}

} // namespace larkspan
