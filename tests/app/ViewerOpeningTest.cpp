// The viewers as a modder meets them: a text found by a search of its
// contents opens at the match, Find goes through a text both ways and round
// its ends, and a picture opens at its own size when the screen has room.

#include "AppTestSupport.h"

#include "app/shell/Settings.h"
#include "app/viewers/PictureView.h"
#include "app/viewers/RFAImageViewingController.h"
#include "app/viewers/TextEditor.h"
#include "app/viewers/TextEditorWindow.h"
#include "app/window/ViewerWindows.h"

#include <QBuffer>
#include <QCheckBox>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextBlock>
#include <QTreeWidget>

namespace larkspan {

using namespace fixtures;

class ViewerOpeningTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> windows_;

    // "line:column:selected text", counted from 1.
    static QString selection(const TextEditorWindow& viewer)
    {
        const QTextCursor cursor = viewer.editor()->textCursor();
        const QTextBlock line = viewer.editor()->document()->findBlock(cursor.selectionStart());
        return QStringLiteral("%1:%2:%3")
            .arg(line.blockNumber() + 1)
            .arg(cursor.selectionStart() - line.position() + 1)
            .arg(cursor.selectedText());
    }
    template <typename Viewer>
    static Viewer* open(MyDocument& window, const std::string& path)
    {
        window.viewers().openEntries({node(window, path)});
        return qobject_cast<Viewer*>(window.viewers().viewerFor(*node(window, path)));
    }

private slots:
    void init() { windows_ = std::make_unique<WindowFixture>(); }
    void cleanup() { windows_.reset(); }

    void aTextFoundByItsContentsOpensAtTheMatch()
    {
        std::string script;
        for (int line = 1; line <= 400; ++line)
            script += line == 250 ? "ObjectTemplate.create PlaneAirframe Spitfire\r\n" : "rem\r\n";
        settings::setSearchFileContents(true);
        MyDocument* archive = windows_->open({{"bf1942/plane.con", script}});
        searchField(*archive).setText(QStringLiteral("SPITFIRE"));
        QTest::keyClick(&searchField(*archive), Qt::Key_Return);
        SearchResultsView& results = searchResults(*archive);
        QTRY_COMPARE(results.model()->rowCount(), 1);
        results.selectRow(0);
        emit results.activated(results.model()->index(0, 0));
        auto* editable = qobject_cast<TextEditorWindow*>(archive->viewers().viewerFor(*node(*archive, "plane.con")));

        writeArchive(windows_->temp, "Mods/MyMod/Archives/objects.rfa", {{"bf1942/plane.con", script}});
        ModWindow* mod = windows_->openMod();
        part<QLineEdit>(*mod, "searchField").setText(QStringLiteral("spitfire"));
        part<QCheckBox>(*mod, "searchContents").setChecked(true);
        mod->search();
        auto& found = part<QTreeWidget>(*mod, "searchResults");
        QCOMPARE(found.topLevelItemCount(), 1);
        emit found.itemDoubleClicked(found.topLevelItem(0), 0);
        for (const TextEditorWindow* viewer : {editable, mod->findChild<TextEditorWindow*>()}) {
            QVERIFY(viewer);
            QCOMPARE(selection(*viewer), QStringLiteral("250:37:Spitfire"));
            QTRY_VERIFY(viewer->editor()->viewport()->rect().contains(viewer->editor()->cursorRect()));
        }
        mod->close();
    }

    // The same keys in the archive's editor, whose Find is the menus' own,
    // and in a read-only viewer, which brings its Edit menu.
    void findGoesThroughTheTextAndRoundItsEnds()
    {
        const std::string text = "Tank one\r\nv\xe9hicule TANK\r\ntank";
        MyDocument* archive = windows_->open({{"bf1942/a.con", text}});
        auto* readOnly = new TextEditorWindow(RFATreeNode::initWithData(textBytes(text), "a.con"), "mymod");
        readOnly->setReadOnly();
        readOnly->addFindCommands();
        readOnly->show();
        const QString end = QStringLiteral("Reached the end; found from the start.");
        const struct {
            QKeySequence keys;
            const char* typed; // into the find field, then Return
            QString selected;
            QString said;
        } steps[] = {
            {QKeySequence::Find, "tank", "1:1:Tank", ""},
            {Qt::Key_F3, nullptr, "2:10:TANK", ""},
            {Qt::CTRL | Qt::Key_G, nullptr, "3:1:tank", ""},
            {Qt::Key_F3, nullptr, "1:1:Tank", end},
            {Qt::SHIFT | Qt::Key_F3, nullptr, "3:1:tank", "Reached the start; found from the end."},
            {QKeySequence::Find, "vehicule", "2:1:v\u00e9hicule", end},
            {QKeySequence::Find, "jeep", "2:1:v\u00e9hicule", "Not found."},
        };
        for (TextEditorWindow* viewer : {open<TextEditorWindow>(*archive, "a.con"), readOnly}) {
            QVERIFY(viewer && QTest::qWaitForWindowExposed(viewer));
            QApplication::setActiveWindow(viewer);
            QVERIFY(QTest::qWaitForWindowActive(viewer));
            for (const auto& step : steps) {
                QTest::keySequence(viewer, step.keys);
                if (auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget()); step.typed) {
                    QVERIFY2(field && field->objectName() == QStringLiteral("findField"), step.typed);
                    field->selectAll();
                    QTest::keyClicks(field, QString::fromUtf8(step.typed));
                    QTest::keyClick(field, Qt::Key_Return);
                }
                QCOMPARE(selection(*viewer), step.selected);
                QCOMPARE(viewer->statusBar()->currentMessage(), step.said);
            }
        }
        readOnly->close();
    }

    void aPictureOpensAtItsOwnSizeWhenTheScreenHasRoom()
    {
        const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
        const struct {
            QSize size;
            bool ownSize;
        } pictures[] = {{{screen.width() * 2, screen.height()}, false}, {screen / 2, true}, {{64, 32}, true}};
        for (const auto& picture : pictures) {
            QImage image(picture.size, QImage::Format_ARGB32);
            image.fill(Qt::darkGreen);
            QBuffer png;
            png.open(QIODevice::WriteOnly);
            image.save(&png, "PNG");
            auto* viewer = open<RFAImageViewingController>(*windows_->open({{"bf1942/t.png", png.data().toStdString()}}), "t.png");
            QVERIFY(viewer && QTest::qWaitForWindowExposed(viewer));
            const PictureView& view = viewer->pictureView();
            QCOMPARE(view.scale() == 1.0, picture.ownSize);
            // All of it in sight, nothing to scroll, the window on the screen.
            const auto& area = part<QScrollArea>(*viewer);
            QVERIFY(!area.horizontalScrollBar()->isVisible() && !area.verticalScrollBar()->isVisible());
            QVERIFY(viewer->screen()->availableGeometry().contains(viewer->geometry()));
        }
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::ViewerOpeningTest)
#include "ViewerOpeningTest.moc"
