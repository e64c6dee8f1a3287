// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: from launching a program to its first frame on the display, and its peak RSS by
// then, for the game against two baselines, launched in turn so that all see the same load: the
// bare window, and the bare window drawing the game's opening texts in the same faces.
// Usage: bench_startup [launches of each]
#include "BenchReport.h"

#include <QCoreApplication>
#include <QProcess>

#include <array>
#include <optional>

namespace {

struct Launch {
    double firstFrameMs = 0;
    double cpuMs = 0; // user and system CPU time to the first frame
    double peakRssMb = 0;
    double fontFilesMb = 0; // resident pages of mapped font files at the first frame
};

QProcessEnvironment probedEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(PROBE_PLUGIN_PATH));
    environment.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("korimofirstframe"));
    return environment;
}

std::optional<Launch> launch(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessEnvironment(probedEnvironment());
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const auto started = std::chrono::steady_clock::now().time_since_epoch();
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    const QList<QByteArray> report = process.readAllStandardOutput().trimmed().split(' ');
    if (report.size() != 4)
        return std::nullopt;
    const std::chrono::nanoseconds firstFrame(report[0].toLongLong());
    return Launch{toMs(firstFrame - started), report[1].toDouble() / 1000, report[2].toDouble() / 1024,
        report[3].toDouble() / 1024};
}

struct Contender {
    QString program;
    QStringList arguments = {};
    std::vector<double> firstFrameMs = {};
    std::vector<double> cpuMs = {};
    std::vector<double> peakRssMb = {};
    std::vector<double> fontFilesMb = {};

    Launch launchOnce() const
    {
        const std::optional<Launch> result = launch(program, arguments);
        if (!result)
            qFatal("%s did not report its first frame", qPrintable(program));
        return *result;
    }

    void measure()
    {
        const Launch result = launchOnce();
        firstFrameMs.push_back(result.firstFrameMs);
        cpuMs.push_back(result.cpuMs);
        peakRssMb.push_back(result.peakRssMb);
        fontFilesMb.push_back(result.fontFilesMb);
    }
};

// Peak RSS less the font files' resident pages, launch by launch.
std::vector<double> rssBesideFontFiles(const Contender& contender)
{
    std::vector<double> rest;
    for (std::size_t i = 0; i < contender.peakRssMb.size(); ++i)
        rest.push_back(contender.peakRssMb[i] - contender.fontFilesMb[i]);
    return rest;
}

QString rssFigure(const Contender& contender)
{
    return fixed(median(contender.peakRssMb), 1) + QStringLiteral(" MiB, font files ")
        + fixed(median(contender.fontFilesMb), 1) + QStringLiteral(" MiB");
}

QString startFigure(const Contender& contender)
{
    return fixed(median(contender.firstFrameMs), 1) + QStringLiteral(" ms, CPU ") + fixed(median(contender.cpuMs), 1)
        + QStringLiteral(" ms");
}

struct Aims {
    QString start;
    QString memory = {};
};

void printRows(const QString& against, const Contender& korimo, const Contender& baseline, const Aims& aims)
{
    printRow(QStringLiteral("Start-up, launch to first frame and CPU time by then (medians of %1), against %2")
                 .arg(korimo.firstFrameMs.size())
                 .arg(against),
        startFigure(korimo), startFigure(baseline),
        ratio(median(korimo.firstFrameMs), median(baseline.firstFrameMs)) + QStringLiteral("; CPU ")
            + ratio(median(korimo.cpuMs), median(baseline.cpuMs)) + QStringLiteral("; aim ") + aims.start);
    printRow(QStringLiteral("Peak RSS at first frame (median), against %1").arg(against), rssFigure(korimo),
        rssFigure(baseline),
        ratio(median(korimo.peakRssMb), median(baseline.peakRssMb)) + QStringLiteral("; beside the font files ")
            + ratio(median(rssBesideFontFiles(korimo)), median(rssBesideFontFiles(baseline)))
            + (aims.memory.isEmpty() ? QString() : QStringLiteral("; aim ") + aims.memory));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int launches = argc > 1 ? QByteArray(argv[1]).toInt() : 30;
    Contender korimo{QStringLiteral(KORIMO_APP)};
    Contender bare{QStringLiteral(BARE_WINDOW_APP)};
    Contender texts{QStringLiteral(BARE_WINDOW_APP), {QStringLiteral("--texts")}};
    const std::array contenders{&korimo, &bare, &texts};
    // A round that is not counted fills the caches (fonts, libraries) that every later launch finds warm.
    for (const Contender* contender : contenders)
        contender->launchOnce();
    for (int i = 0; i < launches; ++i) {
        for (Contender* contender : contenders)
            contender->measure();
    }
    printRows(QStringLiteral("the bare window"), korimo, bare,
        {QStringLiteral("≤ 1.10×"), QStringLiteral("≤ 1.10×, or the font files the rest")});
    printRows(QStringLiteral("the same texts in a bare window"), korimo, texts, {QStringLiteral("≤ 1.03×")});
    return 0;
}
