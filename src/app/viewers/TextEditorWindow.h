#pragma once

#include <QMainWindow>

#include <memory>

class QLabel;

namespace larkspan {

class RFATreeNode;
class TextEditor;
class TextFindBar;

// The window of one text entry: the editor and a status line with the
// cursor's line and column and the file's line-break style. It deletes
// itself when closed, and closes when the entry is renamed to an extension
// that is no text (its edits stay undoable in the document's history).
// Find, Find Next and Find Previous search the text (see TextFindBar).
class TextEditorWindow : public QMainWindow {
    Q_OBJECT

public:
    TextEditorWindow(std::shared_ptr<RFATreeNode> entry, QString displayName, QWidget* parent = nullptr);

    TextEditor* editor() const { return editor_; }
    TextFindBar& findBar() const { return *findBar_; }
    // When the document's display name changes (Save As).
    void setDisplayName(QString displayName);
    // Shows the entry without letting it be edited, and says so: an entry
    // of a mod's view belongs to no open archive.
    void setReadOnly();
    // Find Next and Find Previous in the Edit menu of the window's menus
    // once they are installed, after the application's Find (which reaches
    // this window's find bar); with no Edit menu there, one of the window's
    // own with a Find of its own.
    void addFindCommands();
    // "display name — entry name"
    QString windowTitleForDocumentDisplayName(const QString& displayName) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateTitle();
    void updatePosition();
    void updateLineBreaks();

    TextEditor* editor_;
    TextFindBar* findBar_;
    QLabel* position_;
    QLabel* lineBreaks_;
    QString displayName_;
};

} // namespace larkspan
