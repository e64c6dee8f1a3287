// SPDX-License-Identifier: GPL-3.0-or-later
// The screen-reader wing at its face: a small form's state before and after one event, and what
// a screen reader is told and what the window says itself.
#include <runtime/accessible/FormAccessibles.h>
#include <runtime/clock/VirtualClock.h>
#include <runtime/form/CommandButton.h>
#include <runtime/form/ControlArray.h>
#include <runtime/form/Form.h>
#include <runtime/form/Label.h>
#include <runtime/form/Line.h>
#include <runtime/form/Timer.h>
#include <tests/shared/AccessibleEvents.h>

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

rt::LabelDescription text(int top, const QString& caption, bool visible = true)
{
    return {
        .left = 10, .top = top, .width = 200, .height = 20, .caption = caption, .opaque = false, .visible = visible};
}

// A line of cells read as one text, named by the instruction; a button described by the
// instruction and labelled by the marks; and a title that never changes.
class ReadForm : public rt::Form {
public:
    explicit ReadForm(rt::Clock& clock)
        : rt::Form(clock, {.caption = QStringLiteral("read"), .clientWidth = 300, .clientHeight = 200})
    {
    }

    rt::CommandButton button{
        *this, {.left = 10, .top = 170, .width = 60, .height = 25, .caption = QStringLiteral("b")}};
    rt::CommandButton other{
        *this, {.left = 90, .top = 170, .width = 60, .height = 25, .caption = QStringLiteral("o"), .tabIndex = 1}};
    rt::Timer blink{*this, {.interval = 500}};
    rt::Line caret{*this, {.x1 = 22, .y1 = 90, .x2 = 22, .y2 = 120, .borderWidth = 2}};
    rt::Label title{*this, text(0, QStringLiteral("title"))};
    rt::Label instruction{*this, text(40, QStringLiteral("old"))};
    rt::ControlArray<rt::Label> cells{*this, {.left = 20, .top = 80, .width = 50, .height = 50, .visible = false}};
    rt::ControlArray<rt::Label> marks{*this, text(130, QString(), false)};
};

struct Reading {
    rt::VirtualClock clock;
    ReadForm form{clock};
    rt::FormAccessibles wing{form};
    QStringList spoken;

    Reading()
    {
        wing.readAsOneText(form.cells(0), form.instruction, form.caret, form.blink);
        wing.describe(form.button, {&form.instruction});
        wing.labelBy(form.button, {&form.marks(0)});
        wing.setSpeaker([this](const QString& said, bool ahead) { spoken << (ahead ? "ahead: " : "") + said; });
        form.open();
        form.activateWindow();
        QApplication::setActiveWindow(&form);
    }
};

using Step = std::function<void(ReadForm&)>;

void show(rt::Label& label, const QString& caption, int left = 20)
{
    label.setLeft(static_cast<float>(left));
    label.setCaption(caption);
    label.setVisible(true);
}

// The window holds the focus, as while an answer is awaited.
void awaitAnswer(ReadForm& form)
{
    form.button.setEnabled(false);
    form.other.setEnabled(false);
    form.cells(0).setVisible(true);
    form.blink.setEnabled(true);
}

void typeAt(ReadForm& form, int cell, const QString& letter)
{
    if (!form.cells.isLoaded(cell))
        form.cells.load(cell);
    show(form.cells(cell), letter, 20 + 70 * cell);
    form.caret.setX1(static_cast<float>(22 + 70 * (cell + 1)));
}

} // namespace

