#include "app/window/FilesAndFoldersDialog.h"

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

namespace larkspan {

FilesAndFoldersDialog::FilesAndFoldersDialog(QWidget* parent, const QString& caption, const QString& acceptLabel)
    : QFileDialog(parent, caption), acceptLabel_(acceptLabel)
{
    // Only the toolkit's own dialog has lists whose folders can be chosen.
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::ExistingFiles);
    setLabelText(QFileDialog::Accept, acceptLabel_);
    if (auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
        connect(name, &QLineEdit::textEdited, this, [this] { typed_ = true; });
        connect(name, &QLineEdit::textChanged, this, &FilesAndFoldersDialog::relabelAcceptButton);
    }
    // A click or a key in a list makes its selection the choice again.
    for (const char* name : {"listView", "treeView"}) {
        auto* list = findChild<QAbstractItemView*>(QLatin1String(name));
        if (!list)
            continue;
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
        if (list->selectionModel())
            connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                    &FilesAndFoldersDialog::relabelAcceptButton);
    }
}

bool FilesAndFoldersDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress)
        typed_ = false;
    return QFileDialog::eventFilter(watched, event);
}

// The toolkit names the button "Open" whenever a folder is selected; here
// a selected folder is added like a file.
void FilesAndFoldersDialog::relabelAcceptButton()
{
    const auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    QPushButton* button = buttons ? buttons->button(QDialogButtonBox::Open) : nullptr;
    if (button && !typed_)
        button->setText(acceptLabel_);
}

void FilesAndFoldersDialog::accept()
{
    const QStringList files = selectedFiles();
    if (files.isEmpty())
        return;
    if (typed_) {
        chosen_ = files;
        QFileDialog::accept();
        // It opened a typed folder instead: what is chosen next is chosen anew.
        if (isVisible()) {
            typed_ = false;
            relabelAcceptButton();
        }
        return;
    }
    for (const QString& file : files)
        if (!QFileInfo::exists(file))
            return;
    chosen_ = files;
    QDialog::accept();
}

} // namespace larkspan
