#include "app/viewers/TextEditorWindow.h"

#include "app/viewers/TextEditor.h"
#include "app/viewers/TextFindBar.h"
#include "model/RFATreeNode.h"

#include <QEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

namespace larkspan {

namespace {

QString nameOf(LineBreak lineBreak)
{
    switch (lineBreak) {
    case LineBreak::CRLF:
        return QStringLiteral("CRLF");
    case LineBreak::LF:
        return QStringLiteral("LF");
    case LineBreak::CR:
        return QStringLiteral("CR");
    }
    return {};
}

} // namespace

TextEditorWindow::TextEditorWindow(std::shared_ptr<RFATreeNode> entry, QString displayName, QWidget* parent)
    : QMainWindow(parent),
      editor_(new TextEditor(std::move(entry), this)),
      findBar_(new TextFindBar(*editor_, this)),
      position_(new QLabel(this)),
      lineBreaks_(new QLabel(this)),
      displayName_(std::move(displayName))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setCentralWidget(editor_);
    // Edits typed here are the archive window's unsaved changes: its mark
    // shows here too.
    if (parent) {
        parent->installEventFilter(this);
        setWindowModified(parent->isWindowModified());
    }
    position_->setObjectName(QStringLiteral("position"));
    lineBreaks_->setObjectName(QStringLiteral("lineBreaks"));
    statusBar()->addWidget(position_);
    statusBar()->addPermanentWidget(lineBreaks_);
    addToolBar(Qt::BottomToolBarArea, findBar_);
    connect(findBar_, &TextFindBar::said, this, [this](const QString& message) {
        message.isEmpty() ? statusBar()->clearMessage() : statusBar()->showMessage(message, 4000);
    });
    resize(720, 540);

    connect(editor_, &TextEditor::entryRenamed, this, &TextEditorWindow::updateTitle);
    connect(editor_, &TextEditor::entryStoppedBeingText, this, &QWidget::close);
    connect(editor_, &TextEditor::refused, this, [this](const QString& character) {
        statusBar()->showMessage(character.isEmpty()
                                     ? tr("The text was not taken: an archive's scripts hold Latin-1 characters only.")
                                     : tr("“%1” was not taken: an archive's scripts hold Latin-1 characters only.")
                                           .arg(character),
                                 6000);
    });
    connect(editor_, &QPlainTextEdit::cursorPositionChanged, this, &TextEditorWindow::updatePosition);
    connect(editor_, &QPlainTextEdit::textChanged, this, &TextEditorWindow::updateLineBreaks);
    updateTitle();
    updatePosition();
    updateLineBreaks();
}

void TextEditorWindow::setDisplayName(QString displayName)
{
    displayName_ = std::move(displayName);
    updateTitle();
}

void TextEditorWindow::setReadOnly()
{
    editor_->setReadOnly(true);
    auto* readOnly = new QLabel(tr("Read-only"), this);
    readOnly->setObjectName(QStringLiteral("readOnly"));
    statusBar()->addPermanentWidget(readOnly);
}

void TextEditorWindow::addFindCommands()
{
    QMenu* edit = menuBar()->findChild<QMenu*>(QStringLiteral("editMenu"));
    if (!edit) {
        edit = menuBar()->addMenu(tr("&Edit"));
        edit->addAction(findBar_->findAction());
        addAction(findBar_->findAction());
    }
    for (QAction* action : {findBar_->findNextAction(), findBar_->findPreviousAction()}) {
        edit->addAction(action);
        // Also while the menus are hidden.
        addAction(action);
    }
}

QString TextEditorWindow::windowTitleForDocumentDisplayName(const QString& displayName) const
{
    return QStringLiteral("%1 \u2014 %2").arg(displayName, QString::fromStdString(editor_->entry()->name()));
}

void TextEditorWindow::updateTitle()
{
    setWindowTitle(windowTitleForDocumentDisplayName(displayName_ + QStringLiteral("[*]")));
}

bool TextEditorWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::ModifiedChange)
        setWindowModified(parentWidget()->isWindowModified());
    return QMainWindow::eventFilter(watched, event);
}

void TextEditorWindow::updatePosition()
{
    const QTextCursor cursor = editor_->textCursor();
    position_->setText(tr("Line %1, Column %2").arg(cursor.blockNumber() + 1).arg(cursor.positionInBlock() + 1));
}

void TextEditorWindow::updateLineBreaks()
{
    const LineBreakCounts counts = editor_->lineBreakCounts();
    const QString main = nameOf(counts.main());
    lineBreaks_->setText(counts.isMixed() ? tr("%1 (mixed)").arg(main) : main);
}

} // namespace larkspan
