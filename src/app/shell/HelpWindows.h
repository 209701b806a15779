#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

class QWidget;

namespace larkspan {

struct CommandShortcut {
    QString command; // as the menus name it, without what it would undo
    QList<QKeySequence> shortcuts;
};

// Help → Keyboard Shortcuts: every command that has a shortcut, with each
// of its keys.
void showKeyboardShortcuts(QWidget* parent, const QList<CommandShortcut>& commands);
// Help → About Larkspan: version, licence and the Qt in use.
void showAbout(QWidget* parent);

} // namespace larkspan
