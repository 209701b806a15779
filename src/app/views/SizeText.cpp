#include "app/views/SizeText.h"

#include "document/FileSizeFormatter.h"

#include <QCoreApplication>

namespace larkspan {

namespace {

// The formats the core chooses from, listed for the translation tools.
[[maybe_unused]] constexpr const char* kFormats[] = {
    QT_TRANSLATE_NOOP("FileSizeFormatter", "%u Bytes"),
    QT_TRANSLATE_NOOP("FileSizeFormatter", "%u KB"),
    QT_TRANSLATE_NOOP("FileSizeFormatter", "%.1f MB"),
    QT_TRANSLATE_NOOP("FileSizeFormatter", "%.2f GB"),
};

std::string translatedFormat(const char* format)
{
    return QCoreApplication::translate("FileSizeFormatter", format).toStdString();
}

} // namespace

QString sizeText(std::uint64_t bytes)
{
    return QString::fromStdString(FileSizeFormatter::stringForNumber(bytes, translatedFormat));
}

} // namespace larkspan
