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
    // Work reports each of thousands of entries; the dialog moves in
    // thousandths, and events wait no longer than one of those.
    const int value = total == 0 ? 1000 : static_cast<int>(done * 1000 / total);
    if (value == shown_)
        return !dialog_.wasCanceled();
    shown_ = value;
    dialog_.setValue(value);
    // Until the dialog shows, no window is blocked: input waits.
    QApplication::processEvents(dialog_.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    return !dialog_.wasCanceled();
}

} // namespace larkspan
