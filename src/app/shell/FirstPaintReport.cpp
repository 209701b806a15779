#include "app/shell/FirstPaintReport.h"

#include "app/window/MyDocument.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <cstdio>

namespace larkspan {

namespace {

class FirstPaintReport : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && qobject_cast<MyDocument*>(watched)) {
            QCoreApplication::instance()->removeEventFilter(this);
            // The window's children paint in the same pass, after it.
            QTimer::singleShot(0, [] {
                std::puts("painted");
                std::fflush(stdout);
                QApplication::quit();
            });
        }
        return false;
    }
};

} // namespace

void reportFirstPaintIfAsked(QObject* application)
{
    if (qEnvironmentVariableIsSet("LARKSPAN_QUIT_AFTER_FIRST_PAINT"))
        application->installEventFilter(new FirstPaintReport(application));
}

} // namespace larkspan
