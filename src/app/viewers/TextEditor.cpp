#include "app/viewers/TextEditor.h"

#include "app/viewers/ConHighlighter.h"
#include "app/viewers/LineNumberArea.h"
#include "document/EditSteps.h"
#include "model/EntryKind.h"
#include "model/RFATreeNode.h"
#include "model/TextSpliceEntry.h"
#include "model/UndoHistory.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QTextBlock>

#include <algorithm>

namespace larkspan {

namespace {

std::u16string_view viewOf(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

QString stringOf(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// The document's text with its paragraph separators as '\n', all other
// characters as they are (toPlainText() would turn U+00A0 into a space).
QString rawText(const QTextDocument& document)
{
    return document.toRawText().replace(QChar::ParagraphSeparator, u'\n');
}

constexpr int kTabColumns = 4;
constexpr int kGutterPadding = 6;

} // namespace

TextEditor::TextEditor(std::shared_ptr<RFATreeNode> entry, QWidget* parent)
    : QPlainTextEdit(parent), entry_(std::move(entry)), lineNumbers_(new LineNumberArea(this))
{
    setUndoRedoEnabled(false);
    setLineWrapMode(NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setTabStopDistance(fontMetrics().horizontalAdvance(u' ') * kTabColumns);
    chooseHighlighter();
    showEntryBytes();
    moveCursor(QTextCursor::Start);

    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int removed, int added) { takeEdit(position, removed, added); });
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        if (textCursor().position() != typingEnd_ || textCursor().hasSelection())
            breakTyping();
        lineNumbers_->update(); // the current line's number stands out
    });
    connect(this, &QPlainTextEdit::blockCountChanged, this,
            [this] { setViewportMargins(lineNumberAreaWidth(), 0, 0, 0); });
    connect(this, &QPlainTextEdit::updateRequest, this, &TextEditor::updateLineNumberArea);
    setViewportMargins(lineNumberAreaWidth(), 0, 0, 0);

    if (const std::shared_ptr<ChangeHub> hub = entry_->changeHub()) {
        ObserverOptions options;
        options.node = entry_.get();
        options.properties = {NodeProperty::Data, NodeProperty::Name, NodeProperty::IsText};
        observation_ = hub->observe(options, [this](const ChangeReport& report) { followEntry(report); });
    }
}

TextEditor::~TextEditor()
{
    if (typingGroupOpen_)
        closeTypingGroup();
    // Another editor may come to live at this address: its typing is its own.
    breakTyping();
}

LineBreakCounts TextEditor::lineBreakCounts() const
{
    return countLineBreaks(*entry_->data());
}

void TextEditor::followEntry(const ChangeReport& report)
{
    switch (report.property) {
    case NodeProperty::Data:
        if (!splicing_)
            showEntryBytesLater();
        break;
    case NodeProperty::Name:
        chooseHighlighter();
        emit entryRenamed();
        break;
    case NodeProperty::IsText:
        if (!entry_->isText())
            emit entryStoppedBeingText();
        break;
    default:
        break;
    }
}

// An undo step of typing changes the bytes once per keystroke: the widget
// catches up once, after the step.
void TextEditor::showEntryBytesLater()
{
    if (showPending_)
        return;
    showPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            showPending_ = false;
            showEntryBytes();
        },
        Qt::QueuedConnection);
}

// Brings the widget to what the bytes show, changing only the stretch that
// differs, and puts the cursor at its end (where an undone edit was).
void TextEditor::showEntryBytes()
{
    const std::u16string wanted = shownText(*entry_->data());
    const QString shown = rawText(*document());
    const TextDifference difference = differenceBetween(viewOf(shown), wanted);
    shownLength_ = static_cast<int>(wanted.size());
    if (difference.isEmpty())
        return;
    showingBytes_ = true;
    QTextCursor cursor(document());
    cursor.setPosition(static_cast<int>(difference.position));
    cursor.setPosition(static_cast<int>(difference.position + difference.removed), QTextCursor::KeepAnchor);
    cursor.insertText(stringOf(std::u16string_view(wanted).substr(difference.position, difference.inserted)));
    showingBytes_ = false;
    setTextCursor(cursor);
}

