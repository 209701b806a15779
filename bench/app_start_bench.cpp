// How long the editor takes from its start to the first painted window of
// a big archive, against its start with a tiny archive (Qt, fonts, style,
// the window itself) in the same run. Each start is a fresh process that
// prints a line when the window has painted and quits
// (LARKSPAN_QUIT_AFTER_FIRST_PAINT); the time runs from the spawn to that
// line. Settings go to a temporary folder, not the user's.
//
//   bench_app_start --archive=BIG.rfa [--rounds=N]   (offscreen unless QT_QPA_PLATFORM is set)

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr double kGoalSeconds = 0.5;

// Seconds from the spawn to the "painted" line; negative when it never came.
double secondsToFirstPaint(const QString& archive, const QProcessEnvironment& environment)
{
    QProcess editor;
    editor.setProcessEnvironment(environment);
    editor.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    editor.start(QStringLiteral(LARKSPAN_APP), {archive});
    while (editor.waitForReadyRead(30000)) {
        if (editor.readAll().contains("painted")) {
            const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
            editor.waitForFinished(30000);
            return seconds;
        }
    }
    editor.kill();
    editor.waitForFinished();
    return -1;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QString archive;
    int rounds = 7;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--archive=", 10) == 0)
            archive = QString::fromLocal8Bit(argv[i] + 10);
        else if (std::strncmp(argv[i], "--rounds=", 9) == 0)
            rounds = std::max(1, std::atoi(argv[i] + 9));
    }
    if (archive.isEmpty()) {
        std::fprintf(stderr, "usage: bench_app_start --archive=BIG.rfa [--rounds=N]\n");
        return 2;
    }
    QTemporaryDir settings;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LARKSPAN_QUIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), settings.path());
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    // Alternating, so that a busy machine slows both alike.
    std::vector<double> big, tiny;
    for (int round = 0; round < rounds; ++round) {
        tiny.push_back(secondsToFirstPaint(QStringLiteral(LARKSPAN_TINY_ARCHIVE), environment));
        big.push_back(secondsToFirstPaint(archive, environment));
        if (tiny.back() < 0 || big.back() < 0) {
            std::fprintf(stderr, "the editor painted no window\n");
            return 1;
        }
    }
    const double bigSeconds = median(big), tinySeconds = median(tiny);
    std::printf("bench_app_start: start to first painted window (median of %d rounds; spread %.0f-%.0f ms)\n",
                rounds, *std::min_element(big.begin(), big.end()) * 1e3,
                *std::max_element(big.begin(), big.end()) * 1e3);
    std::printf("  %s: %.0f ms (goal <= %.0f ms: %s)\n", archive.toLocal8Bit().constData(), bigSeconds * 1e3,
                kGoalSeconds * 1e3, bigSeconds <= kGoalSeconds ? "met" : "NOT met");
    std::printf("    anchor: the tiny demo archive %.0f ms; ratio %.2f, the big archive's own share %.0f ms\n",
                tinySeconds * 1e3, bigSeconds / tinySeconds, (bigSeconds - tinySeconds) * 1e3);
    return 0;
}
