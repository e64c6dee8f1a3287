// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a screen reader runs, as a stand-in of the desktop's accessibility bus tells it on a
// session bus of the test's own: the bus being on is not enough.
#include <runtime/accessible/ScreenReaderStatus.h>

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString path = QStringLiteral("/org/a11y/bus");

// org.a11y.Status as the accessibility bus's launcher serves it.
class StandInStatus : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.a11y.Status")
    Q_PROPERTY(bool IsEnabled MEMBER isEnabled)
    Q_PROPERTY(bool ScreenReaderEnabled MEMBER screenReaderEnabled)

public:
    explicit StandInStatus(QObject* bus)
        : QDBusAbstractAdaptor(bus)
    {
    }

    bool isEnabled = true;
    bool screenReaderEnabled = false;

    void change(const QString& property, bool value)
    {
        setProperty(qPrintable(property), value);
        QDBusMessage changed
            = QDBusMessage::createSignal(path, QStringLiteral("org.freedesktop.DBus.Properties"), "PropertiesChanged");
        changed << QStringLiteral("org.a11y.Status") << QVariantMap{{property, value}} << QStringList();
        QDBusConnection::sessionBus().send(changed);
    }
};

} // namespace

class TestScreenReaderStatus : public QObject {
    Q_OBJECT

private:
    QObject bus_;
    StandInStatus* status_ = new StandInStatus(&bus_);

private slots:
    void initTestCase()
    {
        QVERIFY(QDBusConnection::sessionBus().registerService(QStringLiteral("org.a11y.Bus")));
        QVERIFY(QDBusConnection::sessionBus().registerObject(path, &bus_));
    }

    void aScreenReaderRunsOnlyWhileTheBusSaysSo()
    {
        rt::ScreenReaderStatus status;
        QSignalSpy told(&status, &rt::ScreenReaderStatus::told);
        QVERIFY(told.wait());
        QVERIFY(!status.runs());
        for (const auto& [property, value, runs] : {std::tuple(QStringLiteral("ScreenReaderEnabled"), true, true),
                 std::tuple(QStringLiteral("IsEnabled"), false, true),
                 std::tuple(QStringLiteral("ScreenReaderEnabled"), false, false)}) {
            status_->change(property, value);
            if (property == u"ScreenReaderEnabled")
                QVERIFY(told.wait());
            QCOMPARE(status.runs(), runs);
        }
        status_->screenReaderEnabled = true;
        rt::ScreenReaderStatus started;
        QSignalSpy startedTold(&started, &rt::ScreenReaderStatus::told);
        QVERIFY(startedTold.wait());
        QVERIFY(started.runs());
    }
};

QTEST_MAIN(TestScreenReaderStatus)
#include "tst_screenreaderstatus.moc"
