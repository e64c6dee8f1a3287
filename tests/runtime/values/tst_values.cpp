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
using rt::Int16;
using Outcome = std::function<QString()>;

Q_DECLARE_METATYPE(Outcome)

namespace {

// A row: what `operation` must give as text, its result or the name of the run-time error it raises.
template <class Operation> void addRow(const char* name, const QString& expected, Operation operation)
{
    const Outcome outcome = [operation] {
        try {
            return QVariant::fromValue(operation()).toString();
        } catch (const rt::RuntimeError& error) {
            return QString::fromLatin1(error.what());
        }
    };
    QTest::newRow(name) << outcome << expected;
}

// Element `index` of an array of 0..upper, written.
QString written(int upper, int index)
{
    rt::StringArray array;
    array.redim(upper);
    return array.hasElements() ? array(index) = QStringLiteral("A") : QStringLiteral("no elements");
}

// The elements of the array of 0..1 holding K and Q, once redimensioned to 0..upper.
QString kqRedimensioned(int upper, bool preserve)
{
    rt::StringArray array;
    array.redim(1);
    array(0) = QStringLiteral("K");
    array(1) = QStringLiteral("Q");
    preserve ? array.redimPreserve(upper) : array.redim(upper);
    QStringList elements;
    for (int i = 0; i <= array.upperBound().value(); ++i)
        elements << array(i);
    return elements.join(u',');
}

// The first number a source seeded with `seed` draws after reseeding from `clockReading`.
double firstDraw(std::uint64_t seed, std::chrono::nanoseconds clockReading)
{
    rt::Random random(seed);
    random.reseed(clockReading);
    return random.next();
}

} // namespace

class TestValues : public QObject {
    Q_OBJECT

private slots:
    void operationsGiveTheirResultOrRaiseTheirError_data()
    {
        QTest::addColumn<Outcome>("operation");
        QTest::addColumn<QString>("expected");
        addRow("Int16 32766 + 1", "32767", [] { return (Int16(32766) + 1).value(); });
        addRow("Int16 32767 + 1", "overflow", [] { return (Int16(32767) + 1).value(); });
        addRow("Int16 -32768 - 1", "overflow", [] { return (Int16(-32768) - 1).value(); });
        addRow("Int16 -(-32768)", "overflow", [] { return (-Int16(-32768)).value(); });
        addRow("Int16 70 * 467 + 22", "32712", [] { return (70 * Int16(467) + 22).value(); });
        addRow("Int16 70 * 468 + 20", "overflow", [] { return (70 * Int16(468) + 20).value(); });
        addRow("Int16 70 * 469", "overflow", [] { return (70 * Int16(469)).value(); });
        addRow("Int16 ++32767", "overflow", [] { return (++Int16(32767)).value(); });
        addRow("Int16 from 40000", "overflow", [] { return Int16(40000).value(); });
        addRow("Int16 3 - 1", "2", [] { return (Int16(3) - 1).value(); });

        addRow("array: first", "A", [] { return written(2, 0); });
        addRow("array: last", "A", [] { return written(2, 2); });
        addRow("array: one past the end", "subscript out of range", [] { return written(2, 3); });
        addRow("array: index -1", "subscript out of range", [] { return written(2, -1); });
        addRow("array: single element", "A", [] { return written(0, 0); });
        addRow("array: redimensioned to -1", "subscript out of range", [] { return written(-1, 0); });
        addRow("array: never redimensioned", "subscript out of range", [] { return rt::StringArray()(0) = "A"; });
        // A refused upper bound of -1 leaves the array without elements.
        addRow("array: after a refused redim", "false", [] {
            rt::StringArray array;
            errorOf([&] { array.redim(-1); });
            return array.hasElements();
        });
        addRow("array: preserved, grown", "K,Q,", [] { return kqRedimensioned(2, true); });
        addRow("array: preserved, shrunk", "K", [] { return kqRedimensioned(0, true); });
        addRow("array: redimensioned again", ",", [] { return kqRedimensioned(1, false); });

        addRow("asc(A)", "65", [] { return rt::asc("A"); });
        addRow("asc of nothing", "invalid procedure call", [] { return rt::asc(QString()); });
        addRow("chr(90)", "Z", [] { return rt::chr(90); });
        addRow("chr(Int16 -1)", QString(QChar(0xFFFF)), [] { return rt::chr(Int16(-1)); });
        addRow("chr(Int16 -32768)", QString(QChar(0x8000)), [] { return rt::chr(Int16(-32768)); });
        addRow("chr(0x10000)", "invalid procedure call", [] { return rt::chr(0x10000); });
        addRow("ucase of a-z", "AZ", [] { return rt::ucase("az"); });
        addRow("ucase beside a-z", "[_`{", [] { return rt::ucase("[_`{"); });
        // Dotless i, long s, sharp s, e acute and full-width a keep their case: none is A-Z.
        addRow("ucase of other letters", "ı ſ ß é ａ", [] { return rt::ucase("ı ſ ß é ａ"); });
        addRow("Int(26 * 0) + 65", "65", [] { return rt::toInt32(rt::intPart(26 * 0.0) + 65); });
        addRow("Int(26 * largest draw) + 65", "90",
            [] { return rt::toInt32(rt::intPart(26 * std::nextafter(1.0, 0.0)) + 65); });
        addRow("Int(-0.5)", "-1", [] { return rt::intPart(-0.5); });
        addRow("3e9 as 32 bits", "overflow", [] { return rt::toInt32(3e9); });

        // Catches a reseed that replaces the state with the clock reading, or ignores the reading.
        addRow("random: other seed, same clock", "true", [] { return firstDraw(1, 1000ns) != firstDraw(2, 1000ns); });
        addRow("random: same seed, other clock", "true", [] { return firstDraw(1, 1000ns) != firstDraw(1, 2000ns); });
        // Catches a fixed start state, so that every game would show the same letters.
        addRow("random: two unseeded sources", "true", [] { return rt::Random().next() != rt::Random().next(); });
        addRow("random: draws within [0, 1), reaching both ends", "true", [] {
            rt::Random random(7);
            QList<double> draws(100000);
            for (double& draw : draws)
                draw = random.next();
            const auto [lowest, highest] = std::ranges::minmax(draws);
            return lowest >= 0.0 && lowest < 0.001 && highest > 0.999 && highest < 1.0;
        });
    }

    void operationsGiveTheirResultOrRaiseTheirError()
    {
        QFETCH(Outcome, operation);
        QFETCH(QString, expected);
        QCOMPARE(operation(), expected);
    }
};

QTEST_APPLESS_MAIN(TestValues)
#include "tst_values.moc"
