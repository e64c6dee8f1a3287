// SPDX-License-Identifier: GPL-3.0-or-later
// The letters the game draws, as a player sees them.
#include "GameFixture.h"

#include <QTest>

#include <array>

class TestRandom : public QObject {
    Q_OBJECT

private slots:
    // The first letter is drawn at Start, each later one after its reveal tick has reseeded the source
    // from the clock: a Start 1 ms later draws the same first letter only. Catches too a failed step
    // repeated with the letters that were just answered wrong.
    void eachStepDrawsNewLetters()
    {
        GameFixture game;
        GameFixture later;
        game.play(QStringLiteral("start reveal"));
        later.play(QStringLiteral("+1 start reveal"));
        const QString first = game.shownLetters();
        QCOMPARE(later.shownLetters().front(), first.front());
        QVERIFY(later.shownLetters().mid(1) != first.mid(1));
        game.play(QStringLiteral("type:~*\r reveal"));
        QVERIFY(game.shownLetters() != first); // one chance in 17,576 that this seed draws the same
    }

    // Plays a long game with correct answers, so that every letter comes from a step's reveal
    // with the source reseeded at every tick, as in real play.
    void lettersAreUniformAndUncorrelated()
    {
        GameFixture game(2024);
        QString letters;
        for (game.play(QStringLiteral("start")); letters.size() < 8000; game.play(QStringLiteral("type:*")))
            letters += game.presentStep();
        QCOMPARE(game.errors().size(), 0);

        std::array<int, 26> counts{};
        int repeats = 0;
        for (int i = 0; i < letters.size(); ++i) {
            ++counts[static_cast<std::size_t>(letters[i].unicode() - design::firstLetter)];
            repeats += i > 0 && letters[i] == letters[i - 1];
        }
        const double expected = letters.size() / 26.0;
        double chiSquare = 0;
        for (const int count : counts)
            chiSquare += (count - expected) * (count - expected) / expected;
        // 25 degrees of freedom: 52.6 is exceeded by chance once in a thousand runs.
        QVERIFY2(chiSquare < 52.6, qPrintable(QString::number(chiSquare)));
        const double repeatRate = repeats / double(letters.size() - 1);
        QVERIFY2(repeatRate > 1 / 26.0 * 0.7 && repeatRate < 1 / 26.0 * 1.3, qPrintable(QString::number(repeatRate)));
    }
};

QTEST_MAIN(TestRandom)
#include "tst_random.moc"
