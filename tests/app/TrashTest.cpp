// Drags to the trash: recognised by what the trash leaves, however long the
// file manager waits for the user's answer, one batch after another; files
// moved elsewhere, entries moved away meanwhile, and windows closed while
// their files are watched.

#include "AppTestSupport.h"

#include "app/dnd/TrashDetection.h"

#include <QDir>
#include <QPointer>

namespace larkspan {

using namespace fixtures;

namespace {

void writeTrashInfo(const QString& infoFolder, const QString& name, const QByteArray& path)
{
    QDir().mkpath(infoFolder);
    QFile info(infoFolder + QLatin1Char('/') + name + QStringLiteral(".trashinfo"));
    QVERIFY(info.open(QIODevice::WriteOnly));
    info.write("[Trash Info]\nPath=" + path + "\nDeletionDate=2024-01-01T00:00:00\n");
}

// What a file manager does when the file is dropped on the trash.
void moveToTrash(const QString& dataHome, const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    writeTrashInfo(dataHome + QStringLiteral("/Trash/info"), name, QUrl::toPercentEncoding(path, "/"));
    QDir().mkpath(dataHome + QStringLiteral("/Trash/files"));
    QVERIFY(QFile::rename(path, dataHome + QStringLiteral("/Trash/files/") + name));
}

} // namespace

class TrashTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> windows_;
    TemporaryFolder disk_;

    QString dataHome() const { return QString::fromStdString((disk_.path() / "data").string()); }
    QString elsewhere() const { return QString::fromStdString((disk_.path() / "elsewhere").string()); }
    void trash(const QString& path) { moveToTrash(dataHome(), path); }
    void moveElsewhere(const QString& path)
    {
        QDir().mkpath(elsewhere());
        QVERIFY(QFile::rename(path, elsewhere() + QLatin1Char('/') + QFileInfo(path).fileName()));
    }

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", dataHome().toUtf8()); }
    void init() { windows_ = std::make_unique<WindowFixture>(); }
    void cleanup()
    {
        windows_.reset();
        QDir(dataHome()).removeRecursively();
        QDir(elsewhere()).removeRecursively();
    }

    void recognisedByWhatItLeaves_data()
    {
        QTest::addColumn<bool>("toTrash");
        QTest::addColumn<bool>("ontoOurWindow");
        QTest::addColumn<std::string>("expected");
        QTest::newRow("the trash") << true << false << std::string("bf1942{c.con}");
        QTest::newRow("another folder") << false << false << std::string("bf1942{a.con,b.con,c.con}");
        QTest::newRow("one of our windows") << true << true << std::string("bf1942{a.con,b.con,c.con}");
    }
    void recognisedByWhatItLeaves()
    {
        QFETCH(bool, toTrash);
        QFETCH(bool, ontoOurWindow);
        QFETCH(std::string, expected);
        MyDocument* window = windows_->open({{"bf1942/a.con", "a"}, {"bf1942/b.con", "b"}, {"bf1942/c.con", "c"}});
        const std::string before = tree(*window);
        const std::unique_ptr<RFAPasteboardOwner> data = pasteboard(*window, {"a.con", "b.con"});
        QCOMPARE(data->urls().size(), 2);
        for (const QString& path : data->exportedPaths())
            toTrash ? trash(path) : moveElsewhere(path);
        dragAndDrop(*window).dragEnded(ontoOurWindow ? outline(*window).viewport() : nullptr, *data,
                                        DragOrigin::Tree);
        QCOMPARE(tree(*window), expected);
        endUserEvent();
        if (expected != before) {
            QCOMPARE(window->document()->undoHistory()->undoActionName(), "Delete");
            window->document()->undoHistory()->undo();
            QCOMPARE(tree(*window), before);
        }
    }

    void trashedLongAfterTheDropAndOneByOne()
    {
        // The file manager asks for the files once the drag has ended and
        // moves them when the user answers its question, whenever that is;
        // then the user may drag them on one by one.
        MyDocument* window = windows_->open(
            {{"bf1942/a.con", "a"}, {"bf1942/b.con", "b"}, {"bf1942/c.con", "c"}, {"bf1942/d.con", "d"}});
        const std::string before = tree(*window);
        const std::unique_ptr<RFAPasteboardOwner> data = pasteboard(*window, {"a.con", "b.con", "c.con", "d.con"});
        dragAndDrop(*window).dragEnded(nullptr, *data, DragOrigin::Tree);
        QCOMPARE(data->urls().size(), 4);
        const std::vector<QString> files = data->exportedPaths();
        // The question stays open a while: nothing is decided meanwhile.
        QTest::qWait(500);
        QCOMPARE(tree(*window), before);

        trash(files[0]);
        QTRY_COMPARE(tree(*window), "bf1942{b.con,c.con,d.con}");
        endUserEvent();
        moveElsewhere(files[1]);
        trash(files[2]);
        QTRY_COMPARE(tree(*window), "bf1942{b.con,d.con}");
        endUserEvent();
        // Each batch its own step.
        QCOMPARE(window->document()->undoHistory()->undoActionName(), "Delete");
        window->document()->undoHistory()->undo();
        endUserEvent();
        QCOMPARE(tree(*window), "bf1942{b.con,c.con,d.con}");
        window->document()->undoHistory()->undo();
        QCOMPARE(tree(*window), before);

        // Not every file manager writes the trash's record first.
        QVERIFY(QFile::rename(files[3], dataHome() + QStringLiteral("/Trash/files/d.con")));
        QTest::qWait(300);
        writeTrashInfo(dataHome() + QStringLiteral("/Trash/info"), QStringLiteral("d.con"), files[3].toUtf8());
        QTRY_COMPARE(tree(*window), "bf1942{a.con,b.con,c.con}");
    }

