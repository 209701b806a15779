// The mod window as a modder expects it from the archive windows: columns
// that sort, a name search that follows typing, content hits that show their
// line.

#include "AppTestSupport.h"

#include "app/mod/ModTreeModel.h"
#include "app/mod/ModWindow.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QStackedWidget>
#include <QTreeView>
#include <QTreeWidget>

namespace larkspan {

using namespace fixtures;

class ModWindowModderTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> windows_;
    ModWindow* window_ = nullptr;

    QModelIndex at(const std::string& path) const
    {
        const ModIndex& index = window_->model().modIndex();
        return window_->model().indexOfEntry(static_cast<std::size_t>(index.find(path) - index.entries().data()));
    }

private slots:
    void init()
    {
        windows_ = std::make_unique<WindowFixture>();
        writeArchive(windows_->temp, "Mods/MyMod/Archives/objects.rfa",
                     {{"bf1942/objects/b10.con", "12345"},
                      {"bf1942/objects/B9.con", std::string(30, 'x')},
                      {"bf1942/objects/c.con", "rem c\r\n\r\n  ObjectTemplate.create Spitfire\r\n" + std::string(40, 'y')},
                      {"bf1942/objects/vehicles/x.con", "x"}});
        writeArchive(windows_->temp, "Mods/MyMod/Archives/z.rfa",
                     {{"bf1942/objects/a.con", "0123456789"},
                      {"bf1942/long.con", "\t" + std::string(100, 'a') + " Spitfire " + std::string(200, 'b')}});
        window_ = windows_->app->openMod(QString::fromStdString((windows_->temp.path() / "Mods/MyMod").string()));
        QVERIFY(window_);
        window_->show();
    }
    void cleanup() { windows_.reset(); }

    // Within each folder, folders first; the third click shows the paths'
    // order again; the selection stays on its entry.
    void headerClicksSortWithinEachFolder()
    {
        auto& outline = part<QTreeView>(*window_, "outline");
        QHeaderView& header = *outline.header();
        outline.selectionModel()->select(at("bf1942/objects/B9.con"), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        const struct {
            int column, clicks;
            QString names;
        } rows[] = {
            {ModTreeModel::NameColumn, 1, "vehicles a.con B9.con b10.con c.con"},
            {ModTreeModel::NameColumn, 2, "vehicles c.con b10.con B9.con a.con"},
            {ModTreeModel::NameColumn, 3, "a.con b10.con B9.con c.con vehicles"},
            {ModTreeModel::SizeColumn, 1, "vehicles b10.con a.con B9.con c.con"},
            {ModTreeModel::FromColumn, 1, "vehicles b10.con B9.con c.con a.con"},
        };
        for (const auto& row : rows) {
            header.setSortIndicator(-1, Qt::AscendingOrder);
            for (int click = 0; click < row.clicks; ++click)
                QTest::mouseClick(header.viewport(), Qt::LeftButton, {},
                                  {header.sectionViewportPosition(row.column) + 8, header.height() / 2});
            const QModelIndex folder = at("bf1942/objects/a.con").parent();
            QStringList names;
            for (int i = 0; i < window_->model().rowCount(folder); ++i)
                names << window_->model().index(i, 0, folder).data().toString();
            QCOMPARE(names.join(' '), row.names);
            QCOMPARE(outline.selectionModel()->selectedRows(), QModelIndexList{at("bf1942/objects/B9.con")});
        }
    }

    // Contents wait for Return; their hits show the line that matched.
    void theNameSearchFollowsTypingAndContentHitsShowTheirLine()
    {
        auto& field = part<QLineEdit>(*window_, "searchField");
        const auto& results = part<QTreeWidget>(*window_, "searchResults");
        const struct {
            bool contents;
            QString typed;
            bool returnPressed;
            QString found; // empty: the outline shows
        } rows[] = {
            {false, "b1", false, "b10.con"},
            {false, "B", false, "b10.con B9.con"},
            {true, "spitfire", false, ""},
            // A long line only around the match, and where it is cut.
            {true, "spitfire", true,
             "long.con 1: …" + QString(39, 'a') + " Spitfire " + QString(119, 'b') + "… c.con 3: ObjectTemplate.create Spitfire"},
        };
        for (const auto& row : rows) {
            field.clear();
            part<QCheckBox>(*window_, "searchContents").setChecked(row.contents);
            QTest::keyClicks(&field, row.typed);
            if (row.returnPressed)
                QTest::keyClick(&field, Qt::Key_Return);
            QStringList found;
            for (int i = 0; part<QStackedWidget>(*window_).currentWidget() == &results && i < results.topLevelItemCount(); ++i)
                found << (results.topLevelItem(i)->text(0) + ' ' + results.topLevelItem(i)->text(3)).trimmed();
            QCOMPARE(found.join(' '), row.found);
        }
        // Typed on, the contents' hits of the text before are gone.
        QTest::keyClicks(&field, QStringLiteral("x"));
        QCOMPARE(results.topLevelItemCount(), 0);
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::ModWindowModderTest)
#include "ModWindowModderTest.moc"
