#pragma once

#include "model/ChangeHub.h"
#include "text/TextSplice.h"

#include <QPlainTextEdit>

#include <memory>
#include <optional>

namespace larkspan {

class ConHighlighter;
class LineNumberArea;
class RFATreeNode;

// Edits one text entry's bytes. The widget shows the bytes as Latin-1 text
// (see TextSplice.h for line breaks and control bytes); every edit becomes a
// splice of the bytes, written with setData() and undoable in the entry's undo
// history as "Typing", a run of keystrokes being one step. The widget's own
// undo is off: Undo and Redo, here or in the document's Edit menu, run the
// history, and the widget follows the entry's bytes through its change hub,
// whoever changes them. Characters no byte stands for are refused with a beep,
// and said.
class TextEditor : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TextEditor(std::shared_ptr<RFATreeNode> entry, QWidget* parent = nullptr);
    ~TextEditor() override;

    const std::shared_ptr<RFATreeNode>& entry() const { return entry_; }
    LineBreakCounts lineBreakCounts() const;

    int lineNumberAreaWidth() const;
    void paintLineNumbers(QWidget& area, const QRect& rect);

signals:
    void entryRenamed();
    // The entry was renamed to an extension that is no text: the window closes.
    void entryStoppedBeingText();
    // Typed or pasted text was refused: `character` is the first one no byte
    // stands for.
    void refused(const QString& character);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    // The widget's own menu, its Undo and Redo those of the document's history.
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void followEntry(const ChangeReport& report);
    void showEntryBytesLater();
    void showEntryBytes();
    void takeEdit(int position, int removed, int added);
    std::optional<ByteSplice> spliceForDocumentChange(int position, int removed, int added) const;
    bool refusesText(const QString& text);
    void refuse(const QString& text);
    void closeTypingGroup();
    void breakTyping();
    void chooseHighlighter();
    bool hasDarkBackground() const;
    void updateLineNumberArea(const QRect& rect, int dy);

    std::shared_ptr<RFATreeNode> entry_;
    ObserverToken observation_;
    LineNumberArea* lineNumbers_;
    ConHighlighter* highlighter_ = nullptr;
    bool showingBytes_ = false;  // the widget is being set to the bytes: no edit of the user's
    bool splicing_ = false;      // the bytes change by an edit made here: the widget shows it already
    bool showPending_ = false;   // the bytes changed elsewhere; the widget shows them once the event is over
    int shownLength_ = 0;        // the document's length when it last showed the bytes
    bool typingGroupOpen_ = false;
    int typingEnd_ = -1;         // where the cursor stands after the last splice of a typing run
};

} // namespace larkspan
