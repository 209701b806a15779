#include "app/views/EntryPreview.h"

#include "app/shell/CoreTranslation.h"
#include "app/viewers/BackgroundPictureDecoder.h"
#include "app/viewers/PictureInfoText.h"
#include "app/viewers/PictureView.h"
#include "app/views/EntryIcons.h"
#include "app/views/SizeText.h"
#include "document/ArchiveDocument.h"
#include "format/WaveHeader.h"
#include "model/EntryKind.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace larkspan {

namespace {

// Pictures are shown no larger than this; the worker scales them down.
constexpr QSize kPictureFit(512, 512);
// A text shows its beginning only: reading a whole 10 MB script to show
// forty lines would make every click wait.
constexpr std::size_t kTextBytes = 16 * 1024;
constexpr int kTextLines = 200;
constexpr int kIconSize = 96;

enum Page { PicturePage, TextPage, IconPage };

QString kindName(EntryKind kind)
{
    switch (kind) {
    case EntryKind::Script: return EntryPreview::tr("Script");
    case EntryKind::Text: return EntryPreview::tr("Text");
    case EntryKind::Texture: return EntryPreview::tr("Texture");
    case EntryKind::Picture: return EntryPreview::tr("Picture");
    case EntryKind::HeightMap: return EntryPreview::tr("Height map");
    case EntryKind::Sound: return EntryPreview::tr("Sound");
    case EntryKind::Mesh: return EntryPreview::tr("Mesh");
    case EntryKind::Other: break;
    }
    return EntryPreview::tr("File");
}

QString soundText(const RFATreeNode& entry)
{
    if (entry.extension() != "wav")
        return {};
    const std::optional<WaveFormat> format = readWaveFormat(*entry.data());
    if (!format)
        return EntryPreview::tr("The WAV header cannot be read.");
    const QString channels = format->channels == 1   ? EntryPreview::tr("Mono")
                             : format->channels == 2 ? EntryPreview::tr("Stereo")
                                                     : EntryPreview::tr("%1 channels").arg(format->channels);
    QString text =
        EntryPreview::tr("%1, %2 Hz, %3 bits").arg(channels).arg(format->sampleRate).arg(format->bitsPerSample);
    if (format->durationMs)
        text += EntryPreview::tr(", %1 seconds").arg(static_cast<double>(*format->durationMs) / 1000.0, 0, 'f', 1);
    return text;
}

QString firstLines(const Bytes& bytes)
{
    const std::size_t length = std::min(bytes.size(), kTextBytes);
    QString text = QString::fromLatin1(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(length));
    qsizetype end = -1;
    for (int line = 0; line < kTextLines; ++line) {
        end = text.indexOf(u'\n', end + 1);
        if (end < 0)
            return text;
    }
    text.truncate(end);
    return text;
}

} // namespace

EntryPreview::EntryPreview(std::shared_ptr<const ArchiveDocument> document, ImageDecoderTable decoders,
                           QWidget* parent)
    : QWidget(parent), document_(std::move(document)),
      decoder_(new BackgroundPictureDecoder(std::move(decoders), this)), pages_(new QStackedWidget(this)),
      picture_(new PictureView(this)), text_(new QPlainTextEdit(this)), icon_(new QLabel(this)),
      name_(new QLabel(this)), details_(new QLabel(this)), open_(new QPushButton(this))
{
    auto* layout = new QVBoxLayout(this);
    picture_->setObjectName(QStringLiteral("previewPicture"));
    text_->setObjectName(QStringLiteral("previewText"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    icon_->setAlignment(Qt::AlignCenter);
    pages_->insertWidget(PicturePage, picture_);
    pages_->insertWidget(TextPage, text_);
    pages_->insertWidget(IconPage, icon_);
    layout->addWidget(pages_, 1);
    name_->setObjectName(QStringLiteral("previewName"));
    name_->setWordWrap(true);
    name_->setAlignment(Qt::AlignHCenter);
    QFont bold = name_->font();
    bold.setBold(true);
    name_->setFont(bold);
    details_->setObjectName(QStringLiteral("previewDetails"));
    details_->setWordWrap(true);
    details_->setAlignment(Qt::AlignHCenter);
    details_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(name_);
    layout->addWidget(details_);
    open_->setObjectName(QStringLiteral("previewOpenButton"));
    layout->addWidget(open_, 0, Qt::AlignHCenter);
    connect(open_, &QPushButton::clicked, this, [this] {
        if (entry_)
            emit openRequested(entry_, entryKindOf(entry_->extension()) != EntryKind::Sound);
    });
    connect(decoder_, &BackgroundPictureDecoder::decoded, this, &EntryPreview::showPicture);
    setMinimumWidth(220);
    setEntry(nullptr);
}

// In the column browser the preview lies in a scrolling column that keeps
// the widget's own height; it follows the column, so everything it shows
// fits the column and nothing is cut off below.
bool EntryPreview::event(QEvent* event)
{
    if (event->type() == QEvent::ParentChange) {
        if (QWidget* viewport = parentWidget(); viewport && qobject_cast<QAbstractScrollArea*>(viewport->parentWidget())) {
            viewport->installEventFilter(this);
            fitTo(*viewport);
        }
    }
    return QWidget::event(event);
}

bool EntryPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == parentWidget())
        fitTo(*parentWidget());
    return QWidget::eventFilter(watched, event);
}

