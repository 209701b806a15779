// The hex viewer: addressing at the edges, find across rows, copying, and
// its place among a document's viewer windows.

#include "AppTestSupport.h"

#include "app/viewers/HexView.h"
#include "app/viewers/HexViewerWindow.h"
#include "app/window/ViewerWindows.h"

#include <QClipboard>
#include <QScrollBar>
#include <QStatusBar>

namespace larkspan {

using namespace fixtures;

namespace {

constexpr qint64 kBig = 50 * 1024 * 1024;

RFATreeNode::Ptr entryOf(qint64 size, const std::vector<std::pair<qint64, std::string>>& marks = {})
{
    Bytes bytes(static_cast<std::size_t>(size), 0x11);
    for (const auto& [at, text] : marks)
        std::copy(text.begin(), text.end(), bytes.begin() + at);
    return RFATreeNode::initWithData(makeSharedBytes(std::move(bytes)), "big.dat");
}

bool cursorRowShown(const HexView& view)
{
    const qint64 row = view.selectionStart() / HexView::kBytesPerRow;
    return row >= view.firstVisibleRow() && row < view.firstVisibleRow() + view.visibleRowCount();
}

} // namespace

class HexViewTest : public QObject {
    Q_OBJECT

private slots:
    void addressingAtTheEdges_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<qint64>("rows");
        QTest::addColumn<QString>("offset");
        QTest::addColumn<bool>("reached");
        QTest::newRow("empty: no byte 0") << qint64(0) << qint64(0) << "0" << false;
        QTest::newRow("one byte: offset 0") << qint64(1) << qint64(1) << "0x0" << true;
        QTest::newRow("full row: last byte") << qint64(16) << qint64(1) << "f" << true;
        QTest::newRow("one past a row: last byte") << qint64(17) << qint64(2) << "10" << true;
        QTest::newRow("one past the end") << qint64(17) << qint64(2) << "11" << false;
        QTest::newRow("50 MB: last byte") << kBig << kBig / 16 << "0x31FFFFF" << true;
        QTest::newRow("50 MB: past the end") << kBig << kBig / 16 << "3200000" << false;
        QTest::newRow("not a number") << qint64(17) << qint64(2) << "1g" << false;
    }
    void addressingAtTheEdges()
    {
        QFETCH(qint64, size);
        QFETCH(qint64, rows);
        QFETCH(QString, offset);
        QFETCH(bool, reached);
        HexViewerWindow window(entryOf(size), QStringLiteral("a.rfa"));
        window.show();
        HexView& view = window.view();
        QCOMPARE(view.rowCount(), rows);
        QCOMPARE(window.goTo(offset), reached);
        const qint64 expected = reached ? offset.toLongLong(nullptr, 16) : 0;
        QCOMPARE(view.selectionStart(), expected);
        QCOMPARE(view.selectionLength(), size == 0 ? 0 : 1);
        QVERIFY(cursorRowShown(view));
        QCOMPARE(view.verticalScrollBar()->maximum(), std::max<qint64>(0, rows - view.visibleRowCount()));
    }

    void findGoesAcrossRowsAndRoundTheEnd_data()
    {
        QTest::addColumn<QString>("needle");
        QTest::addColumn<bool>("asHex");
        QTest::addColumn<QString>("startAt");
        QTest::addColumn<qint64>("found");      // -1: not found
        const qint64 rowEnd = kBig - 16 * 1000; // a row boundary near the end
        QTest::newRow("hex across a row") << "de ad BE EF" << true << "0" << rowEnd - 2;
        QTest::newRow("text across a row") << "Larkspan" << false << "0" << qint64(16 * 5 - 3);
        QTest::newRow("round the end") << "Larkspan" << false << "0x31FFFF0" << qint64(16 * 5 - 3);
        QTest::newRow("at offset 0") << "4d 5a" << true << "0" << qint64(0);
        QTest::newRow("last bytes") << "7a7a" << true << "0" << kBig - 2;
        QTest::newRow("absent") << "de ad de ad" << true << "0" << qint64(-1);
        QTest::newRow("odd digits") << "dea" << true << "0" << qint64(-1);
        QTest::newRow("beyond Latin-1") << QString::fromUtf8("\u20ac") << false << "0" << qint64(-1);
    }
    void findGoesAcrossRowsAndRoundTheEnd()
    {
        QFETCH(QString, needle);
        QFETCH(bool, asHex);
        QFETCH(QString, startAt);
        QFETCH(qint64, found);
        static const RFATreeNode::Ptr big = entryOf(
            kBig, {{0, "MZ"}, {16 * 5 - 3, "Larkspan"}, {kBig - 16 * 1000 - 2, "\xde\xad\xbe\xef"}, {kBig - 2, "zz"}});
        HexViewerWindow window(big, QStringLiteral("a.rfa"));
        window.show();
        QVERIFY(window.goTo(startAt));
        QCOMPARE(window.findNext(needle, asHex), found >= 0);
        if (found < 0)
            return;
        HexView& view = window.view();
        QCOMPARE(view.selectionStart(), found);
        QVERIFY(cursorRowShown(view));
        // Only a search that went round says so.
        QCOMPARE(window.statusBar()->currentMessage().isEmpty(), found >= startAt.toLongLong(nullptr, 16));
        const qint64 length = view.selectionLength();
        // Once more: the only match is found again, not the one selected skipped for nothing.
        QVERIFY(window.findNext(needle, asHex));
        QCOMPARE(view.selectionStart(), found);
        QCOMPARE(view.selectionLength(), length);
        QVERIFY(!window.statusBar()->currentMessage().isEmpty());
    }

    void copiesTheSelectionAsHexAndAsText()
    {
        const RFATreeNode::Ptr entry = RFATreeNode::initWithData(textBytes("ab\xe9\r\n\x01z"), "x.dat");
        const auto hub = std::make_shared<ChangeHub>();
        entry->setChangeHub(hub);
        HexViewerWindow window(entry, QStringLiteral("a.rfa"));
        window.view().select(1, 5);
        window.view().copyAsHex();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("62 E9 0D 0A 01"));
        window.view().copyAsText();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("b\u00e9\r\n\x01"));
        // New bytes, shorter: the selection shrinks to what is there.
        entry->setData(textBytes("q"));
        QCOMPARE(window.view().selectionStart(), 0);
        QCOMPARE(window.view().selectionAsText(), QStringLiteral("q"));
    }

    void otherEntriesOpenInOneHexWindowEach()
    {
        WindowFixture windows;
        MyDocument* document = windows.open({{"bf1942/tank.sm", "mesh"}, {"bf1942/a/", ""}});
        document->viewers().openEntries({node(*document, "tank.sm"), node(*document, "a")});
        auto* hex = qobject_cast<HexViewerWindow*>(document->viewers().viewerFor(*node(*document, "tank.sm")));
        QVERIFY(hex);
        QVERIFY(!document->viewers().viewerFor(*node(*document, "a")));
        QCOMPARE(hex->view().selectionAsText(), QStringLiteral("m"));
        document->viewers().openEntries({node(*document, "tank.sm")});
        QCOMPARE(document->viewers().viewerFor(*node(*document, "tank.sm")), hex);
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::HexViewTest)
#include "HexViewTest.moc"
