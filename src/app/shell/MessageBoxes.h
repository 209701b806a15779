#pragma once

#include "base/Error.h"

#include <QMessageBox>

#include <functional>

namespace larkspan {

// A message box that belongs to `window` (window-modal, deleted when done),
// or stands alone when there is no window. Show it with open() and take the
// answer in a slot: nothing here waits.
QMessageBox* windowModalBox(QWidget* window, QMessageBox::Icon icon, const QString& title, const QString& text,
                            const QString& informativeText = {},
                            QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// Runs `work` once the click that answered a dialog is over. Work that lets
// events run (a progress dialog does) would otherwise let the dialog, deleted
// on close, be deleted under its own click handler. Take what the work needs
// from the dialog before: it may be gone by then.
void afterAnswer(QObject* context, std::function<void()> work);

// A window-modal box for an error of the core: the headline, then the
// error's description and, where it has one, its longer reason. An archive
// window's errors are the reader's, in its own words.
QMessageBox* errorBox(QWidget* window, const QString& title, const QString& headline, const Error& error,
                      Wording wording = Wording::Reader);

} // namespace larkspan
