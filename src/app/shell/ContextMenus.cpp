#include "app/shell/ContextMenus.h"

#include <QMenu>

namespace larkspan {

QMenu* replaceContextMenu(QWidget& owner)
{
    static const QString kName = QStringLiteral("contextMenu");
    // A right click reaches the owner only from the event loop, so the
    // command chosen from the last menu has returned by now.
    delete owner.findChild<QMenu*>(kName, Qt::FindDirectChildrenOnly);
    auto* menu = new QMenu(&owner);
    menu->setObjectName(kName);
    return menu;
}

} // namespace larkspan
