// SPDX-License-Identifier: GPL-3.0-or-later
// The window as a screen reader reads it through Qt's accessibility interfaces, state by state,
// and the events that tell the reader what changed.
#include "GameFixture.h"

#include <QAccessible>
#include <QTest>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

using namespace std::chrono_literals;

namespace {

enum class State { Ready, Revealing, Answering, Failed };

// Plays from the opening to `state`; returns the letters that may appear: those shown, then the
// one typed wrong in Failed.
QString reach(GameFixture& game, State state)
{
    if (state == State::Ready)
        return {};
    game.click(game.form().cmdStart);
    if (state == State::Revealing) {
        game.advance(1s);
        return game.form().shownLetters(0) + game.form().shownLetters(1);
    }
    const QString shown = game.presentStep();
    const QString wrong = state == State::Failed ? QString(design::otherLetter(shown[0])) : QString();
    game.type(state == State::Failed ? wrong + shown.mid(1) : shown.left(1));
    return shown + wrong;
}

// What a reader's character-by-character reading of a label would find wrong: a part of the text
// that is not that part of the name, a character's rectangle that is empty or outside the
// label, or a point in it that does not lead back to the character.
QString textInterfaceProblem(const QAccessibleInterface& label, const QString& name)
{
    const QAccessibleTextInterface* text = const_cast<QAccessibleInterface&>(label).textInterface();
    for (int i = 0; text && i < name.size(); ++i) {
        const QRect character = text->characterRect(i);
        if (text->text(i, i + 2) != name.mid(i, 2) || character.isEmpty() || !label.rect().contains(character)
            || text->offsetAtPoint(character.center()) != i)
            return QStringLiteral(" character %1: '%2' at %3, back to %4")
                .arg(i)
                .arg(text->text(i, i + 2), QDebug::toString(character))
                .arg(text->offsetAtPoint(character.center()));
    }
    return {};
}

// Each child of the window as "role:name", its text appended where it differs from the name.
QStringList childrenOf(QWidget& window)
{
    const QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&window);
    QStringList children;
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface* child = iface->child(i);
        const QString name = child->text(QAccessible::Name);
        QString seen
            = (child->role() == QAccessible::StaticText ? QStringLiteral("label:") : QStringLiteral("button:")) + name;
        if (const QAccessibleTextInterface* text = child->textInterface();
            text && text->text(0, text->characterCount()) != name)
            seen += QStringLiteral(" text=") + text->text(0, text->characterCount());
        if (iface->indexOfChild(child) != i)
            seen += QStringLiteral(" index=%1").arg(iface->indexOfChild(child));
        seen += textInterfaceProblem(*child, name);
        children << seen;
    }
    return children;
}

QStringList events;

// Events about the labels, as "type name" and, for text, what went and what came.
void recordEvent(QAccessibleEvent* event)
{
    QAccessibleInterface* iface = event->accessibleInterface();
    if (iface->role() != QAccessible::StaticText)
        return;
    QString seen = QString::fromLatin1(QMetaEnum::fromType<QAccessible::Event>().valueToKey(event->type())) + u' '
        + iface->text(QAccessible::Name);
    if (event->type() == QAccessible::TextUpdated) {
        const auto* update = static_cast<QAccessibleTextUpdateEvent*>(event);
        seen += QStringLiteral(" -%1 +%2").arg(update->textRemoved(), update->textInserted());
    }
    events << seen;
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QAccessible::installUpdateHandler(recordEvent);
        // As if a screen reader had started; the offscreen platform has none.
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
    }

    void theWindowReadsAsItLooks_data()
    {
        QTest::addColumn<State>("state");
        QTest::addColumn<QStringList>("children"); // #i: the i-th letter that may appear
        const auto label = [](const QString& caption) { return QStringLiteral("label:") + caption; };
        const auto button = [](const QString& caption) { return QStringLiteral("button:") + design::spoken(caption); };
        const QString title = label(design::title);
        const QStringList buttons = {button(design::exitCaption), button(design::restartCaption)};
        const QStringList opening = buttons + QStringList{button(design::startCaption)};
        QTest::newRow("Ready") << State::Ready << QStringList{"label:", title, label(design::openingText)} + opening;
        QTest::newRow("two letters revealed")
            << State::Revealing
            << QStringList{"label:", title, label(design::revealText), "label:#0", "label:#1"} + opening;
        QTest::newRow("one letter typed back")
            << State::Answering
            << QStringList{"label:", title, label(design::answerText), "label:#0", "label:", "label:"} + opening;
        QTest::newRow("Failed") << State::Failed
                                << QStringList{label(design::correctionCaption), "label:#0", "label:#1", "label:#2",
                                       title, label(design::failedText), "label:#3", "label:#1", "label:#2"}
                + buttons + QStringList{button(design::repeatCaption)};
    }

    void theWindowReadsAsItLooks()
    {
        QFETCH(State, state);
        QFETCH(QStringList, children);
        GameFixture game;
        const QString letters = reach(game, state);
        for (QString& child : children) {
            if (const auto at = child.indexOf(u'#'); at >= 0)
                child = child.left(at) + letters[child[at + 1].digitValue()];
        }
        const QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&game.form());
        QCOMPARE(window->role(), QAccessible::Window);
        QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Korimo"));
        QCOMPARE(childrenOf(game.form()), children);
    }

    // A caption change is a new name and text; a label shown or hidden is a child added or removed.
    void changesAreAnnounced()
    {
        GameFixture game;
        frmMain& form = game.form();
        events.clear();
        game.click(form.cmdStart);
        game.advance(design::tickInterval);
        form.lblLetter(0).setVisible(false);
        const QString letter = form.shownLetters(0);
        const QString& reveal = design::revealText;
        QCOMPARE(events,
            QStringList({"NameChanged " + reveal,
                QStringLiteral("TextUpdated %1 -%2 +%1").arg(reveal, design::openingText), "ObjectCreated " + letter,
                "ObjectShow " + letter, "ObjectHide " + letter, "ObjectDestroyed " + letter}));
        const QAccessibleInterface* instruction = QAccessible::queryAccessibleInterface(&form)->child(2);
        QCOMPARE(instruction->rect(), QRect(form.mapToGlobal(QPoint(8, 72)), QSize(673, 19)));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
