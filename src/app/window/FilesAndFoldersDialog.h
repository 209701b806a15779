#pragma once

#include <QFileDialog>

namespace larkspan {

// Chooses several files and folders in one go. The toolkit's dialog opens
// a folder it is asked to accept; this one adds whatever is selected in its
// lists, folders too. A path typed into the name field and confirmed still
// opens a folder (and adds files), as in any file dialog.
class FilesAndFoldersDialog : public QFileDialog {
    Q_OBJECT
public:
    FilesAndFoldersDialog(QWidget* parent, const QString& caption, const QString& acceptLabel);

    // What the user chose, once the dialog has been accepted.
    const QStringList& chosenPaths() const { return chosen_; }

public slots:
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void relabelAcceptButton();

    const QString acceptLabel_;
    QStringList chosen_;
    bool typed_ = false; // the name field holds what the user typed, not the lists' selection
};

} // namespace larkspan
