#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

class QWidget;

namespace larkspan {

struct CommandShortcut {
    QString command; // as the menus name it, without what it would undo
    QKeySequence shortcut;
};

// Help → Keyboard Shortcuts: every menu command that has a shortcut.
void showKeyboardShortcuts(QWidget* parent, const QList<CommandShortcut>& commands);
// Help → About Larkspan: version, licence and the Qt in use.
void showAbout(QWidget* parent);

} // namespace larkspan
