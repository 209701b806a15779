#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

#include <array>

namespace larkspan {

// Colours the game's scripts (.con, .inc, .rs, .ssc). Every line is a
// command and its arguments: `rem` lines and `beginRem` … `endRem` blocks are
// comments; a first word may be a keyword of the script language (if, while,
// include, var…) or an object's method (ObjectTemplate.create); arguments
// hold strings, numbers and variables (v_arg1, c_name). Words are compared
// without regard to case, as the game does.
class ConHighlighter : public QSyntaxHighlighter {
    Q_OBJECT

public:
    enum class Kind { Comment, Keyword, Method, String, Number, Variable };

    ConHighlighter(QTextDocument* document, bool darkBackground);

    static bool handlesExtension(const QString& extension);

    // Colours that read on the editor's background; rehighlights.
    void setDarkBackground(bool dark);
    const QTextCharFormat& formatOf(Kind kind) const { return formats_[static_cast<std::size_t>(kind)]; }

protected:
    void highlightBlock(const QString& text) override;

private:
    void highlightArguments(const QString& text, int from);
    void mark(int start, int length, Kind kind) { setFormat(start, length, formatOf(kind)); }

    std::array<QTextCharFormat, 6> formats_;
};

} // namespace larkspan
