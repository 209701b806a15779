#include "app/window/PathBar.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>

#include <algorithm>

namespace larkspan {

PathBar::PathBar(QWidget* parent) : QWidget(parent), layout_(new QHBoxLayout(this))
{
    layout_->setContentsMargins(4, 2, 4, 2);
    layout_->setSpacing(0);
    layout_->addStretch(1);
    setMinimumHeight(fontMetrics().height() + 10);
}

void PathBar::setComponents(std::vector<PathComponent> components)
{
    buttons_.clear();
    pressed_ = nullptr;
    while (layout_->count() > 1) {
        QLayoutItem* item = layout_->takeAt(0);
        delete item->widget();
        delete item;
    }
    components_ = std::move(components);
    for (std::size_t i = 0; i < components_.size(); ++i) {
        const PathComponent& component = components_[i];
        if (i > 0)
            layout_->insertWidget(layout_->count() - 1, new QLabel(QStringLiteral("\u203a"), this));
        auto* button = new QToolButton(this);
        button->setAutoRaise(true);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setIconSize(kEntryIconSize);
        button->setText(QString::fromStdString(component.title));
        button->setIcon(component.isFile ? icons_.iconForExtension(component.node->extension())
                                         : icons_.folderIcon());
        connect(button, &QToolButton::clicked, this, [this, node = component.node] { emit componentClicked(node); });
        button->installEventFilter(this);
        layout_->insertWidget(layout_->count() - 1, button);
        buttons_.push_back(button);
    }
}

RFATreeNode::Ptr PathBar::nodeAt(const QPoint& position) const
{
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i]->geometry().contains(position))
            return components_[i].node;
    return nullptr;
}

bool PathBar::eventFilter(QObject* watched, QEvent* event)
{
    const auto found = std::find(buttons_.begin(), buttons_.end(), watched);
    if (found == buttons_.end())
        return QWidget::eventFilter(watched, event);
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
        pressed_ = *found;
        pressedAt_ = mouse->globalPosition().toPoint();
    } else if (event->type() == QEvent::MouseButtonRelease) {
        pressed_ = nullptr;
    } else if (event->type() == QEvent::MouseMove && pressed_ == *found && (mouse->buttons() & Qt::LeftButton) &&
               (mouse->globalPosition().toPoint() - pressedAt_).manhattanLength() >= QApplication::startDragDistance()) {
        // The drag takes the release: the button must not be left pressed, nor click.
        pressed_ = nullptr;
        (*found)->setDown(false);
        // Started once this event is over: the drag may rebuild the bar,
        // button and all.
        QMetaObject::invokeMethod(
            this, [this, node = components_[static_cast<std::size_t>(found - buttons_.begin())].node] {
                emit dragRequested(node);
            },
            Qt::QueuedConnection);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace larkspan
