#pragma once

#include "base/Bytes.h"

#include <QAbstractScrollArea>

namespace larkspan {

// Bytes as rows of sixteen: the offset, the bytes in hex and as Latin-1
// characters. Only the rows on screen are painted, so an entry of any size
// scrolls as smoothly as a small one. Read-only; a selection runs from an
// anchor to the cursor, by mouse or keyboard, and copies as hex or as text.
class HexView : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kBytesPerRow = 16;

    explicit HexView(QWidget* parent = nullptr);

    // New bytes keep the selection where it still fits.
    void setBytes(SharedBytes bytes);
    ByteSpan bytes() const;
    qint64 rowCount() const;
    qint64 firstVisibleRow() const;
    int visibleRowCount() const;

    // The selected bytes: [selectionStart, selectionStart + selectionLength).
    qint64 selectionStart() const { return std::min(anchor_, cursor_); }
    qint64 selectionLength() const;
    // Selects `length` bytes from `offset` (clamped to the bytes) and
    // scrolls them into view.
    void select(qint64 offset, qint64 length);
    // Moves to the byte; false, with nothing changed, beyond the last one.
    bool goToOffset(qint64 offset);

    // "4A 0D FF" and the same bytes as Latin-1 characters.
    QString selectionAsHex() const;
    QString selectionAsText() const;
    void copyAsHex() const;
    void copyAsText() const;

signals:
    void selectionChanged();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct Columns {
        int offset;   // left edge of the offset column
        int hex;      // of the first hex byte
        int text;     // of the first character
        int cell;     // one character's width
    };
    Columns columns() const;
    int rowHeight() const;
    // The byte under a point of the viewport; the nearest one outside the bytes.
    qint64 offsetAt(const QPoint& point) const;
    void moveCursor(qint64 offset, bool extend);
    void scrollToCursor();
    void updateScrollBar();
    qint64 lastOffset() const;

    SharedBytes bytes_;
    qint64 anchor_ = 0;
    qint64 cursor_ = 0;
    bool selecting_ = false;
};

} // namespace larkspan
