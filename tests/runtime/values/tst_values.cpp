// SPDX-License-Identifier: GPL-3.0-or-later
// Checked 16-bit arithmetic, bounds-checked string arrays, the string helpers and the random source.
#include <runtime/values/Int16.h>
#include <runtime/values/Random.h>
#include <runtime/values/StringArray.h>
#include <runtime/values/Strings.h>

#include <tests/runtime/ErrorOf.h>

#include <QTest>

#include <functional>

using namespace std::chrono_literals;
using rt::ErrorKind;
using rt::Int16;
using Error = std::optional<ErrorKind>;
using Draw = std::function<double()>;

Q_DECLARE_METATYPE(std::function<Int16()>)
Q_DECLARE_METATYPE(Error)

namespace {

// The first number a source seeded with `seed` draws after reseeding from `clockReading`.
Draw firstDraw(std::uint64_t seed, std::chrono::nanoseconds clockReading)
{
    return [=] {
        rt::Random random(seed);
        random.reseed(clockReading);
        return random.next();
    };
}

} // namespace

class TestValues : public QObject {
    Q_OBJECT

private slots:
    void int16Arithmetic_data()
    {
        QTest::addColumn<std::function<Int16()>>("operation");
        QTest::addColumn<int>("expected");
        QTest::addColumn<Error>("error");
        const Error none;
        const Error overflow = ErrorKind::Overflow;
        QTest::newRow("32766 + 1") << std::function([] { return Int16(32766) + 1; }) << 32767 << none;
        QTest::newRow("32767 + 1") << std::function([] { return Int16(32767) + 1; }) << 0 << overflow;
        QTest::newRow("-32768 - 1") << std::function([] { return Int16(-32768) - 1; }) << 0 << overflow;
        QTest::newRow("-(-32768)") << std::function([] { return -Int16(-32768); }) << 0 << overflow;
        QTest::newRow("70 * 467 + 22") << std::function([] { return 70 * Int16(467) + 22; }) << 32712 << none;
        QTest::newRow("70 * 468 + 20") << std::function([] { return 70 * Int16(468) + 20; }) << 0 << overflow;
        QTest::newRow("70 * 469") << std::function([] { return 70 * Int16(469); }) << 0 << overflow;
        QTest::newRow("++32767") << std::function([] {
            Int16 i = 32767;
            return ++i;
        }) << 0 << overflow;
        QTest::newRow("from 40000") << std::function([] { return Int16(40000); }) << 0 << overflow;
        QTest::newRow("3 - 1") << std::function([] { return Int16(3) - 1; }) << 2 << none;
    }

    void int16Arithmetic()
    {
        QFETCH(std::function<Int16()>, operation);
        QFETCH(int, expected);
        QFETCH(Error, error);
        int result = 0;
        QCOMPARE(errorOf([&] { result = operation().value(); }), error);
        if (!error)
            QCOMPARE(result, expected);
    }

    void randomNumbersStayWithinZeroAndOne()
    {
        rt::Random random(7);
        double lowest = 1;
        double highest = 0;
        for (int i = 0; i < 100000; ++i) {
            const double r = random.next();
            QVERIFY(r >= 0.0 && r < 1.0);
            lowest = std::min(lowest, r);
            highest = std::max(highest, r);
        }
        QVERIFY(lowest < 0.001);
        QVERIFY(highest > 0.999);
    }

    void randomSourcesThatMustDiffer_data()
    {
        QTest::addColumn<Draw>("first");
        QTest::addColumn<Draw>("second");
        // Catches a reseed that replaces the state with the clock reading, or ignores the reading.
        QTest::newRow("states apart, same reading") << firstDraw(1, 123456789ns) << firstDraw(2, 123456789ns);
        QTest::newRow("same state, readings apart") << firstDraw(1, 1000ns) << firstDraw(1, 2000ns);
        // Catches a fixed start state, so that every game would show the same letters.
        const Draw unseeded = [] { return rt::Random().next(); };
        QTest::newRow("two unseeded sources") << unseeded << unseeded;
    }

    void randomSourcesThatMustDiffer()
    {
        QFETCH(Draw, first);
        QFETCH(Draw, second);
        QVERIFY(first() != second());
    }

    void stringArrayBounds_data()
    {
        QTest::addColumn<int>("upper");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("inBounds");
        QTest::newRow("first") << 2 << 0 << true;
        QTest::newRow("last") << 2 << 2 << true;
        QTest::newRow("one past the end") << 2 << 3 << false;
        QTest::newRow("index -1") << 2 << -1 << false;
        QTest::newRow("single element") << 0 << 0 << true;
        QTest::newRow("never redimensioned") << -1 << 0 << false;
    }

    void stringArrayBounds()
    {
        QFETCH(int, upper);
        QFETCH(int, index);
        QFETCH(bool, inBounds);
        const Error outOfRange = ErrorKind::SubscriptOutOfRange;
        rt::StringArray array;
        // An upper bound of -1 is refused and leaves the array without elements.
        QCOMPARE(errorOf([&] { array.redim(upper); }), upper < 0 ? outOfRange : Error());
        QCOMPARE(array.hasElements(), upper >= 0);
        QCOMPARE(errorOf([&] { array(index) = QStringLiteral("A"); }), inBounds ? Error() : outOfRange);
    }

    void redimensioningKeepsOrEmptiesElements()
    {
        rt::StringArray array;
        array.redim(1);
        array(0) = QStringLiteral("K");
        array(1) = QStringLiteral("Q");
        array.redimPreserve(2);
        QCOMPARE(array(0), QStringLiteral("K"));
        QCOMPARE(array(1), QStringLiteral("Q"));
        QCOMPARE(array(2), QString());
        array.redimPreserve(0);
        QCOMPARE(array.upperBound(), Int16(0));
        QCOMPARE(array(0), QStringLiteral("K"));
        array.redim(1);
        QCOMPARE(array(0), QString());
    }

    void characterCodesRoundTrip()
    {
        QCOMPARE(rt::asc(QStringLiteral("A")), 65);
        QCOMPARE(rt::chr(90), QStringLiteral("Z"));
        QCOMPARE(rt::chr(Int16(-1)), QString(QChar(0xFFFF)));
        QCOMPARE(rt::chr(Int16(-32768)), QString(QChar(0x8000)));
        QCOMPARE(errorOf([] { rt::asc(QString()); }), std::optional(ErrorKind::InvalidCall));
        QCOMPARE(errorOf([] { rt::chr(0x10000); }), std::optional(ErrorKind::InvalidCall));
    }

    void upperCasingTurnsOnlyAsciiLettersIntoCapitals()
    {
        QCOMPARE(rt::ucase(QStringLiteral("az")), QStringLiteral("AZ"));
        QCOMPARE(rt::ucase(QStringLiteral("[_`{")), QStringLiteral("[_`{"));
        // Dotless i, long s, sharp s, e acute and full-width a keep their case: none is A-Z.
        const QString others = QStringLiteral("ı ſ ß é ａ");
        QCOMPARE(rt::ucase(others), others);
    }

    void wholeNumbersConvertWithinThirtyTwoBits()
    {
        QCOMPARE(rt::toInt32(rt::intPart(26 * 0.0) + 65), 65);
        QCOMPARE(rt::toInt32(rt::intPart(26 * std::nextafter(1.0, 0.0)) + 65), 90);
        QCOMPARE(rt::intPart(-0.5), -1.0);
        QCOMPARE(errorOf([] { rt::toInt32(3e9); }), std::optional(ErrorKind::Overflow));
    }
};

QTEST_APPLESS_MAIN(TestValues)
#include "tst_values.moc"
