#include "ArchiveFixture.h"

#include "app/views/ArchiveTreeModel.h"
#include "app/views/EntryIcons.h"

#include <QFileIconProvider>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace larkspan;

namespace {

QImage picture(const QIcon& icon)
{
    return icon.pixmap(kEntryIconSize).toImage();
}

} // namespace

class EntryIconsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void filesTakeTheIconOfTheirExtensionsType_data();
    void filesTakeTheIconOfTheirExtensionsType();
    void foldersTakeTheFolderIcon();
    void resolvesEachExtensionOnce();

private:
    // An icon theme of our own, so that what the type names is visible
    // whatever the machine has installed.
    QTemporaryDir themeDir_;
    QString previousTheme_;
    QStringList previousPaths_;
};

void EntryIconsTest::initTestCase()
{
    QVERIFY(themeDir_.isValid());
    const QString theme = themeDir_.filePath("larkspan-test");
    QVERIFY(QDir().mkpath(theme + "/16x16/mimetypes"));
    QFile index(theme + "/index.theme");
    QVERIFY(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=larkspan-test\nDirectories=16x16/mimetypes\n\n"
                "[16x16/mimetypes]\nSize=16\nContext=MimeTypes\nType=Fixed\n");
    index.close();
    // text-x-readme is what a name "README" matched as a whole would get,
    // image-x-panasonic-rw what the desktop gives a .raw file.
    for (const char* name : {"text-plain", "image-x-generic", "text-x-readme", "text-x-script", "image-x-panasonic-rw"}) {
        QImage image(kEntryIconSize, QImage::Format_ARGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(theme + "/16x16/mimetypes/" + name + ".png"));
    }
    previousPaths_ = QIcon::themeSearchPaths();
    previousTheme_ = QIcon::themeName();
    QIcon::setThemeSearchPaths({themeDir_.path()});
    QIcon::setThemeName("larkspan-test");
}

void EntryIconsTest::cleanupTestCase()
{
    QIcon::setThemeSearchPaths(previousPaths_);
    QIcon::setThemeName(previousTheme_);
}

void EntryIconsTest::filesTakeTheIconOfTheirExtensionsType_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("iconName"); // empty: the generic file icon
    QTest::newRow("type with its own icon") << "readme.txt" << "text-plain";
    QTest::newRow("type with a generic icon") << "menu.png" << "image-x-generic";
    QTest::newRow("script of the game") << "init.con" << "text-x-script";
    QTest::newRow("height map, no camera photo") << "hm.raw" << "image-x-generic";
    QTest::newRow("unknown type") << "tank.dat" << "";
    QTest::newRow("no extension") << "README" << "";
}

void EntryIconsTest::filesTakeTheIconOfTheirExtensionsType()
{
    QFETCH(QString, name);
    QFETCH(QString, iconName);
    const RFATreeNode::Ptr file = RFATreeNode::initWithData(fixtures::textBytes("x"), name.toStdString());
    EntryIcons icons;
    const QIcon icon = icons.iconFor(*file);
    QCOMPARE(icon.name(), iconName);
    if (iconName.isEmpty())
        QCOMPARE(picture(icon), picture(QFileIconProvider().icon(QFileIconProvider::File)));
}

void EntryIconsTest::foldersTakeTheFolderIcon()
{
    fixtures::TestDocument doc{"objects/tank.con", "objects.con"};
    ArchiveTreeModel model;
    model.setArchive(&doc.archive);
    const QIcon folder = model.indexForNode(*doc.node("objects")).data(Qt::DecorationRole).value<QIcon>();
    const QIcon file = model.indexForNode(*doc.node("objects.con")).data(Qt::DecorationRole).value<QIcon>();
    QCOMPARE(picture(folder), picture(QFileIconProvider().icon(QFileIconProvider::Folder)));
    QVERIFY(picture(folder) != picture(file));
}

void EntryIconsTest::resolvesEachExtensionOnce()
{
    EntryIcons icons;
    std::vector<RFATreeNode::Ptr> nodes;
    for (int i = 0; i < 300; ++i) {
        static const char* const names[] = {"a.con", "b.txt", "c", "d.CON"};
        nodes.push_back(RFATreeNode::initWithData(fixtures::textBytes("x"), names[i % 4]));
        nodes.push_back(RFATreeNode::initAsDirectory("folder.con"));
    }
    for (const RFATreeNode::Ptr& node : nodes)
        icons.iconFor(*node);
    // Extensions are told apart exactly, as entry types are.
    QCOMPARE(icons.resolvedExtensionCount(), 4u);
    QCOMPARE(icons.iconForExtension("txt").name(), "text-plain");
}

QTEST_MAIN(EntryIconsTest)
#include "EntryIconsTest.moc"
