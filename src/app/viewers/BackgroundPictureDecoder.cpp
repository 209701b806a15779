#include "app/viewers/BackgroundPictureDecoder.h"

#include "app/viewers/QtImages.h"

#include <QFutureWatcher>
#include <QtConcurrent>

namespace larkspan {

namespace {

QImage decodeScaled(const ImageDecoderTable& decoders, const std::string& extension, const SharedBytes& bytes,
                    QSize fit)
{
    try {
        const std::optional<Image> image = decoders.decode(extension, bytes);
        if (!image)
            return {};
        const QImage picture = toQImage(*image);
        if (picture.width() <= fit.width() && picture.height() <= fit.height())
            return picture;
        return picture.scaled(fit, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    } catch (const std::bad_alloc&) {
        // A header that claims a picture too large to hold is no picture.
        return {};
    }
}

} // namespace

BackgroundPictureDecoder::BackgroundPictureDecoder(ImageDecoderTable decoders, QObject* parent)
    : QObject(parent), decoders_(std::move(decoders))
{
}

void BackgroundPictureDecoder::request(quint64 ticket, std::string extension, SharedBytes bytes, QSize fit)
{
    waiting_ = Request{ticket, std::move(extension), std::move(bytes), fit};
    if (!busy_)
        startNext();
}

void BackgroundPictureDecoder::startNext()
{
    if (!waiting_)
        return;
    Request next = std::move(*waiting_);
    waiting_.reset();
    busy_ = true;
    auto* watcher = new QFutureWatcher<QImage>(this);
    connect(watcher, &QFutureWatcher<QImage>::finished, this, [this, watcher, ticket = next.ticket] {
        watcher->deleteLater();
        busy_ = false;
        emit decoded(ticket, watcher->result());
        startNext();
    });
    watcher->setFuture(QtConcurrent::run([decoders = decoders_, request = std::move(next)] {
        return decodeScaled(decoders, request.extension, request.bytes, request.fit);
    }));
}

} // namespace larkspan
