// SPDX-License-Identifier: GPL-3.0-or-later
// Loaded into an unmodified program through QT_QPA_GENERIC_PLUGINS=korimofirstframe, it prints
// when the first window's first frame has reached the window system, and the peak RSS so far,
// then quits the program: "<steady clock, ns> <VmHWM, kB>".
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QGenericPlugin>
#include <QGuiApplication>
#include <QWindow>

#include <chrono>
#include <cstdio>

namespace {

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
        std::printf("%lld %ld\n", static_cast<long long>(std::chrono::nanoseconds(now).count()), peakRssKb());
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
