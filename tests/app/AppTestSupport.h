#pragma once

#include "app/shell/RFAApplicationDelegate.h"
#include "app/window/MyDocument.h"
#include "fs/FileIO.h"
#include "support/ArchiveBytes.h"
#include "support/TemporaryFolder.h"

#include <QApplication>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <functional>

namespace larkspan::fixtures {

// Settings of their own for every test run, never the user's.
inline void isolateSettings()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("LarkspanTests"));
    QCoreApplication::setApplicationName(QStringLiteral("LarkspanTests"));
    QSettings().clear();
}

// Writes an archive with these entries into `folder` and returns its path
// (empty when it could not be written).
inline QString writeArchive(const TemporaryFolder& folder, const std::string& name,
                            const std::vector<std::pair<std::string, std::string>>& entries)
{
    const std::filesystem::path path = folder.path() / name;
    if (!writeFileAtomically(path, plainArchive(entries)))
        return {};
    return QString::fromStdString(path.string());
}

// The window-modal dialog a window shows, once it shows it; null when none
// comes within two seconds.
template <typename Dialog>
Dialog* waitForDialog(QWidget& window)
{
    for (int waited = 0; waited < 2000; waited += 20) {
        for (Dialog* dialog : window.findChildren<Dialog*>())
            if (dialog->isVisible())
                return dialog;
        QTest::qWait(20);
    }
    return nullptr;
}

// Ends the current user event: the undo group closes on the next turn of
// the event loop, as after a real click.
inline void endUserEvent()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

} // namespace larkspan::fixtures