class TestAccessible : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { accessible::listen(); }

    void eachEventIsToldOnceItHasEnded_data()
    {
        QTest::addColumn<Step>("before");
        QTest::addColumn<Step>("change");
        QTest::addColumn<rt::EventKind>("kind");
        QTest::addColumn<QStringList>("told");
        QTest::addColumn<QStringList>("spoken");
        const Step nothing = [](ReadForm&) {};
        const auto click = rt::EventKind::Click;
        QTest::newRow("a caption changed")
            << nothing << Step([](ReadForm& f) { f.instruction.setCaption(QStringLiteral("new")); }) << click
            << QStringList{"NameChanged label:new", "TextUpdated label:new -old +new"} << QStringList();
        QTest::newRow("a caption changed and back: nothing") << nothing << Step([](ReadForm& f) {
            f.instruction.setCaption(QStringLiteral("x"));
            f.instruction.setCaption(QStringLiteral("old"));
        }) << click << QStringList() << QStringList();
        QTest::newRow("a label shown") << nothing << Step([](ReadForm& f) { show(f.marks(0), QStringLiteral("M")); })
                                       << click << QStringList{"ObjectCreated label:M", "ObjectShow label:M"}
                                       << QStringList();
        QTest::newRow("a label hidden") << Step([](ReadForm& f) { show(f.marks(0), QStringLiteral("M")); })
                                        << Step([](ReadForm& f) { f.marks(0).setVisible(false); }) << click
                                        << QStringList{"ObjectHide label:M", "ObjectDestroyed label:M"}
                                        << QStringList();
        QTest::newRow("a shown element unloaded, named as it was")
            << Step([](ReadForm& f) {
                   f.marks.load(1);
                   show(f.marks(1), QStringLiteral("N"), 90);
               })
            << Step([](ReadForm& f) { f.marks.unload(1); }) << click
            << QStringList{"ObjectHide label:N", "ObjectDestroyed label:N"} << QStringList();
        QTest::newRow("changes told in screen order, not in the order made")
            << nothing << Step([](ReadForm& f) {
                   show(f.marks(0), QStringLiteral("M"));
                   f.instruction.setCaption(QStringLiteral("new"));
               })
            << click
            << QStringList{"NameChanged label:new", "TextUpdated label:new -old +new", "ObjectCreated label:M",
                   "ObjectShow label:M"}
            << QStringList();
        QTest::newRow(
            "letters appearing in the row go to it, read-only with the focus, and are said, a repeated one too")
            << Step([](ReadForm& f) {
                   f.button.setEnabled(false);
                   f.other.setEnabled(false);
                   typeAt(f, 0, QStringLiteral("A"));
               })
            << Step([](ReadForm& f) { typeAt(f, 1, QStringLiteral("A")); }) << rt::EventKind::Tick
            << QStringList{"TextInserted text:old +A", "TextCaretMoved text:old 2"} << QStringList{"A"};
        QTest::newRow("the focused row turns editable when the caret blinks: a new line for the reader")
            << Step([](ReadForm& f) {
                   f.button.setEnabled(false);
                   f.other.setEnabled(false);
                   typeAt(f, 0, QString());
               })
            << Step([](ReadForm& f) { f.blink.setEnabled(true); }) << rt::EventKind::Tick
            << QStringList{"Focus text:old"} << QStringList();
        QTest::newRow("the focused row takes each typed letter, a repeated one too, unsaid")
            << Step([](ReadForm& f) {
                   awaitAnswer(f);
                   typeAt(f, 0, QStringLiteral("A"));
               })
            << Step([](ReadForm& f) { typeAt(f, 1, QStringLiteral("A")); }) << rt::EventKind::Key
            << QStringList{"TextInserted text:old +A", "TextCaretMoved text:old 2"} << QStringList();
        QTest::newRow("the row takes the focus when the caret blinks and the window holds the focus")
            << Step([](ReadForm& f) { typeAt(f, 0, QStringLiteral("A")); }) << Step(awaitAnswer) << rt::EventKind::Tick
            << QStringList{"Focus text:old"} << QStringList();
    }

    void eachEventIsToldOnceItHasEnded()
    {
        QFETCH(Step, before);
        QFETCH(Step, change);
        QFETCH(rt::EventKind, kind);
        QFETCH(QStringList, told);
        QFETCH(QStringList, spoken);
        Reading reading;
        reading.form.other.setFocus();
        reading.form.raiseEvent([&] { before(reading.form); });
        accessible::told().clear();
        reading.spoken.clear();
        reading.form.raiseEvent([&] { change(reading.form); }, kind);
        QCOMPARE(accessible::told(), told);
        QCOMPARE(reading.spoken, spoken);
    }

    // A reader takes a line's states once: the row that turns editable is a line of its own.
    void theRowTurningEditableIsANewLine()
    {
        Reading reading;
        ReadForm& form = reading.form;
        const auto focusedLine = [&] { return QAccessible::queryAccessibleInterface(&form)->focusChild(); };
        form.raiseEvent([&] {
            form.button.setEnabled(false);
            form.other.setEnabled(false);
        });
        QVERIFY(focusedLine()->state().readOnly);
        const QAccessible::Id readOnly = QAccessible::uniqueId(focusedLine());
        form.raiseEvent([&] { form.blink.setEnabled(true); });
        QVERIFY(focusedLine()->state().editable);
        QVERIFY(QAccessible::uniqueId(focusedLine()) != readOnly);
    }

    // A described button said aloud carries no description until the focus leaves it.
    void aDescriptionSaidAloudIsNotThereToBeReadAgain()
    {
        Reading reading;
        ReadForm& form = reading.form;
        const auto description = [&] {
            return QAccessible::queryAccessibleInterface(form.button.widget())->text(QAccessible::Description);
        };
        form.other.setFocus();
        QCOMPARE(description(), QStringLiteral("old"));
        form.raiseEvent([&] { form.button.setFocus(); });
        QCOMPARE(reading.spoken, QStringList{QStringLiteral("ahead: old")});
        QCOMPARE(description(), QString());
        form.raiseEvent([&] { form.other.setFocus(); });
        QCOMPARE(description(), QStringLiteral("old"));
    }

    // Read in screen order, buttons in tab order; the children end where the count says; a
    // button can be pressed through the action interface, and is labelled as the form says.
    void theWindowsChildrenAreWhatItShows()
    {
        Reading reading;
        ReadForm& form = reading.form;
        form.raiseEvent([&] { show(form.marks(0), QStringLiteral("M")); });
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&form);
        QStringList names;
        for (int i = 0; i < window->childCount(); ++i) {
            names << window->child(i)->text(QAccessible::Name);
            QCOMPARE(window->indexOfChild(window->child(i)), i);
        }
        QCOMPARE(names, (QStringList{"title", "old", "M", "b", "o"}));
        QCOMPARE(window->child(window->childCount()), nullptr);
        QCOMPARE(window->child(-1), nullptr);
        QAccessibleActionInterface* actions = window->child(3)->actionInterface();
        QVERIFY(actions && actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        QSignalSpy clicked(form.button.widget(), &QAbstractButton::clicked);
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicked.size(), 1);
        // What labels a button is read as one label.
        form.raiseEvent([&] {
            form.marks.load(1);
            show(form.marks(1), QStringLiteral("N"), 90);
        });
        const auto labels = window->child(4)->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels[0].first->text(QAccessible::Name), QStringLiteral("M N"));
    }
};

QTEST_MAIN(TestAccessible)
#include "tst_accessible.moc"
