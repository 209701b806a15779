// Opens an archive in the editor and saves pictures of its views for the
// README: the column browser, the outline, search results, the text
// editor and a texture. Run by scripts/screenshots.sh under a virtual X
// server, so the pictures show real fonts and the toolkit's style.
//
//   larkspan-screenshots ARCHIVE OUTPUT_FOLDER

#include "app/shell/RFAApplicationDelegate.h"
#include "app/shell/Settings.h"
#include "app/viewers/QtImages.h"
#include "app/views/ArchiveColumnView.h"
#include "app/views/ArchiveOutlineView.h"
#include "app/views/ArchiveTreeModel.h"
#include "app/window/MyDocument.h"
#include "app/window/ViewerWindows.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>

namespace {

using namespace larkspan;

RFATreeNode::Ptr entry(MyDocument& window, std::vector<std::string> path)
{
    return window.document()->archive().root()->childWithPathArray(path);
}

bool save(QWidget& window, const QString& folder, const QString& name)
{
    QTest::qWait(300);
    return window.grab().save(folder + QLatin1Char('/') + name);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: larkspan-screenshots ARCHIVE OUTPUT_FOLDER\n");
        return 2;
    }
    // Settings of its own: the pictures must not depend on the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setApplicationName(QStringLiteral("LarkspanScreenshots"));
    settings::setSearchFilenames(true);
    settings::setSearchFileContents(true);
    const QString output = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(output);

    RFAApplicationDelegate delegate;
    MyDocument* window = delegate.openFile(QString::fromLocal8Bit(argv[1]));
    if (!window)
        return 1;
    window->resize(1040, 500);
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return 1;

    const std::vector<std::string> level = {"levels", "Demo"};
    const RFATreeNode::Ptr init = entry(*window, {"levels", "Demo", "Init.con"});
    const RFATreeNode::Ptr texture = entry(*window, {"levels", "Demo", "Textures", "Detail.dds"});
    if (!init || !texture)
        return 1;
    // The window's parts, found by their object names.
    auto* model = window->findChild<ArchiveTreeModel*>();
    auto* browser = window->findChild<ArchiveColumnView*>(QStringLiteral("browser"));
    auto* outline = window->findChild<ArchiveOutlineView*>(QStringLiteral("outline"));
    auto* searchField = window->findChild<QLineEdit*>(QStringLiteral("searchField"));
    auto* results = window->findChild<QTableView*>(QStringLiteral("searchResults"));
    if (!model || !browser || !outline || !searchField || !results)
        return 1;
    browser->setCurrentIndex(model->indexForNode(*init));
    bool ok = save(*window, output, QStringLiteral("browser.png"));

    window->useListView();
    outline->expandAll();
    outline->setCurrentIndex(model->indexForNode(*entry(*window, level)));
    ok &= save(*window, output, QStringLiteral("outline.png"));

    searchField->setText(QStringLiteral("terrain"));
    emit searchField->textEdited(QStringLiteral("terrain"));
    results->selectRow(0);
    ok &= save(*window, output, QStringLiteral("search.png"));

    window->viewers().openEntries({init});
    QWidget* editor = window->viewers().viewerFor(*init);
    editor->resize(640, 360);
    ok &= QTest::qWaitForWindowExposed(editor);
    ok &= save(*editor, output, QStringLiteral("editor.png"));

    window->viewers().openEntries({texture});
    QWidget* viewer = window->viewers().viewerFor(*texture);
    ok &= QTest::qWaitForWindowExposed(viewer);
    ok &= save(*viewer, output, QStringLiteral("texture.png"));

    return ok ? 0 : 1;
}
