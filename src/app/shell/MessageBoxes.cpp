#include "app/shell/MessageBoxes.h"

#include "app/shell/CoreTranslation.h"

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

void afterAnswer(QObject* context, std::function<void()> work)
{
    QMetaObject::invokeMethod(context, std::move(work), Qt::QueuedConnection);
}

QMessageBox* errorBox(QWidget* window, const QString& title, const QString& headline, const Error& error,
                      Wording wording)
{
    const ErrorText described = describe(error, translateForCore, wording);
    QString detail = QString::fromStdString(described.text);
    if (!described.reason.empty())
        detail += QStringLiteral("\n\n") + QString::fromStdString(described.reason);
    return windowModalBox(window, QMessageBox::Critical, title, headline, detail);
}

} // namespace larkspan
