// Typing into the search field of a window on a 100 MB archive with
// contents search on: how long each keystroke keeps the window busy (goal:
// under 50 ms) and how soon after the last keystroke the results show
// (goal: 0.3 s at most), against the anchor of one whole search run on the
// main thread, as every keystroke cost before the search moved off it,
// measured in the same run.
//
//   bench_app_search_typing [--rounds=N]   (offscreen unless QT_QPA_PLATFORM is set)
//
// The archive: 8 000 scripts of 8 KB (64 MB of text, a few holding the
// typed word) and 400 pictures of 90 KB, written by our writer. Keys come
// 80 ms apart, a fast typist's pace.

#include "app/shell/RFAApplicationDelegate.h"
#include "app/shell/Settings.h"
#include "app/window/BackgroundSearch.h"
#include "app/window/MyDocument.h"
#include "model/RFAArchive.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>

using namespace larkspan;

namespace {

const QString kTyped = QStringLiteral("vehicleTemplate");

Bytes makeArchiveFile()
{
    static const char* const words[] = {"ObjectTemplate.create", "rem", "run", "include", "Weapon", "setPosition",
                                        "0/1.5/3",        "Bundle", "Soldier", "activeSafe", "addTemplate", "Tank",
                                        "vehicle",        "template", "\r\n"};
    std::mt19937 random(1942);
    RFAArchive archive;
    const RFATreeNode::Ptr root = archive.root();
    for (int folder = 0; folder < 80; ++folder) {
        const RFATreeNode::Ptr scripts = RFATreeNode::initAsDirectory("objects" + std::to_string(folder), root);
        root->appendChild(scripts);
        for (int file = 0; file < 100; ++file) {
            std::string text;
            while (text.size() < 8 * 1024)
                text += std::string(words[random() % std::size(words)]) + ' ';
            if ((folder * 100 + file) % 997 == 0)
                text += "vehicleTemplate";
            scripts->appendChild(RFATreeNode::initWithData(makeSharedBytes(Bytes(text.begin(), text.end())),
                                                           "script" + std::to_string(file) + ".con", scripts));
        }
    }
    const RFATreeNode::Ptr textures = RFATreeNode::initAsDirectory("textures", root);
    root->appendChild(textures);
    for (int file = 0; file < 400; ++file)
        textures->appendChild(RFATreeNode::initWithData(makeSharedBytes(Bytes(90 * 1024, std::uint8_t(file))),
                                                        "texture" + std::to_string(file) + ".dds", textures));
    return archive.completeFileData().value();
}

double millis(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// The event loop as the window runs it: asleep until something happens
// (a busy loop would take the worker's core on a small machine).
void runEventsFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Round {
    std::vector<double> keystrokeMs;
    double resultsMs = 0;
    int found = 0;
};

Round typeOnce(MyDocument& window)
{
    auto& field = *window.findChild<QLineEdit*>(QStringLiteral("searchField"));
    auto& search = *window.findChild<BackgroundSearch*>();
    QEventLoop untilShown;
    const QMetaObject::Connection watch =
        QObject::connect(&search, &BackgroundSearch::resultsShown, &untilShown, &QEventLoop::quit);
    Round round;
    QElapsedTimer timer;
    for (QChar c : kTyped) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        timer.start();
        QApplication::sendEvent(&field, &press);
        QApplication::sendEvent(&field, &release);
        QCoreApplication::processEvents();
        round.keystrokeMs.push_back(millis(timer));
        if (c != kTyped.back())
            runEventsFor(80);
    }
    timer.start();
    untilShown.exec();
    round.resultsMs = millis(timer);
    QObject::disconnect(watch);
    round.found = static_cast<int>(window.document()->foundEntries().nodes().size());
    field.clear();
    window.document()->browse().cancelSearch();
    return round;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    int rounds = 5;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--rounds=", 9) == 0)
            rounds = std::max(1, std::atoi(argv[i] + 9));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("LarkspanBench"));
    QCoreApplication::setApplicationName(QStringLiteral("bench_app_search_typing"));
    QSettings().clear();
    settings::setSearchFilenames(true);
    settings::setSearchFileContents(true);

    QTemporaryDir dir;
    const std::string path = dir.filePath("typing.rfa").toStdString();
    {
        const Bytes bytes = makeArchiveFile();
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        std::printf("bench_app_search_typing: %.1f MB archive, %d keys typed %d ms apart, pause before searching %d ms\n",
                    static_cast<double>(bytes.size()) / 1e6, static_cast<int>(kTyped.size()), 80,
                    BackgroundSearch::kTypingPauseMs);
    }
    RFAApplicationDelegate delegate;
    MyDocument* window = delegate.openFile(QString::fromStdString(path));
    if (!window)
        return 1;
    window->show();
    runEventsFor(200);

    // The anchor: one whole search on the main thread, as each key cost before.
    std::vector<double> anchors;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        window->document()->browse().search(kTyped.toStdString());
        anchors.push_back(millis(timer));
        window->document()->browse().cancelSearch();
    }

    std::vector<double> keys, worstKeys, results;
    int found = 0;
    for (int i = 0; i < rounds; ++i) {
        const Round round = typeOnce(*window);
        keys.insert(keys.end(), round.keystrokeMs.begin(), round.keystrokeMs.end());
        worstKeys.push_back(*std::max_element(round.keystrokeMs.begin(), round.keystrokeMs.end()));
        results.push_back(round.resultsMs);
        found = round.found;
    }
    const double anchor = median(anchors), key = median(keys), worst = median(worstKeys), after = median(results);
    std::printf("(medians of %d rounds; %d entries found)\n", rounds, found);
    std::printf("  one search on the main thread (anchor)   %7.1f ms\n", anchor);
    std::printf("  a keystroke, median                      %7.1f ms  %5.2f× anchor\n", key, key / anchor);
    std::printf("  a keystroke, slowest of a round          %7.1f ms  %5.2f× anchor  goal < 50 ms: %s\n", worst,
                worst / anchor, worst < 50 ? "met" : "MISSED");
    std::printf("  results after the last keystroke         %7.1f ms  %5.2f× anchor  goal <= 300 ms: %s\n", after,
                after / anchor, after <= 300 ? "met" : "MISSED");
    delete window;
    return 0;
}