void TextEditor::takeEdit(int position, int removed, int added)
{
    if (showingBytes_)
        return;
    if (showPending_) {
        // The widget does not show the bytes the edit would apply to; it will in a moment.
        QApplication::beep();
        return;
    }
    const std::optional<ByteSplice> splice = spliceForDocumentChange(position, removed, added);
    if (!splice) {
        // Only reachable by a way in that refusesText() does not guard.
        QApplication::beep();
        showEntryBytesLater();
        return;
    }
    shownLength_ = document()->characterCount() - 1;
    if (splice->isEmpty())
        return;
    splicing_ = true;
    spliceEntryBytes(entry_, *splice, this);
    splicing_ = false;
    typingEnd_ = textCursor().position();
    const std::shared_ptr<UndoHistory> history = entry_->undoManager();
    if (!history)
        return;
    if (history->undoActionName().empty())
        history->setActionName(editStepName(EditStep::Typing));
    if (!typingGroupOpen_) {
        typingGroupOpen_ = true;
        QMetaObject::invokeMethod(this, &TextEditor::closeTypingGroup, Qt::QueuedConnection);
    }
}

// The document reports a change that reaches its end one character too far
// on both sides (the final paragraph separator); some reports, such as
// setPlainText()'s, do not add up at all: then the whole text tells.
std::optional<ByteSplice> TextEditor::spliceForDocumentChange(int position, int removed, int added) const
{
    const ByteSpan bytes = *entry_->data();
    const int length = document()->characterCount() - 1;
    const int beyondEnd = position + removed - shownLength_;
    if (beyondEnd > 0) {
        removed -= beyondEnd;
        added -= beyondEnd;
    }
    if (removed < 0 || added < 0 || shownLength_ - removed + added != length)
        return spliceForEditedText(bytes, viewOf(document()->toRawText()), static_cast<std::size_t>(position));
    QTextCursor range(document());
    range.setPosition(position);
    range.setPosition(position + added, QTextCursor::KeepAnchor);
    return spliceForEdit(bytes, static_cast<std::size_t>(position), static_cast<std::size_t>(removed),
                         viewOf(range.selectedText()));
}

// One undo step per user event: the group opened by this event's splices
// closes once the event has been handled.
void TextEditor::closeTypingGroup()
{
    typingGroupOpen_ = false;
    if (const std::shared_ptr<UndoHistory> history = entry_->undoManager())
        history->endGroup();
}

void TextEditor::breakTyping()
{
    typingEnd_ = -1;
    if (const std::shared_ptr<UndoHistory> history = entry_->undoManager())
        history->breakCoalescing();
}

bool TextEditor::refusesText(const QString& text)
{
    if (shownTextOfTyped(viewOf(text)))
        return false;
    refuse(text);
    return true;
}

void TextEditor::refuse(const QString& text)
{
    QApplication::beep();
    const auto beyond = std::find_if(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0xFF; });
    // A character outside the Basic Multilingual Plane comes as a pair of halves.
    emit refused(beyond == text.end() ? QString()
                                      : text.mid(beyond - text.begin(), beyond->isHighSurrogate() ? 2 : 1));
}

