#pragma once

#include "model/RFATreeNode.h"

#include <QObject>
#include <QPointer>

#include <unordered_map>
#include <vector>

class QWidget;

namespace larkspan {

class MyDocument;
class RFAApplicationDelegate;

// The viewer windows of a document's entries: one per entry, found again
// by the entry itself, so that a renamed or moved entry keeps its window.
// They belong to the document's window and close with it, and carry the
// application's menus, which act on their document.
class ViewerWindows : public QObject {
    Q_OBJECT

public:
    ViewerWindows(MyDocument& window, RFAApplicationDelegate& application);
    ~ViewerWindows() override;

    // The viewer window of each entry: brought to the front when open.
    void openEntries(const std::vector<RFATreeNode::Ptr>& entries);
    // Opens them as openEntries() does; a text that holds `text` (what a
    // search of the contents found it by) shows its first match.
    void openEntriesAtMatch(const std::vector<RFATreeNode::Ptr>& entries, const QString& text);
    QWidget* viewerFor(const RFATreeNode& entry) const;
    // A text editor, an image viewer or a hex viewer window.
    static bool isViewerWindow(const QWidget* window);
    // The document's name, shown in every viewer's title, changed.
    void retitle();
    // The name a viewer window shows before its entry's.
    static void setDisplayName(QWidget& viewer, const QString& displayName);
    void closeAll();

private:
    MyDocument& window_;
    RFAApplicationDelegate& application_;
    std::unordered_map<const RFATreeNode*, QPointer<QWidget>> viewers_;
};

} // namespace larkspan
