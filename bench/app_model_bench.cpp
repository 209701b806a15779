// How fast a big archive gets on screen: the time from reading the file to
// the first painted window (model, outline and column browser), and the time
// to expand a folder of 10 000 entries in the outline, against the cost of
// opening the archive alone (read + RFAArchive::initWithData), measured in
// the same run.
//
//   bench_app_model [--rounds=N]     (runs offscreen unless QT_QPA_PLATFORM is set)
//
// The archive: 100 folders of 1 000 files and, first in the root, one folder
// of 10 000 files, written by our writer. Round 1 is the first window of the
// process (fonts, style and icons loaded on the way); the later rounds show
// the steady state and are reported as medians.

#include "app/views/ArchiveColumnView.h"
#include "app/views/ArchiveOutlineView.h"
#include "app/views/ArchiveSelection.h"
#include "app/views/ArchiveTreeModel.h"
#include "model/ChangeHub.h"
#include "model/RFAArchive.h"
#include "model/UndoHistory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QListView>
#include <QStyle>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

using namespace larkspan;

namespace {

constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 1000;
constexpr int kBigFolderFiles = 10000;

Bytes makeArchiveFile()
{
    RFAArchive archive;
    const RFATreeNode::Ptr root = archive.root();
    const auto addFolder = [&](const std::string& name, int files) {
        const RFATreeNode::Ptr folder = RFATreeNode::initAsDirectory(name, root);
        root->appendChild(folder);
        for (int i = 0; i < files; ++i) {
            const std::string file = "entry" + std::to_string(i) + (i % 3 ? ".con" : ".dds");
            folder->appendChild(RFATreeNode::initWithData(makeSharedBytes(Bytes(100 + i % 900, 'x')), file, folder));
        }
    };
    addFolder("big", kBigFolderFiles);
    for (int f = 0; f < kFolders; ++f)
        addFolder("folder" + std::to_string(f), kFilesPerFolder);
    return archive.completeFileData().value();
}

Bytes readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Records which widgets have painted since the last reset.
class PaintWatch : public QObject {
public:
    std::set<QObject*> painted;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted.insert(watched);
        return false;
    }
    // Runs the event loop until `done` holds.
    template <typename Done>
    void waitFor(Done done)
    {
        while (!done())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
};

struct Round {
    double openMs = 0;       // anchor: read the file and build the trees
    double firstPaintMs = 0; // read the file … both views painted
    double expandMs = 0;     // expand the 10 000-entry folder in the outline and paint
    double browseMs = 0;     // open the same folder in a browser column and paint (after the scroll animation)
};

double millis(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

Round measure(const std::string& path, PaintWatch& watch)
{
    Round round;
    QElapsedTimer timer;

    timer.start();
    {
        const Bytes bytes = readFile(path);
        const std::unique_ptr<RFAArchive> archive = RFAArchive::initWithData(bytes).value_or(nullptr);
        round.openMs = millis(timer);
        if (!archive)
            std::abort();
    }

    watch.painted.clear();
    timer.start();
    const Bytes bytes = readFile(path);
    const std::unique_ptr<RFAArchive> archive = RFAArchive::initWithData(bytes).value_or(nullptr);
    // What the document does before its window shows the trees.
    const auto hub = std::make_shared<ChangeHub>();
    const auto history = std::make_shared<UndoHistory>();
    for (const RFATreeNode::Ptr& top : archive->rootNodes()) {
        top->setChangeHub(hub);
        top->setUndoManager(history);
    }
    ArchiveTreeModel model;
    model.setArchive(archive.get());
    QWidget window;
    auto* browser = new ArchiveColumnView;
    auto* outline = new ArchiveOutlineView;
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(browser);
    layout->addWidget(outline);
    QItemSelectionModel* selection = showInViews(model, *browser, *outline);
    const QModelIndex root = model.index(0, 0);
    selection->setCurrentIndex(root, QItemSelectionModel::ClearAndSelect);
    outline->expand(root);
    window.resize(1200, 700);
    window.show();
    const auto browserColumnPainted = [&] {
        for (QListView* column : browser->findChildren<QListView*>())
            if (column->rootIndex() == root && watch.painted.contains(column->viewport()))
                return true;
        return false;
    };
    watch.waitFor([&] { return watch.painted.contains(outline->viewport()) && browserColumnPainted(); });
    round.firstPaintMs = millis(timer);

    const QModelIndex big = model.index(0, 0, root);
    watch.painted.clear();
    timer.start();
    outline->expand(big);
    watch.waitFor([&] { return watch.painted.contains(outline->viewport()); });
    round.expandMs = millis(timer);

    watch.painted.clear();
    timer.start();
    selection->setCurrentIndex(big, QItemSelectionModel::ClearAndSelect);
    watch.waitFor([&] {
        for (QListView* column : browser->findChildren<QListView*>())
            if (column->rootIndex() == big && watch.painted.contains(column->viewport()))
                return true;
        return false;
    });
    round.browseMs = millis(timer);
    return round;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void print(const char* label, double open, double firstPaint, double expand, double browse)
{
    std::printf("%s\n  open (anchor)            %7.1f ms\n"
                "  first paint              %7.1f ms  %5.2f× open  goal ≤ 1500 ms: %s\n"
                "  expand 10 000 + paint    %7.1f ms  %5.2f× open  goal ≤ 100 ms: %s\n"
                "  browse into it + paint   %7.1f ms  %5.2f× open\n",
                label, open, firstPaint, firstPaint / open, firstPaint <= 1500 ? "met" : "MISSED", expand,
                expand / open, expand <= 100 ? "met" : "MISSED", browse, browse / open);
}

} // namespace

int main(int argc, char** argv)
{
    int rounds = 5;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--rounds=", 9) == 0)
            rounds = std::max(2, std::atoi(argv[i] + 9));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PaintWatch watch;
    app.installEventFilter(&watch);

    QTemporaryDir dir;
    const std::string path = dir.filePath("big.rfa").toStdString();
    {
        const Bytes file = makeArchiveFile();
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                    static_cast<std::streamsize>(file.size()));
        std::printf("archive: %d entries, %.1f MB; platform %s; browser scroll animation %d ms\n",
                    kFolders * kFilesPerFolder + kBigFolderFiles, static_cast<double>(file.size()) / 1e6,
                    qPrintable(QGuiApplication::platformName()),
                    app.style()->styleHint(QStyle::SH_Widget_Animation_Duration));
    }

    std::vector<Round> all;
    for (int r = 0; r < rounds; ++r)
        all.push_back(measure(path, watch));
    const Round& cold = all.front();
    print("round 1 (first window)", cold.openMs, cold.firstPaintMs, cold.expandMs, cold.browseMs);
    std::vector<double> open, firstPaint, expand, browse;
    for (std::size_t r = 1; r < all.size(); ++r) {
        open.push_back(all[r].openMs);
        firstPaint.push_back(all[r].firstPaintMs);
        expand.push_back(all[r].expandMs);
        browse.push_back(all[r].browseMs);
    }
    const std::string label = "median of rounds 2.." + std::to_string(rounds);
    print(label.c_str(), median(open), median(firstPaint), median(expand), median(browse));
    return 0;
}
