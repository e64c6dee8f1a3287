// SPDX-License-Identifier: GPL-3.0-or-later
// The program as main starts it, on a virtual clock and a session bus of the test's own: in one
// style, named as its desktop entry, and speaking while a screen reader runs, to a stand-in
// speech server.
#include <app/Game.h>

#include <runtime/accessible/ScreenReaderStatus.h>
#include <runtime/clock/VirtualClock.h>
#include <tests/shared/AccessibleEvents.h>
#include <tests/shared/Design.h>
#include <tests/shared/Keyboard.h>
#include <tests/shared/StandInAccessibilityBus.h>
#include <tests/shared/StandInSpeechServer.h>

#include <QDir>
#include <QSettings>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

class TestStartup : public QObject {
    Q_OBJECT

private:
    StandInAccessibilityBus bus_;

private slots:
    void initTestCase() { QVERIFY(bus_.registered()); }

    // In Qt's Fusion style on every desktop, and named as its desktop entry.
    void theApplicationLooksAndIsNamedAlikeEverywhere()
    {
        prepareApplication();
        QCOMPARE(QApplication::style()->name(), QStringLiteral("fusion"));
        const QDir packaging(QStringLiteral(KORIMO_PACKAGING_DIR));
        QCOMPARE(packaging.entryList({QStringLiteral("*.desktop")}),
            QStringList{QGuiApplication::desktopFileName() + QStringLiteral(".desktop")});
        QSettings entry(
            packaging.filePath(QGuiApplication::desktopFileName() + QStringLiteral(".desktop")), QSettings::IniFormat);
        QCOMPARE(entry.value(QStringLiteral("Desktop Entry/StartupWMClass")).toString(),
            QCoreApplication::applicationName());
    }

    void theWindowSpeaksOnlyWhileAScreenReaderRuns()
    {
        if (!KORIMO_HAVE_SPEECH)
            QSKIP("built without speech");
        StandInSpeechServer server;
        accessible::listen();
        rt::VirtualClock clock;
        Game game(clock);
        // Told on the same connection after the game's own status, so the game knows by then.
        rt::ScreenReaderStatus status;
        QSignalSpy told(&status, &rt::ScreenReaderStatus::told);
        QVERIFY(told.wait());
        frmMain& form = game.form();
        form.open();
        QApplication::setActiveWindow(&form);
        const auto reveal = [&](int length) { clock.advance(design::tickInterval * (length + 1)); };

        keys::press(form, Qt::Key_Return, QStringLiteral("\r"));
        reveal(design::firstStepLength);
        bus_.change(QStringLiteral("ScreenReaderEnabled"), true);
        QVERIFY(told.wait());
        for (int i = 0; i < design::firstStepLength; ++i)
            keys::press(form, keys::keyFor(form.shownLetters(i)[0]), form.shownLetters(i).toLower());
        reveal(design::firstStepLength + 1);

        QStringList letters;
        for (int i = 0; i <= design::firstStepLength; ++i)
            letters << QStringLiteral("message:") + form.shownLetters(i);
        QTRY_COMPARE(server.heard(), letters);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
