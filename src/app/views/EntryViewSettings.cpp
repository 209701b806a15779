#include "app/views/EntryViewSettings.h"

#include "app/views/EntryIcons.h"

#include <QAbstractItemView>

namespace larkspan {

void configureEntryView(QAbstractItemView& view)
{
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    // Renaming starts from the keyboard or a command, never from a click on
    // a selected row: a paste that follows would land in the name.
    view.setEditTriggers(QAbstractItemView::EditKeyPressed);
    view.setIconSize(kEntryIconSize);
}

} // namespace larkspan
