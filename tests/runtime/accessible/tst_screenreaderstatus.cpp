// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a screen reader runs, as a stand-in of the desktop's accessibility bus tells it on a
// session bus of the test's own: the bus being on is not enough.
#include <runtime/accessible/ScreenReaderStatus.h>

#include <tests/shared/StandInAccessibilityBus.h>

#include <QList>
#include <QSignalSpy>
#include <QTest>

class TestScreenReaderStatus : public QObject {
    Q_OBJECT

private:
    StandInAccessibilityBus bus_;

private slots:
    void initTestCase() { QVERIFY(bus_.registered()); }

    void aScreenReaderRunsOnlyWhileTheBusSaysSo()
    {
        rt::ScreenReaderStatus status;
        QList<bool> told; // what the status said each time the bus told it
        connect(&status, &rt::ScreenReaderStatus::told, this, [&] { told << status.runs(); });
        QTRY_COMPARE(told, QList<bool>{false});
        bus_.change(QStringLiteral("ScreenReaderEnabled"), true);
        QTRY_COMPARE(told, (QList<bool>{false, true}));
        // The bus turned off beside it says nothing of the screen reader: told in order, only the
        // screen reader's own change counts.
        bus_.change(QStringLiteral("IsEnabled"), false);
        bus_.change(QStringLiteral("ScreenReaderEnabled"), false);
        QTRY_COMPARE(told, (QList<bool>{false, true, false}));
        bus_.setScreenReaderEnabled(true);
        rt::ScreenReaderStatus started;
        QSignalSpy startedTold(&started, &rt::ScreenReaderStatus::told);
        QVERIFY(startedTold.wait());
        QVERIFY(started.runs());
    }
};

QTEST_MAIN(TestScreenReaderStatus)
#include "tst_screenreaderstatus.moc"
