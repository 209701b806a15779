#include "app/viewers/LineNumberArea.h"

#include "app/viewers/TextEditor.h"

#include <QPaintEvent>

namespace larkspan {

LineNumberArea::LineNumberArea(TextEditor* editor) : QWidget(editor), editor_(editor) {}

QSize LineNumberArea::sizeHint() const
{
    return {editor_->lineNumberAreaWidth(), 0};
}

void LineNumberArea::paintEvent(QPaintEvent* event)
{
    editor_->paintLineNumbers(*this, event->rect());
}

} // namespace larkspan
