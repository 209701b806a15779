#include "app/viewers/HexView.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

namespace larkspan {

namespace {

constexpr int kOffsetDigits = 8; // entries hold at most 4 GiB
constexpr char kDigits[] = "0123456789ABCDEF";
const QKeySequence kCopyAsText(Qt::CTRL | Qt::SHIFT | Qt::Key_C);

// A byte as the text column shows it: control characters as dots.
QChar shownCharacter(std::uint8_t byte)
{
    return byte < 0x20 || (byte >= 0x7f && byte < 0xa0) ? QChar(u'.') : QChar(byte);
}

// Where byte `i` of a row stands in the hex column, in characters: two
// digits and a space each, one more space after the eighth.
int hexCell(int i)
{
    return i * 3 + (i >= HexView::kBytesPerRow / 2 ? 1 : 0);
}

} // namespace

HexView::HexView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    const Columns c = columns();
    setMinimumWidth(c.text + (kBytesPerRow + 1) * c.cell + verticalScrollBar()->sizeHint().width() + 2 * frameWidth());
    connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
}

void HexView::setBytes(SharedBytes bytes)
{
    bytes_ = std::move(bytes);
    anchor_ = std::clamp<qint64>(anchor_, 0, lastOffset());
    cursor_ = std::clamp<qint64>(cursor_, 0, lastOffset());
    updateScrollBar();
    viewport()->update();
    emit selectionChanged();
}

ByteSpan HexView::bytes() const
{
    return bytes_ ? ByteSpan(*bytes_) : ByteSpan();
}

qint64 HexView::rowCount() const
{
    return (static_cast<qint64>(bytes().size()) + kBytesPerRow - 1) / kBytesPerRow;
}

qint64 HexView::lastOffset() const
{
    return std::max<qint64>(0, static_cast<qint64>(bytes().size()) - 1);
}

qint64 HexView::firstVisibleRow() const
{
    return verticalScrollBar()->value();
}

int HexView::rowHeight() const
{
    return fontMetrics().height();
}

int HexView::visibleRowCount() const
{
    return std::max(1, viewport()->height() / rowHeight());
}

qint64 HexView::selectionLength() const
{
    return bytes().empty() ? 0 : std::abs(cursor_ - anchor_) + 1;
}

HexView::Columns HexView::columns() const
{
    const int cell = fontMetrics().horizontalAdvance(u'0');
    const int offset = cell / 2;
    const int hex = offset + (kOffsetDigits + 2) * cell;
    const int text = hex + (hexCell(kBytesPerRow - 1) + 2 + 2) * cell;
    return {offset, hex, text, cell};
}

void HexView::updateScrollBar()
{
    QScrollBar* bar = verticalScrollBar();
    const qint64 rows = rowCount();
    const int visible = visibleRowCount();
    // Entries hold at most 4 GiB: 2^28 rows, within an int.
    bar->setRange(0, static_cast<int>(std::max<qint64>(0, rows - visible)));
    bar->setPageStep(visible);
    bar->setSingleStep(1);
}

void HexView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBar();
}

void HexView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const QPalette& colours = palette();
    painter.fillRect(viewport()->rect(), colours.base());
    const ByteSpan data = bytes();
    const Columns c = columns();
    const int height = rowHeight();
    const int ascent = fontMetrics().ascent();
    const qint64 first = firstVisibleRow();
    const qint64 last = std::min(rowCount(), first + visibleRowCount() + 1);
    const qint64 selectedFrom = selectionStart();
    const qint64 selectedTo = selectedFrom + selectionLength(); // one past
    painter.fillRect(QRect(0, 0, c.hex - c.cell, viewport()->height()), colours.alternateBase());

    QString line;
    for (qint64 row = first; row < last; ++row) {
        const int y = static_cast<int>(row - first) * height;
        const qint64 rowStart = row * kBytesPerRow;
        const int count = static_cast<int>(std::min<qint64>(kBytesPerRow, static_cast<qint64>(data.size()) - rowStart));
        for (int i = 0; i < count; ++i) {
            const qint64 offset = rowStart + i;
            if (offset < selectedFrom || offset >= selectedTo)
                continue;
            const QColor highlight = hasFocus() ? colours.highlight().color() : colours.mid().color();
            painter.fillRect(QRect(c.hex + hexCell(i) * c.cell, y, 2 * c.cell, height), highlight);
            painter.fillRect(QRect(c.text + i * c.cell, y, c.cell, height), highlight);
        }
        painter.setPen(colours.placeholderText().color());
        line.resize(kOffsetDigits);
        for (int d = 0; d < kOffsetDigits; ++d)
            line[d] = QChar(kDigits[(rowStart >> (4 * (kOffsetDigits - 1 - d))) & 0xf]);
        painter.drawText(c.offset, y + ascent, line);

        painter.setPen(colours.text().color());
        line.fill(u' ', hexCell(kBytesPerRow - 1) + 2);
        QString text(count, u' ');
        for (int i = 0; i < count; ++i) {
            const std::uint8_t byte = data[static_cast<std::size_t>(rowStart + i)];
            line[hexCell(i)] = QChar(kDigits[byte >> 4]);
            line[hexCell(i) + 1] = QChar(kDigits[byte & 0xf]);
            text[i] = shownCharacter(byte);
        }
        painter.drawText(c.hex, y + ascent, line);
        painter.drawText(c.text, y + ascent, text);
    }
    // The cursor: a frame round its byte in both columns.
    if (!data.empty() && cursor_ / kBytesPerRow >= first && cursor_ / kBytesPerRow < last) {
        const int y = static_cast<int>(cursor_ / kBytesPerRow - first) * height;
        const int i = static_cast<int>(cursor_ % kBytesPerRow);
        painter.setPen(colours.text().color());
        painter.drawRect(QRect(c.hex + hexCell(i) * c.cell, y, 2 * c.cell - 1, height - 1));
        painter.drawRect(QRect(c.text + i * c.cell, y, c.cell - 1, height - 1));
    }
}