bool TextEditor::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)) {
            // Ours, so that it reaches keyPressEvent() and the history.
            event->accept();
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

void TextEditor::keyPressEvent(QKeyEvent* event)
{
    const bool undo = event->matches(QKeySequence::Undo);
    if (undo || event->matches(QKeySequence::Redo)) {
        if (const std::shared_ptr<UndoHistory> history = entry_->undoManager())
            undo ? history->undo() : history->redo();
        return;
    }
    if (refusesText(event->text()))
        return;
    const bool lineBreak = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (lineBreak && event->modifiers().testFlag(Qt::ShiftModifier)) {
        // Shift+Return would put a line separator inside the line: a break is a break.
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier, event->text(),
                        event->isAutoRepeat(), static_cast<quint16>(event->count()));
        QPlainTextEdit::keyPressEvent(&plain);
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TextEditor::inputMethodEvent(QInputMethodEvent* event)
{
    if (refusesText(event->commitString())) {
        QInputMethodEvent withoutCommit(event->preeditString(), event->attributes());
        QPlainTextEdit::inputMethodEvent(&withoutCommit);
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

// Pasted and dropped text: one undo step of its own, line breaks in the
// file's style, styling dropped.
void TextEditor::insertFromMimeData(const QMimeData* source)
{
    if (!source->hasText())
        return;
    const std::optional<std::u16string> shown = shownTextOfTyped(viewOf(source->text()));
    if (!shown)
        return refuse(source->text());
    breakTyping();
    textCursor().insertText(stringOf(*shown));
    breakTyping();
    ensureCursorVisible();
}

QMimeData* TextEditor::createMimeDataFromSelection() const
{
    auto* data = new QMimeData;
    data->setText(textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n'));
    return data;
}

void TextEditor::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu(event->pos());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const std::weak_ptr<UndoHistory> history = entry_->undoManager();
    for (QAction* action : menu->actions()) {
        const bool undo = action->objectName() == QLatin1String("edit-undo");
        if (!undo && action->objectName() != QLatin1String("edit-redo"))
            continue;
        disconnect(action, &QAction::triggered, nullptr, nullptr);
        const std::shared_ptr<UndoHistory> now = history.lock();
        action->setEnabled(now && (undo ? now->canUndo() : now->canRedo()));
        connect(action, &QAction::triggered, this, [history, undo] {
            if (const std::shared_ptr<UndoHistory> later = history.lock())
                undo ? later->undo() : later->redo();
        });
    }
    menu->popup(event->globalPos());
}

void TextEditor::chooseHighlighter()
{
    const bool wanted = entryKindOf(entry_->extension()) == EntryKind::Script;
    if (wanted && !highlighter_) {
        highlighter_ = new ConHighlighter(document(), hasDarkBackground());
    } else if (!wanted && highlighter_) {
        delete highlighter_;
        highlighter_ = nullptr;
    }
}

bool TextEditor::hasDarkBackground() const
{
    return palette().color(QPalette::Base).lightness() < 128;
}

void TextEditor::changeEvent(QEvent* event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && highlighter_)
        highlighter_->setDarkBackground(hasDarkBackground());
}

int TextEditor::lineNumberAreaWidth() const
{
    int digits = 1;
    for (int lines = std::max(1, blockCount()); lines >= 10; lines /= 10)
        ++digits;
    return 2 * kGutterPadding + fontMetrics().horizontalAdvance(u'9') * digits;
}

void TextEditor::updateLineNumberArea(const QRect& rect, int dy)
{
    if (dy != 0)
        lineNumbers_->scroll(0, dy);
    else
        lineNumbers_->update(0, rect.y(), lineNumbers_->width(), rect.height());
}

void TextEditor::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    lineNumbers_->setGeometry(area.left(), area.top(), lineNumberAreaWidth(), area.height());
}

void TextEditor::paintLineNumbers(QWidget& area, const QRect& rect)
{
    QPainter painter(&area);
    painter.fillRect(rect, palette().color(QPalette::AlternateBase));
    painter.setFont(font());
    const int currentLine = textCursor().blockNumber();
    QTextBlock block = firstVisibleBlock();
    qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
    while (block.isValid() && top <= rect.bottom()) {
        const qreal height = blockBoundingRect(block).height();
        if (block.isVisible() && top + height >= rect.top()) {
            const bool current = block.blockNumber() == currentLine;
            painter.setPen(palette().color(current ? QPalette::Text : QPalette::PlaceholderText));
            painter.drawText(QRectF(0, top, area.width() - kGutterPadding, height), Qt::AlignRight | Qt::AlignVCenter,
                             QString::number(block.blockNumber() + 1));
        }
        top += height;
        block = block.next();
    }
}

} // namespace larkspan
