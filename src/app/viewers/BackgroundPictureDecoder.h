#pragma once

#include "base/Bytes.h"
#include "imaging/ImageDecoders.h"

#include <QImage>
#include <QObject>

#include <optional>
#include <string>

namespace larkspan {

// Decodes pictures on a worker thread, one at a time, so that the window
// never waits for a large texture. Only the latest request waits its turn:
// a newer one replaces it, and the window asks for what it shows now, not
// for every entry the selection passed over.
class BackgroundPictureDecoder : public QObject {
    Q_OBJECT
public:
    // The decoders are copied: the worker must not share them with the window.
    BackgroundPictureDecoder(ImageDecoderTable decoders, QObject* parent = nullptr);

    // The picture comes back scaled to fit `fit` when larger, or null when
    // the bytes cannot be decoded. The bytes are immutable and shared, so the
    // entry may change meanwhile without touching what the worker reads.
    void request(quint64 ticket, std::string extension, SharedBytes bytes, QSize fit);
    bool isBusy() const { return busy_; }

signals:
    void decoded(quint64 ticket, const QImage& picture);

private:
    struct Request {
        quint64 ticket;
        std::string extension;
        SharedBytes bytes;
        QSize fit;
    };
    void startNext();

    const ImageDecoderTable decoders_;
    std::optional<Request> waiting_;
    bool busy_ = false;
};

} // namespace larkspan
