// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: from launching a program to its first frame on the display, and its peak RSS by
// then, for the game against the bare window, launched in turn so that both see the same load.
// Usage: bench_startup [launches of each]
#include "BenchReport.h"

#include <QCoreApplication>
#include <QProcess>

#include <optional>

namespace {

struct Launch {
    double firstFrameMs = 0;
    double peakRssMb = 0;
};

QProcessEnvironment probedEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(PROBE_PLUGIN_PATH));
    environment.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("korimofirstframe"));
    return environment;
}

std::optional<Launch> launch(const QString& program)
{
    QProcess process;
    process.setProcessEnvironment(probedEnvironment());
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const auto started = std::chrono::steady_clock::now().time_since_epoch();
    process.start(program, {});
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    const QList<QByteArray> report = process.readAllStandardOutput().trimmed().split(' ');
    if (report.size() != 2)
        return std::nullopt;
    const std::chrono::nanoseconds firstFrame(report[0].toLongLong());
    return Launch{toMs(firstFrame - started), report[1].toDouble() / 1024};
}

struct Samples {
    std::vector<double> firstFrameMs;
    std::vector<double> peakRssMb;

    void add(const QString& program)
    {
        const std::optional<Launch> result = launch(program);
        if (!result)
            qFatal("%s did not report its first frame", qPrintable(program));
        firstFrameMs.push_back(result->firstFrameMs);
        peakRssMb.push_back(result->peakRssMb);
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int launches = argc > 1 ? QByteArray(argv[1]).toInt() : 30;
    const QString game = QStringLiteral(KORIMO_APP);
    const QString bare = QStringLiteral(BARE_WINDOW_APP);
    Samples warmUp; // fills the caches (fonts, libraries) that every later launch finds warm
    warmUp.add(game);
    warmUp.add(bare);
    Samples korimo;
    Samples baseline;
    for (int i = 0; i < launches; ++i) {
        korimo.add(game);
        baseline.add(bare);
    }
    const double korimoStart = median(korimo.firstFrameMs);
    const double bareStart = median(baseline.firstFrameMs);
    const double korimoRss = median(korimo.peakRssMb);
    const double bareRss = median(baseline.peakRssMb);
    printRow(QStringLiteral("Start-up, launch to first frame (median of %1)").arg(launches),
        fixed(korimoStart, 1) + QStringLiteral(" ms"), fixed(bareStart, 1) + QStringLiteral(" ms"),
        ratio(korimoStart, bareStart));
    printRow(QStringLiteral("Peak RSS at first frame (median)"), fixed(korimoRss, 1) + QStringLiteral(" MiB"),
        fixed(bareRss, 1) + QStringLiteral(" MiB"), ratio(korimoRss, bareRss));
    return 0;
}