qint64 HexView::offsetAt(const QPoint& point) const
{
    const Columns c = columns();
    const qint64 row = firstVisibleRow() + std::max(0, point.y()) / rowHeight();
    int i = 0;
    if (point.x() >= c.text - c.cell) {
        i = (point.x() - c.text) / c.cell;
    } else {
        int cell = std::max(0, point.x() - c.hex) / c.cell;
        if (cell >= hexCell(kBytesPerRow / 2))
            --cell;
        i = cell / 3;
    }
    i = std::clamp(i, 0, kBytesPerRow - 1);
    return std::clamp<qint64>(row * kBytesPerRow + i, 0, lastOffset());
}

void HexView::moveCursor(qint64 offset, bool extend)
{
    cursor_ = std::clamp<qint64>(offset, 0, lastOffset());
    if (!extend)
        anchor_ = cursor_;
    scrollToCursor();
    viewport()->update();
    emit selectionChanged();
}

void HexView::scrollToCursor()
{
    const qint64 row = cursor_ / kBytesPerRow;
    QScrollBar* bar = verticalScrollBar();
    if (row < bar->value())
        bar->setValue(static_cast<int>(row));
    else if (row >= bar->value() + visibleRowCount())
        bar->setValue(static_cast<int>(row - visibleRowCount() + 1));
}

void HexView::select(qint64 offset, qint64 length)
{
    anchor_ = std::clamp<qint64>(offset, 0, lastOffset());
    // The start of the selection in view, then its end if both fit.
    cursor_ = anchor_;
    scrollToCursor();
    moveCursor(anchor_ + std::max<qint64>(length, 1) - 1, true);
}

bool HexView::goToOffset(qint64 offset)
{
    if (offset < 0 || offset >= static_cast<qint64>(bytes().size()))
        return false;
    moveCursor(offset, false);
    return true;
}

QString HexView::selectionAsHex() const
{
    const ByteSpan data = bytes();
    const qint64 from = selectionStart();
    const qint64 length = selectionLength();
    QString hex;
    hex.reserve(length * 3);
    for (qint64 i = 0; i < length; ++i) {
        const std::uint8_t byte = data[static_cast<std::size_t>(from + i)];
        if (i != 0)
            hex += u' ';
        hex += QChar(kDigits[byte >> 4]);
        hex += QChar(kDigits[byte & 0xf]);
    }
    return hex;
}

QString HexView::selectionAsText() const
{
    const ByteSpan selected = bytes().subspan(static_cast<std::size_t>(selectionStart()),
                                              static_cast<std::size_t>(selectionLength()));
    return QString::fromLatin1(reinterpret_cast<const char*>(selected.data()), static_cast<qsizetype>(selected.size()));
}

void HexView::copyAsHex() const
{
    QApplication::clipboard()->setText(selectionAsHex());
}

void HexView::copyAsText() const
{
    QApplication::clipboard()->setText(selectionAsText());
}

bool HexView::event(QEvent* event)
{
    // Copy and Select All are the view's own, not the archive's commands.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::SelectAll) ||
            QKeySequence(key->keyCombination()) == kCopyAsText) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void HexView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    selecting_ = true;
    moveCursor(offsetAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

void HexView::mouseMoveEvent(QMouseEvent* event)
{
    if (selecting_ && (event->buttons() & Qt::LeftButton))
        moveCursor(offsetAt(event->position().toPoint()), true);
}

void HexView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy))
        return copyAsHex();
    if (QKeySequence(event->keyCombination()) == kCopyAsText)
        return copyAsText();
    if (event->matches(QKeySequence::SelectAll))
        return select(0, static_cast<qint64>(bytes().size()));
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool whole = event->modifiers() & Qt::ControlModifier;
    const qint64 page = static_cast<qint64>(visibleRowCount()) * kBytesPerRow;
    const qint64 rowStart = cursor_ - cursor_ % kBytesPerRow;
    switch (event->key()) {
    case Qt::Key_Left: return moveCursor(cursor_ - 1, extend);
    case Qt::Key_Right: return moveCursor(cursor_ + 1, extend);
    case Qt::Key_Up: return moveCursor(cursor_ - kBytesPerRow, extend);
    case Qt::Key_Down: return moveCursor(std::min(cursor_ + kBytesPerRow, lastOffset()), extend);
    case Qt::Key_PageUp: return moveCursor(cursor_ - page, extend);
    case Qt::Key_PageDown: return moveCursor(std::min(cursor_ + page, lastOffset()), extend);
    case Qt::Key_Home: return moveCursor(whole ? 0 : rowStart, extend);
    case Qt::Key_End: return moveCursor(whole ? lastOffset() : rowStart + kBytesPerRow - 1, extend);
    default: QAbstractScrollArea::keyPressEvent(event);
    }
}

void HexView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* hex = menu.addAction(tr("Copy as Hex"), this, &HexView::copyAsHex);
    hex->setShortcut(QKeySequence::Copy);
    QAction* text = menu.addAction(tr("Copy as Text"), this, &HexView::copyAsText);
    text->setShortcut(kCopyAsText);
    hex->setEnabled(selectionLength() > 0);
    text->setEnabled(selectionLength() > 0);
    menu.addSeparator();
    menu.addAction(tr("Select All"), this, [this] { select(0, static_cast<qint64>(bytes().size())); })
        ->setShortcut(QKeySequence::SelectAll);
    menu.exec(event->globalPos());
}

} // namespace larkspan
