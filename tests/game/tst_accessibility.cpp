// SPDX-License-Identifier: GPL-3.0-or-later
// The window as a screen reader reads it through Qt's accessibility interfaces, state by state,
// and the events that tell the reader what changed.
#include "GameFixture.h"

#include <tests/shared/AccessibleEvents.h>

#include <QRegularExpression>
#include <QTest>

using namespace std::chrono_literals;

namespace {

// FailedAtEleven: then Tab away from Start and back.
enum class State { Ready, Revealing, Answering, Failed, FailedAtEleven };

// Plays from the opening to `state`; returns the letters that may appear: those shown, then the
// one typed wrong in Failed, or in Answering one that would be wrong next.
QString reach(GameFixture& game, State state)
{
    if (state == State::Ready)
        return {};
    if (state == State::FailedAtEleven)
        game.form().letterCount = 11;
    game.click(game.form().cmdStart);
    if (state == State::Revealing) {
        game.advance(1s);
        return game.form().shownLetters(0) + game.form().shownLetters(1);
    }
    const QString shown = game.presentStep();
    const bool failing = state != State::Answering;
    const QString wrong = letters::otherLetter(shown[failing ? 0 : 1]);
    game.type(failing ? wrong + shown.mid(1) : shown.left(1));
    if (state == State::FailedAtEleven) {
        game.pressKey(Qt::Key_Tab);
        game.pressKey(Qt::Key_Backtab);
    }
    return shown + wrong;
}

// What a reader's character-by-character reading of a text would find wrong: a part of the text
// that is not that part of the whole, a character's rectangle that is empty or outside the
// text's, or a point in it that does not lead back to the character.
QString textInterfaceProblem(const QAccessibleInterface& label, const QString& whole)
{
    const QAccessibleTextInterface* text = const_cast<QAccessibleInterface&>(label).textInterface();
    for (int i = 0; text && i < whole.size(); ++i) {
        const QRect character = text->characterRect(i);
        if (text->text(i, i + 2) != whole.mid(i, 2) || character.isEmpty() || !label.rect().contains(character)
            || text->offsetAtPoint(character.center()) != i)
            return QStringLiteral(" character %1: '%2' at %3, back to %4")
                .arg(i)
                .arg(text->text(i, i + 2), QDebug::toString(character))
                .arg(text->offsetAtPoint(character.center()));
    }
    return {};
}

// Replaces each #i by the i-th letter that may appear.
QString withLetters(QString text, const QString& letters)
{
    static const QRegularExpression placeholder(QStringLiteral("#(\\d+)"));
    for (auto match = placeholder.match(text); match.hasMatch(); match = placeholder.match(text))
        text.replace(match.capturedStart(), match.capturedLength(), letters[match.captured(1).toInt()]);
    return text;
}

// Each child of the window as "role:name", its text appended where it differs from the name, and
// marks of where it stands or what it has: off screen, focused, labelled by a child, its caret,
// its description.
QStringList childrenOf(QWidget& window)
{
    const QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&window);
    QStringList children;
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface* child = iface->child(i);
        const QString name = child->text(QAccessible::Name);
        QString seen = accessible::roleName(child->role()) + name;
        if (const QAccessibleTextInterface* text = child->textInterface();
            text && text->text(0, text->characterCount()) != name)
            seen += QStringLiteral(" text=") + text->text(0, text->characterCount());
        if (child->state().offscreen)
            seen += QStringLiteral(" offscreen");
        if (child->role() == QAccessible::EditableText) {
            seen += QStringLiteral(" caret=%1").arg(child->textInterface()->cursorPosition());
            if (child->state().focused)
                seen += QStringLiteral(" focused");
            if (child->state().readOnly)
                seen += QStringLiteral(" read-only");
        }
        for (const auto& [label, relation] : child->relations(QAccessible::Label)) {
            const int index = iface->indexOfChild(label);
            seen += " labelled=" + (index >= 0 ? QString::number(index) : label->text(QAccessible::Name));
        }
        if (const QString description = child->text(QAccessible::Description); !description.isEmpty())
            seen += QStringLiteral(" described=") + description;
        if (iface->indexOfChild(child) != i)
            seen += QStringLiteral(" index=%1").arg(iface->indexOfChild(child));
        if (const QAccessibleTextInterface* text = child->textInterface())
            seen += textInterfaceProblem(*child, text->text(0, text->characterCount()));
        children << seen;
    }
    return children;
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { accessible::listen(); }

    // Read in screen order, buttons in tab order; an empty label is not listed; the display row is
    // one line of text, focused while the caret blinks.
    void theWindowReadsAsItLooks_data()
    {
        QTest::addColumn<State>("state");
        QTest::addColumn<QStringList>("children"); // #i: the i-th letter that may appear
        const auto label = [](const QString& caption) { return QStringLiteral("label:") + caption; };
        const auto button = [](const QString& caption) { return QStringLiteral("button:") + letters::spoken(caption); };
        const auto line = [](const QString& name, const QString& rest) { return "text:" + name + " text=" + rest; };
        const auto described = [](const QString& text) { return QStringLiteral(" described=") + text; };
        const QString title = label(design::title);
        const QStringList after = {button(design::restartCaption), button(design::exitCaption)};
        // Said by the window as the focus came, Start's description is not there to be said again
        // until the focus comes back to it.
        const QString failed = button(design::repeatCaption);
        QTest::newRow("Ready") << State::Ready
                               << QStringList{title, label(design::openingText),
                                      button(design::startCaption) + described(design::openingText)}
                + after;
        QTest::newRow("two letters revealed")
            << State::Revealing
            << QStringList{title, label(design::revealText),
                   line(design::revealText, "#0#1 caret=2 focused read-only labelled=1"),
                   button(design::startCaption) + described(design::revealText)}
                + after;
        QTest::newRow("one letter typed back")
            << State::Answering
            << QStringList{title, label(design::answerText), line(design::answerText, "#0 caret=1 focused labelled=1"),
                   button(design::startCaption) + described(design::answerText)}
                + after;
        QTest::newRow("Failed") << State::Failed
                                << QStringList{title, label(design::failedText),
                                       line(design::failedText, "#3#1#2 caret=3 read-only labelled=1"),
                                       label(design::correctionCaption), "label:#0", "label:#1", "label:#2",
                                       failed + " labelled=" + design::correctionCaption + " #0 #1 #2"}
                + after;
        QStringList eleven = {title, label(design::failedText),
            line(design::failedText, "#11#1#2#3#4#5#6#7#8#9#10 caret=11 read-only labelled=1"),
            label(design::correctionCaption)};
        QString labelledByCorrection = " labelled=" + design::correctionCaption;
        for (int i = 0; i < 11; ++i) {
            eleven << QStringLiteral("label:#%1").arg(i) + (i == 10 ? QStringLiteral(" offscreen") : QString());
            labelledByCorrection += QStringLiteral(" #%1").arg(i);
        }
        QTest::newRow("Failed at eleven letters, the last cell past the edge; Start described again")
            << State::FailedAtEleven
            << eleven + QStringList{failed + labelledByCorrection + described(design::failedText)} + after;
    }

    void theWindowReadsAsItLooks()
    {
        QFETCH(State, state);
        QFETCH(QStringList, children);
        GameFixture game;
        const QString letters = reach(game, state);
        for (QString& child : children)
            child = withLetters(child, letters);
        const QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&game.form());
        QCOMPARE(window->role(), QAccessible::Window);
        QCOMPARE(window->text(QAccessible::Name), design::windowCaption);
        QCOMPARE(childrenOf(game.form()), children);
        QCOMPARE(window->child(1)->rect(), design::instruction.translated(game.form().mapToGlobal(QPoint())));
    }

    // What a reader is told once each event has ended, with its changes as they then stand; and
    // what the window says by itself: each letter as it appears, never what the user typed.
    void changesAreAnnounced_data()
    {
        QTest::addColumn<State>("from");
        QTest::addColumn<QString>("keys"); // pressed from there; #i: the i-th letter that may appear
        QTest::addColumn<int>("milliseconds"); // then waited
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("spoken");
        const QString& reveal = design::revealText;
        const QString& answer = design::answerText;
        QTest::newRow("Start: the line takes the focus, each letter goes to it as it appears and is said, its own")
            << State::Ready << QStringLiteral("\r") << 1000
            << QStringList{"NameChanged label:" + reveal,
                   "TextUpdated label:" + reveal + " -" + design::openingText + " +" + reveal, "Focus text:" + reveal,
                   "TextInserted text:" + reveal + " +#0", "TextCaretMoved text:" + reveal + " 1",
                   "TextInserted text:" + reveal + " +#1", "TextCaretMoved text:" + reveal + " 2"}
            << QStringList{"#0", "#1"};
        QTest::newRow("hide tick: the line blanked and editable takes the focus anew")
            << State::Revealing << QString() << 1000
            << QStringList{"TextInserted text:" + reveal + " +#2", "TextCaretMoved text:" + reveal + " 3",
                   "NameChanged label:" + answer, "TextUpdated label:" + answer + " -" + reveal + " +" + answer,
                   "Focus text:" + answer}
            << QStringList{"#2"};
        QTest::newRow("a letter typed, then taken back")
            << State::Answering << QStringLiteral("#1\b") << 0
            << QStringList{"TextInserted text:" + answer + " +#1", "TextCaretMoved text:" + answer + " 2",
                   "TextRemoved text:" + answer + " -#1", "TextCaretMoved text:" + answer + " 1"}
            << QStringList();
        const QString& failed = design::failedText;
        QStringList shownOnFailing = {"TextInserted text:" + answer + " +#3", "TextCaretMoved text:" + answer + " 2",
            "NameChanged label:" + failed, "TextUpdated label:" + failed + " -" + answer + " +" + failed};
        for (const QString& label :
            {design::correctionCaption, QStringLiteral("#0"), QStringLiteral("#1"), QStringLiteral("#2")})
            shownOnFailing << "ObjectCreated label:" + label << "ObjectShow label:" + label;
        QTest::newRow("a wrong answer: the message said ahead of the focus, whose labels are the correction")
            << State::Answering << QStringLiteral("#3#2") << 0 << shownOnFailing
            << QStringList{"ahead of the reader: " + failed};
    }

    void changesAreAnnounced()
    {
        QFETCH(State, from);
        QFETCH(QString, keys);
        QFETCH(int, milliseconds);
        QFETCH(QStringList, events);
        QFETCH(QStringList, spoken);
        GameFixture game;
        QString letters = reach(game, from);
        const auto spokenBefore = game.spoken().size();
        accessible::told().clear();
        for (const QChar key : withLetters(keys, letters)) {
            if (key == u'\r')
                game.pressKey(Qt::Key_Return, key);
            else if (key == u'\b')
                game.pressKey(Qt::Key_Backspace, key);
            else
                game.type(key);
        }
        game.advance(std::chrono::milliseconds(milliseconds));
        const QString shown = game.shownLetters();
        letters = shown + letters.mid(shown.size());
        for (QString& event : events)
            event = withLetters(event, letters);
        for (QString& text : spoken)
            text = withLetters(text, letters);
        QCOMPARE(accessible::told(), events);
        QCOMPARE(game.spoken().mid(spokenBefore), spoken);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
