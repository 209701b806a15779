#pragma once

#include <QProgressDialog>

#include <cstdint>

namespace larkspan {

// A progress dialog that shows itself only when the work lasts longer than
// half a second, and keeps the windows painted meanwhile. It blocks every
// window, not only its own: the user's input must reach its Cancel button,
// and a viewer of the same document must not edit what is being written.
class SlowWorkProgress {
public:
    SlowWorkProgress(QWidget* window, const QString& label);
    // False once the user cancelled.
    bool report(std::uint64_t done, std::uint64_t total);

private:
    QProgressDialog dialog_;
    int shown_ = -1;
};

} // namespace larkspan
