#pragma once

#include "app/shell/HelpWindows.h"

#include <QToolBar>

class QAction;
class QLineEdit;
class QPlainTextEdit;

namespace larkspan {

// Find in a text window: a bar with the text to find, and the commands Find
// (shows the bar), Find Next and Find Previous. Matches follow the rule of
// the archive's search, case and accents ignored, so that a text the search
// found an entry by is found in it here. The search goes round the end.
class TextFindBar : public QToolBar {
    Q_OBJECT

public:
    explicit TextFindBar(QPlainTextEdit& editor, QWidget* parent = nullptr);
    // Find Next and Find Previous with their keys (Find is the menus' own).
    static QList<CommandShortcut> shortcuts();

    QAction* findAction() const { return find_; }
    QAction* findNextAction() const { return findNext_; }
    QAction* findPreviousAction() const { return findPrevious_; }

    // Shows the bar, the field focused and holding the editor's selection
    // when that lies on one line.
    void open();
    // Selects the next (previous) match from the editor's cursor.
    bool findNext();
    bool findPrevious();
    // Selects the first match of `text` and scrolls it into view, the bar
    // showing the text for Find Next; the focus stays in the editor. Quietly
    // false when the text is not there.
    bool showFirstMatch(const QString& text);

signals:
    // What the status line should say: where the search went round, or
    // that nothing was found.
    void said(const QString& message);

private:
    bool find(bool forward);
    void select(std::size_t position, std::size_t length);

    QPlainTextEdit& editor_;
    QLineEdit* field_;
    QAction* find_;
    QAction* findNext_;
    QAction* findPrevious_;
};

} // namespace larkspan
