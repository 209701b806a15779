#pragma once

#include "text/ScriptLexer.h"

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

#include <array>

namespace larkspan {

// Colours the game's scripts as the script lexer reads them; each line
// keeps whether it ends inside a beginRem block as its block state, so an
// edit that opens or closes a block recolours the lines after it.
class ConHighlighter : public QSyntaxHighlighter {
    Q_OBJECT

public:
    ConHighlighter(QTextDocument* document, bool darkBackground);

    // Colours that read on the editor's background; rehighlights.
    void setDarkBackground(bool dark);
    const QTextCharFormat& formatOf(ScriptTokenKind kind) const { return formats_[static_cast<std::size_t>(kind)]; }

protected:
    void highlightBlock(const QString& text) override;

private:
    std::array<QTextCharFormat, 6> formats_;
};

} // namespace larkspan
