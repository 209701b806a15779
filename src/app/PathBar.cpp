#include "app/PathBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

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

} // namespace larkspan
