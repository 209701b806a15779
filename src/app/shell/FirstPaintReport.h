#pragma once

#include <QObject>

namespace larkspan {

// For the start-up benchmark: when LARKSPAN_QUIT_AFTER_FIRST_PAINT is set,
// the first archive window to paint prints "painted" on standard output and
// the application quits. Nothing changes without the variable.
void reportFirstPaintIfAsked(QObject* application);

} // namespace larkspan
