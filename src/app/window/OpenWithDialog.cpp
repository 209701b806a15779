#include "app/window/OpenWithDialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace larkspan {

OpenWithDialog::OpenWithDialog(const QString& entryName, const QString& program, QWidget* parent)
    : QDialog(parent), desktop_(new QRadioButton(tr("The desktop’s application for this type of file"), this)),
      other_(new QRadioButton(tr("This program:"), this)), program_(new QLineEdit(program, this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
    setWindowTitle(tr("Open With"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Open “%1” with:").arg(entryName), this));
    layout->addWidget(desktop_);
    auto* row = new QHBoxLayout;
    row->addWidget(other_);
    program_->setObjectName(QStringLiteral("programField"));
    program_->setMinimumWidth(260);
    row->addWidget(program_, 1);
    auto* choose = new QPushButton(tr("Choose…"), this);
    row->addWidget(choose);
    layout->addLayout(row);
    layout->addWidget(new QLabel(tr("Changes the program saves are offered back to the archive."), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);

    (program.isEmpty() ? desktop_ : other_)->setChecked(true);
    connect(program_, &QLineEdit::textEdited, this, [this] { other_->setChecked(true); });
    connect(choose, &QPushButton::clicked, this, [this] {
        auto* files = new QFileDialog(this, tr("Choose a Program"));
        files->setAttribute(Qt::WA_DeleteOnClose);
        files->setFileMode(QFileDialog::ExistingFile);
        files->setFilter(QDir::Executable | QDir::AllDirs | QDir::NoDotAndDotDot);
        connect(files, &QFileDialog::fileSelected, this, [this](const QString& file) {
            program_->setText(file);
            other_->setChecked(true);
        });
        files->open();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        const QString program = program_->text().trimmed();
        accept();
        emit programChosen(other_->isChecked() ? program : QString());
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

} // namespace larkspan
