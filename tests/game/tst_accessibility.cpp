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

QChar nextLetter(QChar letter)
{
    return QChar(u'A' + (letter.unicode() - u'A' + 1) % 26);
}

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
    const QString wrong = state == State::Failed ? QString(nextLetter(shown[0])) : QString();
    game.type(state == State::Failed ? wrong + shown.mid(1) : shown.left(1));
    return shown + wrong;
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
        const QString title = QStringLiteral("label:Memory ... ...");
        const QStringList buttons = {"button:退出", "button:从头开始", "button:开始"};
        QTest::newRow("Ready") << State::Ready
                               << QStringList{"label:", title, "label:点击“开始”，记住显示的每个字母"} + buttons;
        QTest::newRow("two letters revealed")
            << State::Revealing
            << QStringList{"label:", title, "label:记住下列每个字母", "label:#0", "label:#1"} + buttons;
        QTest::newRow("one letter typed back")
            << State::Answering
            << QStringList{"label:", title, "label:凭记忆，依次输入刚才显示的字母", "label:#0", "label:", "label:"}
                + buttons;
        QTest::newRow("Failed") << State::Failed
                                << QStringList{"label:正确的字母序列应为：", "label:#0", "label:#1", "label:#2", title,
                                       "label:输入错误，多数人能记忆七个字母，回车重新进行当前步测试", "label:#3",
                                       "label:#1", "label:#2", "button:退出", "button:从头开始", "button:重复本步"};
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
        game.advance(500ms);
        form.lblLetter(0).setVisible(false);
        const QString letter = form.shownLetters(0);
        QCOMPARE(events,
            QStringList({"NameChanged 记住下列每个字母",
                "TextUpdated 记住下列每个字母 -点击“开始”，记住显示的每个字母 +记住下列每个字母",
                "ObjectCreated " + letter, "ObjectShow " + letter, "ObjectHide " + letter,
                "ObjectDestroyed " + letter}));
        const QAccessibleInterface* instruction = QAccessible::queryAccessibleInterface(&form)->child(2);
        QCOMPARE(instruction->rect(), QRect(form.mapToGlobal(QPoint(8, 72)), QSize(673, 19)));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
