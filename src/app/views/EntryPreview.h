#pragma once

#include "app/views/EntryIcons.h"
#include "imaging/ImageDecoders.h"
#include "model/ChangeHub.h"
#include "model/RFATreeNode.h"

#include <QWidget>

#include <memory>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;

namespace larkspan {

class ArchiveDocument;
class BackgroundPictureDecoder;
class PictureView;

// What a file manager shows beside a selected file: a picture scaled to fit,
// the first lines of a text, or for other files a large icon; below it the
// name, kind, size, stored size and what the header tells (a picture's
// format, a sound's channels and length), and a button that opens the entry
// in another program. Pictures are decoded off the main thread; it follows
// the entry while it shows it.
class EntryPreview : public QWidget {
    Q_OBJECT
public:
    enum class Shown { Nothing, Decoding, Picture, Undecodable, Text, Icon };

    EntryPreview(std::shared_ptr<const ArchiveDocument> document, ImageDecoderTable decoders,
                 QWidget* parent = nullptr);

    // Null shows nothing.
    void setEntry(RFATreeNode::Ptr entry);
    const RFATreeNode::Ptr& entry() const { return entry_; }
    Shown shown() const { return shown_; }
    QString detailsText() const;

signals:
    // The button: a sound plays in the desktop's player, other entries ask
    // which program to open them with.
    void openRequested(const std::shared_ptr<larkspan::RFATreeNode>& entry, bool chooseProgram);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitTo(const QWidget& viewport);
    void refresh();
    void showPicture(quint64 ticket, const QImage& picture);
    QString details() const;

    std::shared_ptr<const ArchiveDocument> document_;
    RFATreeNode::Ptr entry_;
    ObserverToken watch_;
    BackgroundPictureDecoder* decoder_;
    quint64 ticket_ = 0;
    EntryIcons icons_;
    Shown shown_ = Shown::Nothing;

    QStackedWidget* pages_;
    PictureView* picture_;
    QPlainTextEdit* text_;
    QLabel* icon_;
    QLabel* name_;
    QLabel* details_;
    QPushButton* open_;
};

} // namespace larkspan
