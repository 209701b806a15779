#pragma once

#include <QMessageBox>

namespace larkspan {

// A message box that belongs to `window` (window-modal, deleted when done),
// or stands alone when there is no window. Show it with open() and take the
// answer in a slot: nothing here waits.
QMessageBox* windowModalBox(QWidget* window, QMessageBox::Icon icon, const QString& title, const QString& text,
                            const QString& informativeText = {},
                            QMessageBox::StandardButtons buttons = QMessageBox::Ok);

} // namespace larkspan
