// The preview beside a selected entry: what it shows for each kind, in the
// browser's column and in the list's dock, and that the latest selection
// wins over a picture still being decoded.

#include "AppTestSupport.h"

#include "app/shell/Settings.h"
#include "app/viewers/PictureView.h"
#include "app/views/EntryPreview.h"
#include "app/window/PreviewPanes.h"

#include <QDockWidget>
#include <QPlainTextEdit>

namespace larkspan {

using namespace fixtures;
using Shown = EntryPreview::Shown;

namespace {

std::string le32(std::uint32_t v)
{
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}

// Stereo, 22050 Hz, 16 bits, half a second.
std::string halfSecondOfSound()
{
    const std::string format =
        std::string("\x01\x00\x02\x00", 4) + le32(22050) + le32(88200) + std::string("\x04\x00\x10\x00", 4);
    return "RIFF" + le32(4 + 24 + 8 + 44100) + "WAVE" + "fmt " + le32(16) + format + "data" + le32(44100) +
           std::string(44100, '\0');
}

const std::vector<std::pair<std::string, std::string>> kEntries = {
    {"bf1942/sky.raw", std::string(2 * 64 * 64, '\x40')},
    {"bf1942/bad.dds", "DDS not really"},
    {"bf1942/init.con", "line 1\r\nline 2\r\n"},
    {"bf1942/tank.sm", "mesh"},
    {"bf1942/shot.wav", halfSecondOfSound()},
};

} // namespace

class EntryPreviewTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> windows_;

    static void selectCurrent(MyDocument& window, const std::string& path)
    {
        const QModelIndex index = treeModel(window).indexForNode(*node(window, path));
        browser(window).selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        endUserEvent();
    }

private slots:
    void initTestCase() { isolateSettings(); }
    void init()
    {
        QSettings().clear();
        windows_ = std::make_unique<WindowFixture>();
    }
    void cleanup() { windows_.reset(); }

    void showsWhatEachKindHolds_data()
    {
        QTest::addColumn<int>("viewMode");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<Shown>("shown");
        QTest::addColumn<QString>("detail");
        for (const int mode : {0, 1}) {
            const char* in = mode == 0 ? "browser: " : "list: ";
            QTest::newRow(qPrintable(in + QString("picture"))) << mode << "sky.raw" << Shown::Picture << "RAW, 64 × 64";
            QTest::newRow(qPrintable(in + QString("undecodable picture")))
                << mode << "bad.dds" << Shown::Undecodable << "Texture";
            QTest::newRow(qPrintable(in + QString("text"))) << mode << "init.con" << Shown::Text << "Script";
            QTest::newRow(qPrintable(in + QString("other")))
                << mode << "tank.sm" << Shown::Icon << "Stored size: 4 Bytes";
            QTest::newRow(qPrintable(in + QString("sound")))
                << mode << "shot.wav" << Shown::Icon << "Stereo, 22050 Hz, 16 bits, 0.5 seconds";
        }
    }
    void showsWhatEachKindHolds()
    {
        QFETCH(int, viewMode);
        QFETCH(QString, entry);
        QFETCH(Shown, shown);
        QFETCH(QString, detail);
        settings::setShowPreview(true);
        MyDocument* window = windows_->open(kEntries);
        QVERIFY(window);
        viewModeButton(*window, viewMode).click();
        EntryPreview& preview = viewMode == 0 ? window->previews().browserPreview() : window->previews().listPreview();
        QCOMPARE(window->findChild<QDockWidget*>("previewDock")->isVisible(), viewMode == 1);
        selectCurrent(*window, entry.toStdString());
        QVERIFY(preview.entry());
        QCOMPARE(preview.entry()->name(), entry.toStdString());
        QTRY_COMPARE(preview.shown(), shown);
        QVERIFY2(preview.detailsText().contains(detail), qPrintable(preview.detailsText()));
        if (shown == Shown::Text)
            QCOMPARE(preview.findChild<QPlainTextEdit*>("previewText")->toPlainText(), "line 1\nline 2\n");
        if (shown == Shown::Picture)
            QCOMPARE(preview.findChild<PictureView*>("previewPicture")->picture().size(), QSize(64, 64));
    }

    void theLatestSelectionWinsAndNewBytesShowAtOnce()
    {
        MyDocument* window = windows_->open(kEntries);
        QVERIFY(window);
        EntryPreview& preview = window->previews().browserPreview();
        // A picture asked for and left before it is decoded never shows.
        selectCurrent(*window, "bad.dds");
        selectCurrent(*window, "sky.raw");
        selectCurrent(*window, "tank.sm");
        QCOMPARE(preview.shown(), Shown::Icon);
        QTest::qWait(300);
        QCOMPARE(preview.shown(), Shown::Icon);
        QCOMPARE(preview.entry()->name(), "tank.sm");
        // Replaced bytes have no stored size until saved and read again.
        node(*window, "tank.sm")->setData(textBytes("a new mesh"));
        QVERIFY(preview.detailsText().contains("10 bytes"));
        QVERIFY(!preview.detailsText().contains("Stored size"));
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::EntryPreviewTest)
#include "EntryPreviewTest.moc"