void EntryPreview::fitTo(const QWidget& viewport)
{
    resize(std::max(minimumWidth(), viewport.width()), std::max(minimumSizeHint().height(), viewport.height()));
}

void EntryPreview::setEntry(RFATreeNode::Ptr entry)
{
    entry_ = std::move(entry);
    watch_.reset();
    if (entry_) {
        if (const std::shared_ptr<ChangeHub> hub = entry_->changeHub()) {
            watch_ = hub->observe({.node = entry_.get(), .properties = {NodeProperty::Data, NodeProperty::Name}},
                                  [this](const ChangeReport& report) {
                                      if (!report.isPrior)
                                          refresh();
                                  });
        }
    }
    refresh();
}

void EntryPreview::refresh()
{
    // Whatever is being decoded now is for an older request.
    ++ticket_;
    const bool shows = entry_ != nullptr;
    name_->setVisible(shows);
    details_->setVisible(shows);
    open_->setVisible(shows && entry_->isLeaf());
    pages_->setVisible(shows);
    if (!shows) {
        shown_ = Shown::Nothing;
        return;
    }
    name_->setText(QString::fromStdString(entry_->name()));
    details_->setText(details());
    const EntryKind kind = entryKindOf(entry_->extension());
    open_->setText(kind == EntryKind::Sound ? tr("Play") : tr("Open With…"));
    icon_->setPixmap(icons_.iconFor(*entry_).pixmap(kIconSize, kIconSize));
    if (entry_->isImage()) {
        shown_ = Shown::Decoding;
        pages_->setCurrentIndex(IconPage);
        decoder_->request(ticket_, entry_->extension(), entry_->data(), kPictureFit);
    } else if (entry_->isText()) {
        shown_ = Shown::Text;
        text_->setPlainText(firstLines(*entry_->data()));
        pages_->setCurrentIndex(TextPage);
    } else {
        shown_ = Shown::Icon;
        pages_->setCurrentIndex(IconPage);
    }
}

void EntryPreview::showPicture(quint64 ticket, const QImage& picture)
{
    if (ticket != ticket_)
        return;
    shown_ = picture.isNull() ? Shown::Undecodable : Shown::Picture;
    picture_->setPicture(picture); // a null picture says it cannot be shown
    pages_->setCurrentIndex(PicturePage);
}

QString EntryPreview::detailsText() const
{
    return details_->text();
}

QString EntryPreview::details() const
{
    QStringList lines;
    if (!entry_->isLeaf()) {
        lines << tr("Folder") << tr("Items: %1").arg(entry_->countOfChildren())
              << sizeText(entry_->fullSize());
        return lines.join(u'\n');
    }
    const std::uint64_t size = entry_->size();
    lines << kindName(entryKindOf(entry_->extension()));
    lines << tr("Size: %1 (%2 bytes)").arg(sizeText(size), QLocale().toString(static_cast<qulonglong>(size)));
    const std::optional<std::uint32_t> stored =
        document_ ? document_->archive().storedSizeOf(*entry_) : std::nullopt;
    if (stored)
        lines << tr("Stored size: %1").arg(sizeText(*stored));
    if (const Result<SharedBytes> bytes = entry_->readData(); !bytes)
        lines << QString::fromStdString(describe(bytes.error(), translateForCore).text);
    if (entry_->isImage())
        lines << pictureInfoText(*entry_);
    if (const QString sound = soundText(*entry_); !sound.isEmpty())
        lines << sound;
    lines.removeAll(QString());
    return lines.join(u'\n');
}

} // namespace larkspan
