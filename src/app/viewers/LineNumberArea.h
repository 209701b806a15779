#pragma once

#include <QWidget>

namespace larkspan {

class TextEditor;

// The gutter left of a text editor's lines; the editor paints the numbers,
// since only it knows where its lines lie.
class LineNumberArea : public QWidget {
    Q_OBJECT

public:
    explicit LineNumberArea(TextEditor* editor);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TextEditor* editor_;
};

} // namespace larkspan
