// SPDX-License-Identifier: GPL-3.0-or-later
// The letters the game draws, as a player sees them.
#include "GameFixture.h"

#include <QTest>

#include <array>

using namespace std::chrono_literals;

class TestRandom : public QObject {
    Q_OBJECT

private slots:
    // The first letter is drawn at Start, each later one after its reveal tick has reseeded the
    // source from the clock: a Start one millisecond later changes all but the first.
    void theRevealTicksReseedFromTheClock()
    {
        GameFixture onTime;
        GameFixture later;
        later.advance(1ms);
        onTime.click(onTime.form().cmdStart);
        later.click(later.form().cmdStart);
        const QString letters = onTime.presentStep();
        const QString delayed = later.presentStep();
        QCOMPARE(delayed.front(), letters.front());
        QVERIFY(delayed.mid(1) != letters.mid(1));
    }

    // Catches a step repeated with the letters that were just answered wrong.
    void aRepeatedStepDrawsNewLetters()
    {
        GameFixture game;
        const QString failed = game.startAnswering();
        game.type(design::otherLetter(failed[0]) + failed.mid(1));
        game.pressKey(Qt::Key_Return, QStringLiteral("\r"));
        QVERIFY(game.presentStep() != failed); // one chance in 17,576 that this seed draws the same
    }

    // Plays a long game with correct answers, so that every letter comes from a step's reveal
    // with the source reseeded at every tick, as in real play.
    void lettersAreUniformAndUncorrelated()
    {
        GameFixture game(2024);
        QString letters;
        game.click(game.form().cmdStart);
        while (letters.size() < 8000) {
            const QString shown = game.presentStep();
            letters += shown;
            game.type(shown);
        }
        QCOMPARE(game.errors().size(), 0);

        std::array<int, 26> counts{};
        int repeats = 0;
        for (int i = 0; i < letters.size(); ++i) {
            ++counts[static_cast<std::size_t>(letters[i].unicode() - 'A')];
            if (i > 0 && letters[i] == letters[i - 1])
                ++repeats;
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
