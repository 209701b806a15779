// Add Files… through the dialog the user sees: several files and folders
// chosen in its lists at once.

#include "AppTestSupport.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QListView>
#include <QPushButton>

namespace larkspan {

using namespace fixtures;
using Command = RFAApplicationDelegate::Command;

class AddFilesDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> windows_;

    // The window's Add Files… chooser, opened from the menu with the root selected.
    QFileDialog* openChooser(MyDocument& window)
    {
        QApplication::setActiveWindow(&window);
        selectInTree(window, {""});
        windows_->app->action(Command::AddFiles)->trigger();
        QFileDialog* chooser = waitForDialog<QFileDialog>(window);
        if (chooser)
            chooser->setDirectory(QString::fromStdString((windows_->temp.path() / "pick").string()));
        return chooser;
    }

    static void clickRow(QListView& list, const QString& name, Qt::KeyboardModifiers modifiers)
    {
        const QModelIndex row = list.model()->match(list.model()->index(0, 0, list.rootIndex()), Qt::DisplayRole, name,
                                                    1, Qt::MatchExactly)
                                    .value(0);
        QVERIFY2(row.isValid(), qPrintable(name));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers, list.visualRect(row).center());
    }

private slots:
    void initTestCase() { isolateSettings(); }
    void init()
    {
        windows_ = std::make_unique<WindowFixture>();
        windows_->temp.write("pick/one.con", "1");
        windows_->temp.write("pick/two.con", "2");
        windows_->temp.write("pick/maps/m.con", "m");
    }
    void cleanup() { windows_.reset(); }

    void filesAndFoldersChosenTogether()
    {
        MyDocument* window = windows_->open({{"bf1942/a.con", "a"}});
        QFileDialog* chooser = openChooser(*window);
        QVERIFY(chooser);
        auto& list = part<QListView>(*chooser, "listView");
        QTRY_COMPARE(list.model()->rowCount(list.rootIndex()), 3);
        clickRow(list, QStringLiteral("one.con"), Qt::NoModifier);
        clickRow(list, QStringLiteral("maps"), Qt::ControlModifier);
        QPushButton* add = part<QDialogButtonBox>(*chooser, "buttonBox").button(QDialogButtonBox::Open);
        QCOMPARE(add->text(), QStringLiteral("Add"));
        QVERIFY(add->isEnabled());
        QTest::mouseClick(add, Qt::LeftButton);
        QTRY_VERIFY(node(*window, "maps/m.con"));
        QVERIFY(node(*window, "one.con"));
        QVERIFY(!node(*window, "two.con"));
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::AddFilesDialogTest)
#include "AddFilesDialogTest.moc"
