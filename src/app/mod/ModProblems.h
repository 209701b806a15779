#pragma once

#include "mod/ModIndex.h"

#include <QCoreApplication>
#include <QFrame>
#include <QStringList>

class QLabel;

namespace larkspan {

// What of a mod could not be read or found, in a modder's words.
class ModProblems {
    Q_DECLARE_TR_FUNCTIONS(larkspan::ModProblems)
public:
    // One line each: an archive and why it cannot be read, a mod init.con
    // names that is not there, init.con itself.
    static QStringList lines(const ModIndex& index);
    // One sentence saying how much is left out; empty when nothing is.
    static QString summary(const ModIndex& index);
};

// A bar across the top of the mod window that says, as soon as the mod is
// shown, how much of it is left out, with a button to the list: seen at
// once, never in the way (it closes, and the status line keeps the count).
class ModProblemsBar : public QFrame {
    Q_OBJECT
public:
    explicit ModProblemsBar(QWidget* parent);
    // Shows the summary of the index's problems; hides when there are none.
    void showProblemsOf(const ModIndex& index);

signals:
    void listRequested();

private:
    QLabel* text_;
    QStringList shown_;
    QStringList hidden_; // the problems shown when the user closed the note
};

} // namespace larkspan
