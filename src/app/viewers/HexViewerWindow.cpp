#include "app/viewers/HexViewerWindow.h"

#include "app/viewers/HexSearch.h"
#include "app/viewers/HexView.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

namespace larkspan {

HexViewerWindow::HexViewerWindow(RFATreeNode::Ptr entry, QString displayName, QWidget* parent)
    : QMainWindow(parent), entry_(std::move(entry)), displayName_(std::move(displayName)), view_(new HexView(this)),
      offsetField_(new QLineEdit(this)), findField_(new QLineEdit(this)), findAs_(new QComboBox(this)),
      position_(new QLabel(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setCentralWidget(view_);
    view_->setBytes(entry_->data());

    QToolBar* bar = addToolBar(tr("Go To and Find"));
    bar->setMovable(false);
    offsetField_->setObjectName(QStringLiteral("offsetField"));
    offsetField_->setPlaceholderText(tr("Offset (hex)"));
    offsetField_->setMaximumWidth(140);
    offsetField_->setClearButtonEnabled(true);
    bar->addWidget(new QLabel(tr("Go to:"), this));
    bar->addWidget(offsetField_);
    bar->addSeparator();
    findField_->setObjectName(QStringLiteral("findField"));
    findField_->setPlaceholderText(tr("Find"));
    findField_->setClearButtonEnabled(true);
    findAs_->addItems({tr("Hex"), tr("Text")});
    bar->addWidget(findField_);
    bar->addWidget(findAs_);
    bar->addAction(tr("Find Next"), this, [this] { findNext(findField_->text(), findAs_->currentIndex() == 0); });
    connect(offsetField_, &QLineEdit::returnPressed, this, [this] { goTo(offsetField_->text()); });
    connect(findField_, &QLineEdit::returnPressed, this,
            [this] { findNext(findField_->text(), findAs_->currentIndex() == 0); });
    statusBar()->addWidget(position_);
    connect(view_, &HexView::selectionChanged, this, &HexViewerWindow::updateStatus);

    if (const std::shared_ptr<ChangeHub> hub = entry_->changeHub()) {
        watch_ = hub->observe({.node = entry_.get(), .properties = {NodeProperty::Data, NodeProperty::Name}},
                              [this](const ChangeReport& report) {
                                  if (report.property == NodeProperty::Name)
                                      updateTitle();
                                  else if (entry_->isLeaf())
                                      view_->setBytes(entry_->data());
                              });
    }
    updateTitle();
    updateStatus();
    resize(view_->minimumWidth() + 40, 480);
}

void HexViewerWindow::setDisplayName(QString displayName)
{
    displayName_ = std::move(displayName);
    updateTitle();
}

void HexViewerWindow::updateTitle()
{
    setWindowTitle(QStringLiteral("%1 \u2014 %2").arg(displayName_, QString::fromStdString(entry_->name())));
}

void HexViewerWindow::updateStatus()
{
    const qint64 size = static_cast<qint64>(view_->bytes().size());
    if (size == 0) {
        position_->setText(tr("The entry is empty."));
        return;
    }
    // Offsets are hex as in the rows; sizes are counted in decimal, so the
    // offset is given in decimal too.
    const qint64 at = view_->selectionStart();
    const QString start = QString::number(at, 16).toUpper();
    position_->setText(view_->selectionLength() > 1
                           ? tr("Offset %1 (%2), %3 bytes selected, of %4")
                                 .arg(start)
                                 .arg(at)
                                 .arg(view_->selectionLength())
                                 .arg(size)
                           : tr("Offset %1 (%2) of %3 bytes").arg(start).arg(at).arg(size));
}

bool HexViewerWindow::goTo(const QString& offset)
{
    const std::optional<std::uint64_t> parsed = parseHexOffset(offset.toStdString());
    if (!parsed || *parsed >= view_->bytes().size() || !view_->goToOffset(static_cast<qint64>(*parsed))) {
        QApplication::beep();
        statusBar()->showMessage(tr("There is no byte at offset %1.").arg(offset.trimmed()), 4000);
        return false;
    }
    view_->setFocus();
    return true;
}

bool HexViewerWindow::findNext(const QString& text, bool asHex)
{
    std::optional<Bytes> needle;
    if (asHex) {
        needle = parseHexBytes(text.toStdString());
        if (!needle) {
            statusBar()->showMessage(tr("Type bytes as pairs of hex digits, like 4A 0D FF."), 4000);
            return false;
        }
    } else {
        // Latin-1 is what the bytes are read as in the text column.
        const QByteArray latin1 = text.toLatin1();
        if (text.isEmpty() || QString::fromLatin1(latin1) != text) {
            statusBar()->showMessage(tr("Type text of Latin-1 characters."), 4000);
            return false;
        }
        needle = Bytes(latin1.begin(), latin1.end());
    }
    // From the selection on; past it when it is this match already, so that
    // Find Next moves on.
    const ByteSpan bytes = view_->bytes();
    std::uint64_t from = static_cast<std::uint64_t>(view_->selectionStart());
    const ByteSpan selected = bytes.subspan(from, static_cast<std::size_t>(view_->selectionLength()));
    if (std::equal(selected.begin(), selected.end(), needle->begin(), needle->end()))
        ++from;
    const std::optional<std::uint64_t> found = findBytesWrapping(bytes, *needle, from);
    if (!found) {
        QApplication::beep();
        statusBar()->showMessage(tr("Not found."), 4000);
        return false;
    }
    view_->select(static_cast<qint64>(*found), static_cast<qint64>(needle->size()));
    // Else the user takes a match above for one further on.
    if (*found < from)
        statusBar()->showMessage(tr("Reached the end; found from the start."), 4000);
    else
        statusBar()->clearMessage();
    return true;
}

} // namespace larkspan
