#include "app/window/SlowWorkProgress.h"

#include <QApplication>

namespace larkspan {

SlowWorkProgress::SlowWorkProgress(QWidget* window, const QString& label)
    : dialog_(label, QObject::tr("Cancel"), 0, 1000, window)
{
    dialog_.setWindowModality(Qt::ApplicationModal);
    dialog_.setMinimumDuration(500);
    dialog_.setAutoClose(true);
}

bool SlowWorkProgress::report(std::uint64_t done, std::uint64_t total)
{
    dialog_.setValue(total == 0 ? 1000 : static_cast<int>(done * 1000 / total));
    // Until the dialog shows, no window is blocked: input waits.
    QApplication::processEvents(dialog_.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    return !dialog_.wasCanceled();
}

} // namespace larkspan
