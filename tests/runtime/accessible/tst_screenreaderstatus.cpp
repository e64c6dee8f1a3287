// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a screen reader runs, as a stand-in of the desktop's accessibility bus tells it on a
// session bus of the test's own: the bus being on is not enough.
#include <runtime/accessible/ScreenReaderStatus.h>

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QList>
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
        QList<bool> told; // what the status said each time the bus told it
        connect(&status, &rt::ScreenReaderStatus::told, this, [&] { told << status.runs(); });
        QTRY_COMPARE(told, QList<bool>{false});
        status_->change(QStringLiteral("ScreenReaderEnabled"), true);
        QTRY_COMPARE(told, (QList<bool>{false, true}));
        // The bus turned off beside it says nothing of the screen reader: told in order, only the
        // screen reader's own change counts.
        status_->change(QStringLiteral("IsEnabled"), false);
        status_->change(QStringLiteral("ScreenReaderEnabled"), false);
        QTRY_COMPARE(told, (QList<bool>{false, true, false}));
        status_->screenReaderEnabled = true;
        rt::ScreenReaderStatus started;
        QSignalSpy startedTold(&started, &rt::ScreenReaderStatus::told);
        QVERIFY(startedTold.wait());
        QVERIFY(started.runs());
    }
};

QTEST_MAIN(TestScreenReaderStatus)
#include "tst_screenreaderstatus.moc"
