#include "app/shell/HelpWindows.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMessageBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace larkspan {

void showKeyboardShortcuts(QWidget* parent, const QList<CommandShortcut>& commands)
{
    auto* dialog = new QDialog(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QApplication::translate("Help", "Keyboard Shortcuts"));
    auto* table = new QTableWidget(0, 2, dialog);
    table->setHorizontalHeaderLabels(
        {QApplication::translate("Help", "Command"), QApplication::translate("Help", "Shortcut")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    for (const CommandShortcut& command : commands) {
        if (command.shortcuts.isEmpty())
            continue;
        QStringList keys;
        for (const QKeySequence& key : command.shortcuts)
            keys << key.toString(QKeySequence::NativeText);
        const int row = table->rowCount();
        table->insertRow(row);
        table->setItem(row, 0, new QTableWidgetItem(QString(command.command).remove(QLatin1Char('&'))));
        table->setItem(row, 1, new QTableWidgetItem(keys.join(QStringLiteral(", "))));
    }
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table->resizeColumnToContents(1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(table);
    layout->addWidget(buttons);
    dialog->resize(420, 520);
    dialog->show();
}

void showAbout(QWidget* parent)
{
    auto* box = new QMessageBox(parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(QApplication::translate("Help", "About Larkspan"));
    box->setIconPixmap(QApplication::windowIcon().pixmap(64, 64));
    box->setText(QApplication::translate("Help",
                                               "<h3>Larkspan %1</h3>"
                                               "<p>An editor for the RFA archives of Battlefield 1942 mods, "
                                               "and the <tt>rfa</tt> command-line tool.</p>"
                                               "<p>Released under the MIT licence.</p>"
                                               "<p>Built with Qt %2, running on Qt %3.</p>")
                           .arg(QApplication::applicationVersion(), QStringLiteral(QT_VERSION_STR),
                                QString::fromLatin1(qVersion())));
    box->open();
}

} // namespace larkspan
