#pragma once

class QAbstractItemView;

namespace larkspan {

// What every view of archive entries shares, the column browser's columns
// included: extended row selection, renaming by the edit key (F2; Return on
// macOS) or a slow second click, 16×16 icons.
void configureEntryView(QAbstractItemView& view);

} // namespace larkspan
