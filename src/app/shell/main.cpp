#include "app/dnd/ExportFolders.h"
#include "app/shell/FirstPaintReport.h"
#include "app/shell/RFAApplicationDelegate.h"
#include "app/viewers/QtImages.h"
#include "app/window/MyDocument.h"

#include <QApplication>
#include <QByteArrayList>
#include <QCommandLineParser>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <algorithm>

namespace {

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Larkspan"));
    QCoreApplication::setOrganizationName(QStringLiteral("Larkspan"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LARKSPAN_VERSION));
}

// Qt's own texts and ours, in the user's language, for as long as this lives.
class Translations {
public:
    Translations()
    {
        if (qtTexts_.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&qtTexts_);
        if (ownTexts_.load(QLocale(), QStringLiteral("larkspan"), QStringLiteral("_"), QStringLiteral(":/i18n")))
            QCoreApplication::installTranslator(&ownTexts_);
    }

private:
    QTranslator qtTexts_;
    QTranslator ownTexts_;
};

// The command line; returns the --mod option.
QCommandLineOption describeArguments(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QCoreApplication::translate("main", "Editor for Battlefield 1942 RFA archives"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("files"), QCoreApplication::translate("main", "Archives to open."),
                                 QStringLiteral("[FILE...]"));
    const QCommandLineOption mod(QStringLiteral("mod"),
                                 QCoreApplication::translate("main", "Show the mod in <folder> as the game sees it."),
                                 QCoreApplication::translate("main", "folder"));
    parser.addOption(mod);
    return mod;
}

bool asksForHelpOrVersion(int argc, char* argv[])
{
    const QByteArrayList asking{"-h", "--help", "-?", "-v", "--version"};
    return std::any_of(argv + 1, argv + argc, [&](const char* argument) { return asking.contains(argument); });
}

} // namespace

int main(int argc, char* argv[])
{
    if (asksForHelpOrVersion(argc, argv)) {
        // Printed without a window, so also where no display is.
        QCoreApplication printing(argc, argv);
        nameApplication();
        const Translations texts;
        QCommandLineParser parser;
        describeArguments(parser);
        parser.process(printing);
        return 0;
    }
    QApplication application(argc, argv);
    nameApplication();
    QApplication::setQuitOnLastWindowClosed(true);
    // Docks match windows to the desktop entry, and take its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.ostmere.Larkspan"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.ostmere.Larkspan"),
                                                 QIcon(QStringLiteral(":/icons/org.ostmere.Larkspan-256.png"))));
    const Translations texts;
    QCommandLineParser parser;
    const QCommandLineOption mod = describeArguments(parser);
    parser.process(application);

    larkspan::reportFirstPaintIfAsked(&application);
    larkspan::removeStaleExportFolders();
    larkspan::RFAApplicationDelegate delegate;
    // A file that cannot be read opens no window, only its error. When
    // nothing named opened, the program fails once the errors are read (or
    // at once when none is shown), as a script that started it must learn.
    if (delegate.openFromCommandLine(parser.positionalArguments(), parser.values(mod)))
        return application.exec();
    const QWidgetList windows = QApplication::topLevelWidgets();
    if (std::any_of(windows.begin(), windows.end(), [](const QWidget* window) { return window->isVisible(); }))
        application.exec();
    return 1;
}
