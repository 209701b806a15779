#include "app/dnd/ExportFolders.h"
#include "app/shell/FirstPaintReport.h"
#include "app/shell/RFAApplicationDelegate.h"
#include "app/viewers/QtImages.h"
#include "app/window/MyDocument.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <algorithm>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Larkspan"));
    QApplication::setOrganizationName(QStringLiteral("Larkspan"));
    QApplication::setApplicationVersion(QStringLiteral(LARKSPAN_VERSION));
    QApplication::setQuitOnLastWindowClosed(true);
    // Docks match windows to the desktop entry, and take its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.ostmere.Larkspan"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.ostmere.Larkspan"),
                                                 QIcon(QStringLiteral(":/icons/org.ostmere.Larkspan-256.png"))));

    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    QTranslator ownTexts;
    if (ownTexts.load(QLocale(), QStringLiteral("larkspan"), QStringLiteral("_"), QStringLiteral(":/i18n")))
        QApplication::installTranslator(&ownTexts);

    QCommandLineParser parser;
    parser.setApplicationDescription(QApplication::translate("main", "Editor for Battlefield 1942 RFA archives"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("files"), QApplication::translate("main", "Archives to open."),
                                 QStringLiteral("[FILE...]"));
    const QCommandLineOption mod(QStringLiteral("mod"),
                                 QApplication::translate("main", "Show the mod in <folder> as the game sees it."),
                                 QApplication::translate("main", "folder"));
    parser.addOption(mod);
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
