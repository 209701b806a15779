#pragma once

#include <QList>

class QAction;
class QWidget;

namespace larkspan {

// Help → Keyboard Shortcuts: every menu command that has a shortcut.
void showKeyboardShortcuts(QWidget* parent, const QList<QAction*>& actions);
// Help → About Larkspan: version, licence and the Qt in use.
void showAbout(QWidget* parent);

} // namespace larkspan
