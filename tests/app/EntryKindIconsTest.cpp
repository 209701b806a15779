// Without an icon theme, each kind of entry still has an icon of its own.

#include "ArchiveFixture.h"

#include "app/views/EntryIcons.h"

#include <QFileIconProvider>
#include <QTemporaryDir>
#include <QTest>

using namespace larkspan;

namespace {

QImage picture(const QIcon& icon)
{
    return icon.pixmap(kEntryIconSize).toImage();
}

} // namespace

class EntryKindIconsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // No theme anywhere: not even the desktop's fallback one.
        QVERIFY(noThemes_.isValid());
        QIcon::setThemeSearchPaths({noThemes_.path()});
        QIcon::setThemeName(QStringLiteral("none"));
    }

    void eachKindHasItsOwnIcon_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("drawn"); // empty: the style's plain file
        QTest::newRow("script") << "tank.con" << "script";
        QTest::newRow("text") << "readme.txt" << "text";
        QTest::newRow("texture") << "detail.dds" << "texture";
        QTest::newRow("picture") << "menu.tga" << "picture";
        QTest::newRow("height map") << "terrain.raw" << "heightmap";
        QTest::newRow("sound") << "boom.wav" << "sound";
        QTest::newRow("mesh") << "tank.sm" << "mesh";
        QTest::newRow("other") << "data.dat" << "";
    }
    void eachKindHasItsOwnIcon()
    {
        QFETCH(QString, name);
        QFETCH(QString, drawn);
        const RFATreeNode::Ptr file = RFATreeNode::initWithData(fixtures::textBytes("x"), name.toStdString());
        EntryIcons icons;
        const QImage shown = picture(icons.iconFor(*file));
        const QIcon expected = drawn.isEmpty() ? QFileIconProvider().icon(QFileIconProvider::File)
                                               : QIcon(QStringLiteral(":/entry-icons/%1-16.png").arg(drawn));
        QVERIFY(!expected.isNull());
        QCOMPARE(shown, picture(expected));
        // Not the plain page every file had.
        QVERIFY(drawn.isEmpty() || shown != picture(QFileIconProvider().icon(QFileIconProvider::File)));
    }

private:
    QTemporaryDir noThemes_;
};

QTEST_MAIN(EntryKindIconsTest)
#include "EntryKindIconsTest.moc"
