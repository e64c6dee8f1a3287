// SPDX-License-Identifier: GPL-3.0-or-later
// Checked 16-bit arithmetic, bounds-checked string arrays and the string helpers.
#include <runtime/Int16.h>
#include <runtime/StringArray.h>
#include <runtime/Strings.h>

#include <tests/runtime/ErrorOf.h>

#include <QTest>

#include <functional>

using rt::ErrorKind;
using rt::Int16;

Q_DECLARE_METATYPE(std::function<Int16()>)

class TestValues : public QObject {
    Q_OBJECT

private slots:
    void int16Arithmetic_data()
    {
        QTest::addColumn<std::function<Int16()>>("operation");
        QTest::addColumn<int>("expected"); // 0x10000 marks the overflow error
        const int overflow = 0x10000;
        QTest::newRow("32766 + 1") << std::function([] { return Int16(32766) + 1; }) << 32767;
        QTest::newRow("32767 + 1") << std::function([] { return Int16(32767) + 1; }) << overflow;
        QTest::newRow("-32768 - 1") << std::function([] { return Int16(-32768) - 1; }) << overflow;
        QTest::newRow("-(-32768)") << std::function([] { return -Int16(-32768); }) << overflow;
        QTest::newRow("70 * 467 + 22") << std::function([] { return 70 * Int16(467) + 22; }) << 32712;
        QTest::newRow("70 * 468 + 20") << std::function([] { return 70 * Int16(468) + 20; }) << overflow;
        QTest::newRow("70 * 469") << std::function([] { return 70 * Int16(469); }) << overflow;
        QTest::newRow("++32767") << std::function([] {
            Int16 i = 32767;
            return ++i;
        }) << overflow;
        QTest::newRow("from 40000") << std::function([] { return Int16(40000); }) << overflow;
        QTest::newRow("3 - 1") << std::function([] { return Int16(3) - 1; }) << 2;
    }

    void int16Arithmetic()
    {
        QFETCH(std::function<Int16()>, operation);
        QFETCH(int, expected);
        int result = 0;
        const auto error = errorOf([&] { result = operation().value(); });
        if (expected == 0x10000) {
            QCOMPARE(error, std::optional(ErrorKind::Overflow));
        } else {
            QVERIFY(!error);
            QCOMPARE(result, expected);
        }
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
    }

    void stringArrayBounds()
    {
        QFETCH(int, upper);
        QFETCH(int, index);
        QFETCH(bool, inBounds);
        rt::StringArray array;
        array.redim(upper);
        const auto error = errorOf([&] { array(index) = QStringLiteral("A"); });
        QCOMPARE(error, inBounds ? std::nullopt : std::optional(ErrorKind::SubscriptOutOfRange));
    }

    void stringArrayHasNoElementsUntilRedimensioned()
    {
        rt::StringArray array;
        QVERIFY(!array.hasElements());
        QCOMPARE(errorOf([&] { array(0); }), std::optional(ErrorKind::SubscriptOutOfRange));
        QCOMPARE(errorOf([&] { array.redim(-1); }), std::optional(ErrorKind::SubscriptOutOfRange));
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
