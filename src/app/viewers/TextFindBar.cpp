#include "app/viewers/TextFindBar.h"

#include "model/SearchPredicate.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTimer>

namespace larkspan {

namespace {

// One unit per character: the editor's text holds no surrogate pairs.
std::u16string_view unitsOf(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

QList<QKeySequence> findNextKeys() { return {QKeySequence(Qt::CTRL | Qt::Key_G), QKeySequence(Qt::Key_F3)}; }
QList<QKeySequence> findPreviousKeys()
{
    return {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G), QKeySequence(Qt::SHIFT | Qt::Key_F3)};
}

} // namespace

QList<CommandShortcut> TextFindBar::shortcuts()
{
    return {{tr("Find &Next"), findNextKeys()}, {tr("Find Pre&vious"), findPreviousKeys()}};
}

TextFindBar::TextFindBar(QPlainTextEdit& editor, QWidget* parent)
    : QToolBar(tr("Find"), parent), editor_(editor), field_(new QLineEdit(this)),
      find_(new QAction(tr("&Find"), this)), findNext_(new QAction(tr("Find &Next"), this)),
      findPrevious_(new QAction(tr("Find Pre&vious"), this))
{
    setObjectName(QStringLiteral("findBar"));
    setMovable(false);
    setFloatable(false);
    find_->setShortcuts(QKeySequence::Find);
    findNext_->setShortcuts(findNextKeys());
    findPrevious_->setShortcuts(findPreviousKeys());
    connect(find_, &QAction::triggered, this, &TextFindBar::open);
    connect(findNext_, &QAction::triggered, this, &TextFindBar::findNext);
    connect(findPrevious_, &QAction::triggered, this, &TextFindBar::findPrevious);

    field_->setObjectName(QStringLiteral("findField"));
    field_->setPlaceholderText(tr("Find"));
    field_->setClearButtonEnabled(true);
    addWidget(field_);
    addAction(findPrevious_);
    addAction(findNext_);
    connect(field_, &QLineEdit::returnPressed, this, [this] {
        QApplication::keyboardModifiers().testFlag(Qt::ShiftModifier) ? findPrevious() : findNext();
    });
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), field_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(close, &QShortcut::activated, this, [this] {
        hide();
        editor_.setFocus();
    });
    hide();
}

void TextFindBar::open()
{
    const QString selected = editor_.textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        field_->setText(selected);
    show();
    field_->setFocus();
    field_->selectAll();
}

bool TextFindBar::findNext()
{
    return find(true);
}

bool TextFindBar::findPrevious()
{
    return find(false);
}

bool TextFindBar::showFirstMatch(const QString& text)
{
    const FoldedPattern pattern(text.toStdString());
    const QString shown = editor_.document()->toRawText();
    const std::optional<std::size_t> found = pattern.firstIn(unitsOf(shown), 0);
    if (!found)
        return false;
    field_->setText(text);
    show();
    select(*found, pattern.length());
    // Once the window has its size, the match stands in the middle.
    QTimer::singleShot(0, &editor_, [editor = &editor_] { editor->centerCursor(); });
    return true;
}

bool TextFindBar::find(bool forward)
{
    const FoldedPattern pattern(field_->text().toStdString());
    if (pattern.empty()) {
        open();
        return false;
    }
    const QString shown = editor_.document()->toRawText();
    const std::u16string_view units = unitsOf(shown);
    const QTextCursor cursor = editor_.textCursor();
    // A match selected now is passed over; one starting inside it is not.
    const auto start = static_cast<std::size_t>(cursor.selectionStart());
    const std::size_t from = cursor.hasSelection() ? start + 1 : start;
    std::optional<std::size_t> found = forward ? pattern.firstIn(units, from) : pattern.lastIn(units, start);
    bool wrapped = false;
    if (!found) {
        found = forward ? pattern.firstIn(units, 0) : pattern.lastIn(units, units.size());
        wrapped = found.has_value();
    }
    if (!found) {
        QApplication::beep();
        emit said(tr("Not found."));
        return false;
    }
    select(*found, pattern.length());
    emit said(!wrapped ? QString()
              : forward ? tr("Reached the end; found from the start.")
                        : tr("Reached the start; found from the end."));
    return true;
}

void TextFindBar::select(std::size_t position, std::size_t length)
{
    QTextCursor cursor(editor_.document());
    cursor.setPosition(static_cast<int>(position));
    cursor.setPosition(static_cast<int>(position + length), QTextCursor::KeepAnchor);
    editor_.setTextCursor(cursor);
}

} // namespace larkspan
