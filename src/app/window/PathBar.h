#pragma once

#include "app/views/EntryIcons.h"
#include "document/SearchPathComponents.h"

#include <QWidget>

class QHBoxLayout;
class QToolButton;

namespace larkspan {

// Where the one selected search result lives: one button per entry from
// the root down, the folder icon on each and the file-type icon on a file.
class PathBar : public QWidget {
    Q_OBJECT
public:
    explicit PathBar(QWidget* parent = nullptr);

    void setComponents(std::vector<PathComponent> components);
    const std::vector<PathComponent>& components() const { return components_; }
    // The entry whose button lies under `position`, or null.
    RFATreeNode::Ptr nodeAt(const QPoint& position) const;

signals:
    void componentClicked(const RFATreeNode::Ptr& node);
    // A component was pressed and pulled further than a click would.
    void dragRequested(const RFATreeNode::Ptr& node);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<PathComponent> components_;
    std::vector<QToolButton*> buttons_;
    QToolButton* pressed_ = nullptr;
    QPoint pressedAt_;
    QHBoxLayout* layout_;
    EntryIcons icons_;
};

} // namespace larkspan