    void anEntryMovedToAnotherWindowMeanwhileStaysThere()
    {
        MyDocument* source = windows_->open({{"bf1942/a.con", "a"}, {"bf1942/b.con", "b"}, {"bf1942/c.con", "c"}});
        MyDocument* other = windows_->open({{"bf1942/z.con", "z"}});
        const std::unique_ptr<RFAPasteboardOwner> data = pasteboard(*source, {"a.con", "b.con"});
        dragAndDrop(*source).dragEnded(nullptr, *data, DragOrigin::Tree);
        QCOMPARE(data->urls().size(), 2);
        const std::unique_ptr<RFAPasteboardOwner> moved = pasteboard(*source, {"a.con"});
        QVERIFY(dragAndDrop(*other).acceptDrop(*moved, Qt::MoveAction, node(*other, ""), 0));
        endUserEvent();
        for (const QString& path : data->exportedPaths())
            trash(path);
        QTRY_COMPARE(tree(*source), std::string("bf1942{c.con}"));
        QCOMPARE(tree(*other), std::string("bf1942{a.con,z.con}"));
    }

    void closingTheWindowEndsItsWatch()
    {
        MyDocument* closing = windows_->open({{"bf1942/a.con", "a"}, {"bf1942/b.con", "b"}});
        MyDocument* staying = windows_->open({{"bf1942/c.con", "c"}, {"bf1942/d.con", "d"}});
        const std::shared_ptr<ArchiveDocument> closed = closing->document();
        // One drag's files are asked for before the window closes, one's after.
        const std::unique_ptr<RFAPasteboardOwner> askedBefore = pasteboard(*closing, {"a.con"});
        dragAndDrop(*closing).dragEnded(nullptr, *askedBefore, DragOrigin::Tree);
        const std::unique_ptr<RFAPasteboardOwner> askedAfter = pasteboard(*closing, {"b.con"});
        dragAndDrop(*closing).dragEnded(nullptr, *askedAfter, DragOrigin::Tree);
        QCOMPARE(askedBefore->urls().size(), 1);
        const std::unique_ptr<RFAPasteboardOwner> fromStaying = pasteboard(*staying, {"c.con"});
        dragAndDrop(*staying).dragEnded(nullptr, *fromStaying, DragOrigin::Tree);
        QCOMPARE(fromStaying->urls().size(), 1);

        const QPointer<MyDocument> gone(closing);
        closing->closeWithoutAsking();
        QTRY_VERIFY(!gone);
        QCOMPARE(askedAfter->urls().size(), 1);
        trash(askedBefore->exportedPaths().front());
        trash(askedAfter->exportedPaths().front());
        trash(fromStaying->exportedPaths().front());
        // The open window's watch answers; the closed one's has ended.
        QTRY_COMPARE(tree(*staying), std::string("bf1942{d.con}"));
        QCOMPARE(describe(*closed->archive().root()), std::string("bf1942{a.con,b.con}"));
    }

    void detection()
    {
        // A mount's trash names files relative to the mount's top.
        const QString top = QString::fromStdString((disk_.path() / "mount").string());
        const QString info = top + QStringLiteral("/.Trash-1000/info");
        const QString cache = top + QStringLiteral("/cache/");
        writeTrashInfo(info, QStringLiteral("r\u00e9sum\u00e9 1.con"), "cache/r%C3%A9sum%C3%A9%201.con");
        // The name was taken in the trash: a number was put in.
        writeTrashInfo(info, QStringLiteral("x.2.con"), "cache/x.con");
        const std::vector<TrashFolder> mount{{info, top}};
        const struct {
            QString path;
            bool named;
        } cases[] = {
            {cache + QStringLiteral("r\u00e9sum\u00e9 1.con"), true}, {cache + QStringLiteral("x.con"), true},
            {cache + QStringLiteral("x.con2"), false},             {cache + QStringLiteral("other.con"), false},
            {top + QStringLiteral("/x.con"), false},
        };
        for (const auto& c : cases)
            QVERIFY2(isNamedInTrash(c.path, mount) == c.named, qPrintable(c.path));
        QVERIFY2(!isNamedInTrash(cache + QStringLiteral("x.con"), {{info, {}}}),
                 "a relative path means nothing in the home trash");

        // The home trash names them in full; a link left behind is still there.
        const QString folder = QString::fromStdString(disk_.path().string()) + QStringLiteral("/exported/");
        const std::vector<TrashFolder> home{{dataHome() + QStringLiteral("/Trash/info"), {}}};
        disk_.write("exported/present.con", "p");
        QVERIFY(QFile::link(folder + QStringLiteral("nowhere"), folder + QStringLiteral("link.con")));
        for (const char* name : {"present.con", "trashed.con", "link.con"})
            writeTrashInfo(home[0].infoFolder, QString::fromLatin1(name), (folder + QString::fromLatin1(name)).toUtf8());
        const std::pair<const char*, FileFate> fates[] = {{"present.con", FileFate::Present},
                                                          {"trashed.con", FileFate::Trashed},
                                                          {"moved.con", FileFate::Elsewhere},
                                                          {"link.con", FileFate::Present}};
        for (const auto& [name, fate] : fates)
            QVERIFY2(fateOf(folder + QString::fromLatin1(name), home) == fate, name);
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::TrashTest)
#include "TrashTest.moc"
