#pragma once

#include <QDialog>

class QLineEdit;
class QRadioButton;

namespace larkspan {

// Open With…: the desktop's application for the file's type, or a program
// the user names or picks. Window-modal; answers with programChosen.
class OpenWithDialog : public QDialog {
    Q_OBJECT
public:
    // `program`: the one chosen last time for this kind of file; empty for
    // the desktop's application.
    OpenWithDialog(const QString& entryName, const QString& program, QWidget* parent);

signals:
    // Empty for the desktop's application.
    void programChosen(const QString& program);

private:
    QRadioButton* desktop_;
    QRadioButton* other_;
    QLineEdit* program_;
};

} // namespace larkspan
