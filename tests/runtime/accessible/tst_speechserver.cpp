// SPDX-License-Identifier: GPL-3.0-or-later
// What the window's speech sends the speech server: each text whole, in UTF-8, queued as a message,
// as a stand-in server that speaks its protocol hears it.
#include <runtime/accessible/Speech.h>

#include <tests/shared/StandInSpeechServer.h>

#include <QTest>

class TestSpeechServer : public QObject {
    Q_OBJECT

private slots:
    void textsReachTheServerWholeAsMessages()
    {
        StandInSpeechServer server;
        {
            rt::Speech speech;
            speech.sayFirst(QStringLiteral("输入错误，回车重新进行"));
            speech.say(QStringLiteral("Q"));
            QTRY_COMPARE(server.heard().size(), 2);
        }
        QCOMPARE(server.heard(), (QStringList{"message:输入错误，回车重新进行", "message:Q"}));
    }
};

QTEST_MAIN(TestSpeechServer)
#include "tst_speechserver.moc"
