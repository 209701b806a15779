#include "app/views/CutMarks.h"

#include <QApplication>
#include <QClipboard>
#include <QIcon>
#include <QPalette>

namespace larkspan {

CutMarks::CutMarks(QObject* parent) : QObject(parent)
{
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &CutMarks::clipboardChanged);
}

void CutMarks::mark(const std::vector<RFATreeNode::Ptr>& nodes, const QMimeData* clipboard)
{
    clear();
    for (const RFATreeNode::Ptr& node : nodes)
        marked_.emplace(node.get(), node);
    clipboard_ = clipboard;
    emit changed(nodes);
}

void CutMarks::clear()
{
    if (marked_.empty())
        return;
    std::vector<RFATreeNode::Ptr> unmarked;
    for (const auto& [address, node] : marked_)
        if (RFATreeNode::Ptr alive = node.lock())
            unmarked.push_back(std::move(alive));
    marked_.clear();
    clipboard_ = nullptr;
    emit changed(unmarked);
}

bool CutMarks::isCut(const RFATreeNode& node) const
{
    const auto found = marked_.find(&node);
    return found != marked_.end() && found->second.lock().get() == &node;
}

QVariant CutMarks::look(const RFATreeNode& node, int role, const QIcon& icon) const
{
    if ((role != Qt::DecorationRole && role != Qt::ForegroundRole) || !isCut(node))
        return {};
    if (role == Qt::ForegroundRole)
        return QApplication::palette().color(QPalette::Disabled, QPalette::Text);
    // The pixmaps of every size the icon has, in the style's disabled look.
    QIcon dimmed;
    for (const QSize& size : icon.availableSizes())
        dimmed.addPixmap(icon.pixmap(size, QIcon::Disabled));
    return dimmed.isNull() ? QVariant(icon) : QVariant(dimmed);
}

void CutMarks::clipboardChanged()
{
    if (QApplication::clipboard()->mimeData() != clipboard_)
        clear();
}

} // namespace larkspan
