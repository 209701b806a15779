#include "app/views/EntryViewSettings.h"

#include "app/views/EntryIcons.h"

#include <QAbstractItemView>

namespace larkspan {

void configureEntryView(QAbstractItemView& view)
{
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    view.setIconSize(kEntryIconSize);
}

} // namespace larkspan
