// Cut entries look cut until the cut is pasted or abandoned; the clipboard
// tells file managers a Cut from a Copy.

#include "AppTestSupport.h"

#include "app/dnd/RFAPasteboardOwner.h"

#include <QClipboard>
#include <QMimeData>

namespace larkspan {

using namespace fixtures;

class CutAndClipboardTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> windows_;

    MyDocument* openAndCut()
    {
        MyDocument* window = windows_->open({{"bf1942/a.con", "a"}, {"bf1942/b.con", "b"}, {"bf1942/sub/c.con", "c"}});
        if (!window)
            return nullptr;
        selectInTree(*window, {"a.con"});
        window->cut();
        return window;
    }
    static bool looksCut(MyDocument& window, const std::string& path)
    {
        return treeModel(window).indexForNode(*node(window, path)).data(Qt::ForegroundRole).isValid();
    }

private slots:
    void initTestCase() { isolateSettings(); }
    void init() { windows_ = std::make_unique<WindowFixture>(); }
    void cleanup() { windows_.reset(); }

    void cutEntriesLookCutUntil_data()
    {
        QTest::addColumn<QString>("until");
        QTest::addColumn<QString>("whereAfter");
        QTest::newRow("pasted") << "paste" << "sub/a.con";
        QTest::newRow("copy replaces the cut") << "copy" << "a.con";
        QTest::newRow("another program's copy") << "elsewhere" << "a.con";
        QTest::newRow("escape") << "escape" << "a.con";
    }
    void cutEntriesLookCutUntil()
    {
        QFETCH(QString, until);
        QFETCH(QString, whereAfter);
        MyDocument* window = openAndCut();
        QVERIFY(window);
        QVERIFY(looksCut(*window, "a.con"));
        QVERIFY(!looksCut(*window, "b.con"));
        if (until == "paste") {
            selectInTree(*window, {"sub"});
            window->paste();
        } else if (until == "copy") {
            window->copy();
        } else if (until == "elsewhere") {
            QApplication::clipboard()->setText(QStringLiteral("other"));
        } else {
            outline(*window).setFocus();
            QTest::keyClick(&outline(*window), Qt::Key_Escape);
            const QMimeData* data = QApplication::clipboard()->mimeData();
            QVERIFY(!data || !data->hasFormat(QString::fromLatin1(RFAPasteboardType)));
        }
        QVERIFY(node(*window, whereAfter.toStdString()));
        QVERIFY(!looksCut(*window, whereAfter.toStdString()));
    }

    void fileManagersReadCutOrCopy_data()
    {
        QTest::addColumn<bool>("cut");
        QTest::addColumn<QByteArray>("gnomeVerb");
        QTest::addColumn<QByteArray>("kdeCut");
        QTest::newRow("cut") << true << QByteArray("cut") << QByteArray("1");
        QTest::newRow("copy") << false << QByteArray("copy") << QByteArray();
    }
    void fileManagersReadCutOrCopy()
    {
        QFETCH(bool, cut);
        QFETCH(QByteArray, gnomeVerb);
        QFETCH(QByteArray, kdeCut);
        MyDocument* window = windows_->open({{"bf1942/a.con", "a"}, {"bf1942/b.con", "b"}});
        QVERIFY(window);
        selectInTree(*window, {"a.con", "b.con"});
        cut ? window->cut() : window->copy();
        const QMimeData& data = *QApplication::clipboard()->mimeData();
        const QList<QByteArray> lines = data.data(QStringLiteral("x-special/gnome-copied-files")).split('\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], gnomeVerb);
        QCOMPARE(QUrl(QString::fromLatin1(lines[2])).fileName(), QStringLiteral("b.con"));
        QVERIFY(QFileInfo::exists(QUrl(QString::fromLatin1(lines[1])).toLocalFile()));
        QCOMPARE(data.hasFormat(QStringLiteral("application/x-kde-cutselection")), cut);
        QCOMPARE(data.data(QStringLiteral("application/x-kde-cutselection")), kdeCut);
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::CutAndClipboardTest)
#include "CutAndClipboardTest.moc"
