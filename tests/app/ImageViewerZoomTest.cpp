// The image viewer opens a small picture at a usable size and zooms it.

#include "ArchiveFixture.h"

#include "app/viewers/PictureView.h"
#include "app/viewers/QtImages.h"
#include "app/viewers/RFAImageViewingController.h"

#include <QTest>

using namespace larkspan;

class ImageViewerZoomTest : public QObject {
    Q_OBJECT

private slots:
    void zoomsByKeys_data();
    void zoomsByKeys();
};

void ImageViewerZoomTest::zoomsByKeys_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<double>("scale"); // 0: fitted, larger than the picture
    QTest::newRow("opened") << QStringList{} << 0.0;
    QTest::newRow("actual size") << QStringList{"Ctrl+0"} << 1.0;
    QTest::newRow("zoom in") << QStringList{"Ctrl+0", "Ctrl++"} << 1.5;
    QTest::newRow("zoom in twice") << QStringList{"Ctrl+0", "Ctrl++", "Ctrl++"} << 2.0;
    QTest::newRow("zoom out") << QStringList{"Ctrl+0", "Ctrl+-"} << 2.0 / 3;
    QTest::newRow("fit again") << QStringList{"Ctrl+0", "Ctrl++", "Ctrl+9"} << 0.0;
}

void ImageViewerZoomTest::zoomsByKeys()
{
    QFETCH(QStringList, keys);
    QFETCH(double, scale);
    // 256 bytes: a 16 × 16 height map.
    const RFATreeNode::Ptr entry = RFATreeNode::initWithData(makeSharedBytes(Bytes(256, 0x80)), "hm.raw");
    RFAImageViewingController window(entry, imageDecodersWithQt(), "levels.rfa");
    window.addZoomCommands();
    window.sizeToPicture();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.width() >= std::max(320, window.menuBar().sizeHint().width()));
    for (const QString& key : keys)
        QTest::keySequence(&window, QKeySequence(key));
    const PictureView& view = window.pictureView();
    if (scale == 0) {
        QVERIFY(view.fitsView());
        QVERIFY(view.scale() > 4);
    } else {
        QVERIFY(!view.fitsView());
        QCOMPARE(view.scale(), scale);
    }
    QCOMPARE(view.pictureRect().width(), qRound(16 * view.scale()));
}

QTEST_MAIN(ImageViewerZoomTest)
#include "ImageViewerZoomTest.moc"
