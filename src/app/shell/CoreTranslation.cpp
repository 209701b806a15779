#include "app/shell/CoreTranslation.h"

#include <QCoreApplication>

namespace larkspan {

std::string translateForCore(const char* sourceText)
{
    return QCoreApplication::translate("Core", sourceText).toStdString();
}

} // namespace larkspan
