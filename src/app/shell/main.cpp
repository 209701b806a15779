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
    const QStringList files = parser.positionalArguments();
    for (const QString& file : files)
        delegate.openFile(file);
    const QStringList mods = parser.values(mod);
    for (const QString& folder : mods)
        delegate.openMod(folder);
    // A file that cannot be read opens no window, only its error.
    if (files.isEmpty() && mods.isEmpty())
        delegate.newDocument()->show();
    return application.exec();
}
