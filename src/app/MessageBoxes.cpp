#include "app/MessageBoxes.h"

namespace larkspan {

QMessageBox* windowModalBox(QWidget* window, QMessageBox::Icon icon, const QString& title, const QString& text,
                            const QString& informativeText, QMessageBox::StandardButtons buttons)
{
    auto* box = new QMessageBox(icon, title, text, buttons, window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (window)
        box->setWindowModality(Qt::WindowModal);
    box->setInformativeText(informativeText);
    return box;
}

} // namespace larkspan
