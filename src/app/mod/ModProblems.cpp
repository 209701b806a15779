#include "app/mod/ModProblems.h"

#include "app/shell/CoreTranslation.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

#include <algorithm>

namespace larkspan {

namespace {

QString plainly(const Error& error)
{
    return QString::fromStdString(describe(error, translateForCore, Wording::Plain).text);
}

} // namespace

QStringList ModProblems::lines(const ModIndex& index)
{
    QStringList lines;
    for (const ModArchive& archive : index.archives())
        if (archive.error) // the archive's path stands in front, not the reader's subject
            lines << tr("%1: %2").arg(QString::fromStdString(archive.shownPath),
                                      plainly(Error{archive.error->code, {}, archive.error->systemError}));
    for (const std::string& name : index.missingMods())
        lines << tr("init.con uses the mod %1, which is not in the Mods folder.").arg(QString::fromStdString(name));
    if (const std::optional<Error>& error = index.initConError())
        lines << tr("init.con could not be read: %1").arg(plainly(*error));
    return lines;
}

QString ModProblems::summary(const ModIndex& index)
{
    const auto unreadable = std::count_if(index.archives().begin(), index.archives().end(),
                                          [](const ModArchive& archive) { return archive.error.has_value(); });
    QStringList parts;
    if (unreadable > 0)
        parts << tr("archives that could not be read (%1)").arg(unreadable);
    if (!index.missingMods().empty())
        parts << tr("mods init.con names that are missing (%1)").arg(index.missingMods().size());
    if (index.initConError())
        parts << tr("init.con could not be read");
    if (parts.isEmpty())
        return {};
    return tr("Part of the mod is left out: %1.").arg(parts.join(QStringLiteral(", ")));
}

ModProblemsBar::ModProblemsBar(QWidget* parent) : QFrame(parent), text_(new QLabel(this))
{
    setObjectName(QStringLiteral("problemsBar"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    // The toolkit's own colours for a tooltip: a warm note on every theme.
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 4, 4);
    auto* icon = new QLabel(this);
    const int side = style()->pixelMetric(QStyle::PM_SmallIconSize);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(side, side));
    text_->setWordWrap(true);
    text_->setObjectName(QStringLiteral("problemsSummary"));
    auto* list = new QPushButton(tr("Show List…"), this);
    list->setObjectName(QStringLiteral("showProblems"));
    auto* close = new QToolButton(this);
    close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close->setToolTip(tr("Hide this note"));
    close->setAutoRaise(true);
    layout->addWidget(icon);
    layout->addWidget(text_, 1);
    layout->addWidget(list);
    layout->addWidget(close);
    connect(list, &QPushButton::clicked, this, &ModProblemsBar::listRequested);
    connect(close, &QToolButton::clicked, this, [this] {
        hidden_ = shown_;
        hide();
    });
}

void ModProblemsBar::showProblemsOf(const ModIndex& index)
{
    const QString summary = ModProblems::summary(index);
    text_->setText(summary);
    // A note the user closed stays closed through reloads, until what is
    // left out changes.
    shown_ = ModProblems::lines(index);
    setVisible(!summary.isEmpty() && shown_ != hidden_);
}

} // namespace larkspan
