#pragma once

#include "model/RFATreeNode.h"

#include <QIcon>
#include <QObject>

#include <memory>
#include <unordered_map>
#include <vector>

class QMimeData;

namespace larkspan {

// The entries of one window that wait on the clipboard to be moved: the
// views draw them dimmed. The marks go when the clipboard holds anything
// else (another Cut or Copy, a copy in another program, the cut pasted and
// the clipboard emptied) or when the cut is abandoned.
class CutMarks : public QObject {
    Q_OBJECT
public:
    explicit CutMarks(QObject* parent = nullptr);

    // `nodes` were just cut and `clipboard` is what the clipboard now holds.
    void mark(const std::vector<RFATreeNode::Ptr>& nodes, const QMimeData* clipboard);
    void clear();
    bool isEmpty() const { return marked_.empty(); }
    bool isCut(const RFATreeNode& node) const;
    // What a view's data() answers for a cut entry, for these roles
    // (decoration, given the entry's icon, and text colour); nothing for
    // an entry that is not cut or another role.
    QVariant look(const RFATreeNode& node, int role, const QIcon& icon = {}) const;

signals:
    // These entries were marked or are no longer.
    void changed(const std::vector<std::shared_ptr<larkspan::RFATreeNode>>& nodes);

private:
    void clipboardChanged();

    // Tells a marked node from a new one at the same address.
    std::unordered_map<const RFATreeNode*, std::weak_ptr<RFATreeNode>> marked_;
    const QMimeData* clipboard_ = nullptr;
};

} // namespace larkspan
