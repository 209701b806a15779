#pragma once

#include "model/ChangeHub.h"
#include "model/RFATreeNode.h"

#include <QMainWindow>

class QComboBox;
class QLabel;
class QLineEdit;

namespace larkspan {

class HexView;

// The read-only window of an entry that is neither text nor a picture: its
// bytes in hex, a field to go to an offset and one to find bytes (as hex or
// as text). It follows the entry: new bytes are shown at once, a rename
// retitles it.
class HexViewerWindow : public QMainWindow {
    Q_OBJECT
public:
    HexViewerWindow(RFATreeNode::Ptr entry, QString displayName, QWidget* parent = nullptr);

    const RFATreeNode::Ptr& archiveEntry() const { return entry_; }
    HexView& view() const { return *view_; }
    void setDisplayName(QString displayName);

    // Moves to the offset (hexadecimal, "0x" optional); false, with a word
    // in the status line, when there is no such byte.
    bool goTo(const QString& offset);
    // Selects the next match after the cursor, going round at the end (the
    // status line says so); the text is hex digits or Latin-1 text as `asHex`
    // says. False when nothing matches.
    bool findNext(const QString& text, bool asHex);

private:
    void updateTitle();
    void updateStatus();

    RFATreeNode::Ptr entry_;
    QString displayName_;
    HexView* view_;
    QLineEdit* offsetField_;
    QLineEdit* findField_;
    QComboBox* findAs_;
    QLabel* position_;
    ObserverToken watch_;
};

} // namespace larkspan
