#pragma once

class QWidget;

namespace larkspan {

// Places a window that is about to show wholly on the available part of a
// screen (no panel over it, nothing off the edge): beside `near`, a
// window it belongs to or follows, on that window's screen, or centred on
// the primary screen. A window larger than the room is made smaller.
// Frame decorations are not known before the window shows: room is left
// for ordinary ones.
void placeOnScreen(QWidget& window, const QWidget* near = nullptr);

} // namespace larkspan
