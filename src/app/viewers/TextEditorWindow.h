#pragma once

#include <QMainWindow>

#include <memory>

class QLabel;

namespace larkspan {

class RFATreeNode;
class TextEditor;

// The window of one text entry: the editor and a status line with the
// cursor's line and column and the file's line-break style. It deletes
// itself when closed, and closes when the entry is renamed to an extension
// that is no text (its edits stay undoable in the document's history).
class TextEditorWindow : public QMainWindow {
    Q_OBJECT

public:
    TextEditorWindow(std::shared_ptr<RFATreeNode> entry, QString displayName, QWidget* parent = nullptr);

    TextEditor* editor() const { return editor_; }
    // When the document's display name changes (Save As).
    void setDisplayName(QString displayName);
    // Shows the entry without letting it be edited, and says so: an entry
    // of a mod's view belongs to no open archive.
    void setReadOnly();
    // "display name — entry name"
    QString windowTitleForDocumentDisplayName(const QString& displayName) const;

private:
    void updateTitle();
    void updatePosition();
    void updateLineBreaks();

    TextEditor* editor_;
    QLabel* position_;
    QLabel* lineBreaks_;
    QString displayName_;
};

} // namespace larkspan
