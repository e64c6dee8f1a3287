// SPDX-License-Identifier: GPL-3.0-or-later
// Loaded into an unmodified program through QT_QPA_GENERIC_PLUGINS=korimofirstframe, it prints
// when the first window's first frame has reached the window system, the CPU time it has taken,
// the peak RSS so far and how much of the font files it has mapped is resident, then quits the
// program: "<steady clock, ns> <user + system CPU, µs> <VmHWM, kB> <font files' Rss, kB>".
// Other processes keeping the cores busy stretch the time to the frame far more than the CPU time.
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QGenericPlugin>
#include <QGuiApplication>
#include <QWindow>

#include <sys/resource.h>

#include <cctype>
#include <chrono>
#include <cstdio>

namespace {

long cpuMicroseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000L + usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
}

long peakRssKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    }
    return 0;
}

// Font files are mapped whole and count as resident as far as they have been read.
long fontFilesRssKb()
{
    QFile maps(QStringLiteral("/proc/self/smaps"));
    if (!maps.open(QIODevice::ReadOnly))
        return 0;
    long total = 0;
    bool inFontFile = false;
    for (QByteArray line = maps.readLine(); !line.isEmpty(); line = maps.readLine()) {
        // A mapping's first line starts with its address range in small hex digits, and ends in its
        // file's path; the lines about it that follow start with a capital.
        const auto first = static_cast<unsigned char>(line.front());
        if (std::isxdigit(first) && !std::isupper(first))
            inFontFile = line.contains("/fonts/");
        else if (inFontFile && line.startsWith("Rss:"))
            total += line.mid(4).trimmed().split(' ').front().toLong();
    }
    return total;
}

class FirstFrameProbe : public QObject {
public:
    FirstFrameProbe() { QCoreApplication::instance()->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A widget window paints and flushes its first frame while it handles its first expose;
        // the queued report runs once that has returned.
        if (!exposed_ && event->type() == QEvent::Expose && watched->isWindowType()) {
            exposed_ = true;
            QMetaObject::invokeMethod(this, &FirstFrameProbe::report, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void report()
    {
        QGuiApplication::sync(); // the window system has the frame
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        const long cpu = cpuMicroseconds();
        const long peakKb = peakRssKb();
        std::printf("%lld %ld %ld %ld\n", static_cast<long long>(std::chrono::nanoseconds(now).count()), cpu, peakKb,
            fontFilesRssKb());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    }

    bool exposed_ = false;
};

} // namespace

class FirstFramePlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "FirstFramePlugin.json")

public:
    QObject* create(const QString& key, const QString& parameters) override
    {
        Q_UNUSED(parameters);
        return key == QLatin1String("korimofirstframe") ? new FirstFrameProbe : nullptr;
    }
};

#include "FirstFramePlugin.moc"
