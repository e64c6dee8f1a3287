// SPDX-License-Identifier: GPL-3.0-or-later
// The window layer's controls: arrays, drawing order, buttons, focus, key preview and the
// run-time error report.
#include <runtime/clock/VirtualClock.h>
#include <runtime/form/CommandButton.h>
#include <runtime/form/ControlArray.h>
#include <runtime/form/Form.h>
#include <runtime/form/Label.h>
#include <runtime/form/Line.h>
#include <runtime/form/Run.h>
#include <runtime/form/Shape.h>
#include <runtime/form/Timer.h>

#include <tests/runtime/ErrorOf.h>
#include <tests/shared/Keyboard.h>
#include <tests/shared/Pixels.h>

#include <QApplication>
#include <QFontInfo>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace std::chrono_literals;
using rt::ErrorKind;

namespace {

rt::LabelDescription cell(int left)
{
    return {.left = left,
        .top = 10,
        .width = 50,
        .height = 50,
        .caption = QStringLiteral("W"),
        .font = {QStringLiteral("Times New Roman"), 36, 400},
        .foreColor = rt::rgb(192, 0, 192),
        .backColor = rt::rgb(255, 255, 255),
        .alignment = Qt::AlignHCenter,
        .visible = false};
}

// Two buttons, a caret over a row of cells, and a log of every key and click in order.
class ProbeForm : public rt::Form {
public:
    explicit ProbeForm(rt::Clock& clock)
        : rt::Form(clock,
            {.caption = QStringLiteral("probe"),
                .clientWidth = 300,
                .clientHeight = 150,
                .backColor = rt::rgb(255, 255, 192)})
    {
        first.onClick([this] { events << QStringLiteral("click first"); });
        second.onClick([this] { events << QStringLiteral("click second"); });
    }

    void Form_KeyPress(rt::Int16 keyAscii) override { events << QStringLiteral("key %1").arg(keyAscii.value()); }

    rt::CommandButton second{
        *this, {.left = 100, .top = 110, .width = 60, .height = 25, .caption = QStringLiteral("2"), .tabIndex = 2}};
    rt::CommandButton first{
        *this, {.left = 10, .top = 110, .width = 60, .height = 25, .caption = QStringLiteral("1"), .tabIndex = 1}};
    rt::Timer timer{*this, {.interval = 100}};
    rt::Line caret{*this, {.x1 = 30, .y1 = 20, .x2 = 30, .y2 = 50, .borderWidth = 2}};
    rt::ControlArray<rt::Label> letters{*this, cell(10)};
    rt::ControlArray<rt::Shape> squares{*this, {.left = 12, .top = 12, .width = 50, .height = 50, .visible = false}};
    QStringList events;
};

// A label's paint on its own, where nothing else on the form can hide a wrong caption.
QImage paintedAlone(const rt::Label& label)
{
    QImage image(label.bounds().size(), QImage::Format_RGB32);
    QPainter painter(&image);
    painter.translate(-label.bounds().topLeft());
    label.paint(painter, QPalette());
    return image;
}

// The area of a widget's paints, as they happen.
class PaintedArea : public QObject {
public:
    explicit PaintedArea(QWidget& widget) { widget.installEventFilter(this); }
    QRegion area;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            area += static_cast<QPaintEvent*>(event)->region();
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

class TestControls : public QObject {
    Q_OBJECT

private:
    rt::VirtualClock clock_;

    std::unique_ptr<ProbeForm> openForm()
    {
        auto form = std::make_unique<ProbeForm>(clock_);
        form->open();
        QApplication::setActiveWindow(form.get());
        return form;
    }

private slots:
    void arrayElementsLoadAndUnloadByIndex()
    {
        auto form = openForm();
        QCOMPARE(errorOf([&] { form->letters(1); }), std::optional(ErrorKind::ElementNotLoaded));
        QCOMPARE(errorOf([&] { form->letters.unload(1); }), std::optional(ErrorKind::ElementNotLoaded));
        QCOMPARE(errorOf([&] { form->letters.load(0); }), std::optional(ErrorKind::ElementAlreadyLoaded));
        QCOMPARE(errorOf([&] { form->letters.unload(0); }), std::optional(ErrorKind::InvalidCall));
        QCOMPARE(errorOf([&] { form->letters(-1); }), std::optional(ErrorKind::ElementNotLoaded));

        form->letters(0).setCaption(QStringLiteral("Q"));
        form->letters(0).setVisible(true);
        form->letters.load(3);
        QCOMPARE(errorOf([&] { form->letters.load(3); }), std::optional(ErrorKind::ElementAlreadyLoaded));
        QVERIFY(!form->letters(3).isVisible());
        QCOMPARE(form->letters(3).caption(), QStringLiteral("Q"));
        QCOMPARE(form->letters.count(), 2);
        form->letters.unload(3);
        QCOMPARE(form->letters.count(), 1);
        QVERIFY(!form->letters.isLoaded(3));
    }

    // Loaded elements keep element 0's place in the drawing order: the caret above every
    // letter, every letter above every square.
    void loadedElementsKeepTheDrawingOrder()
    {
        auto form = openForm();
        form->letters.load(1);
        form->squares.load(1);
        form->letters(1).setLeft(20);
        form->squares(1).setLeft(22);
        form->letters(1).setVisible(true);
        form->squares(1).setVisible(true);
        form->squares(0).setLeft(14);
        form->squares(0).setVisible(true);
        // The caret over the letter box, the box over both squares, the shadow to its right, the
        // window's own colour.
        QCOMPARE(pixels::failedProbe(form->grab().toImage(),
                     {{30, 30, Qt::black}, {28, 55, Qt::white}, {71, 40, Qt::black}, {5, 5, QColor(255, 255, 192)}}),
            QString());
        // A shown control that moves repaints where it stood as well as where it goes.
        QApplication::processEvents();
        form->letters(1).setLeft(200);
        form->letters(1).setTop(70);
        QApplication::processEvents();
        const QImage painted = form->screen()->grabWindow(form->winId()).toImage();
        QCOMPARE(painted.convertToFormat(QImage::Format_RGB32),
            form->grab().toImage().convertToFormat(QImage::Format_RGB32));
    }

    // Each key reaches Form_KeyPress once, before the focused button; Enter and Space click it.
    // Held with Alt, Ctrl or Meta a key is a command: it still reaches the button, but types
    // nothing. Shift and AltGr (Qt's group switch) type what they give.
    void keysArePreviewedOnceThenReachTheButton()
    {
        auto form = openForm();
        QCOMPARE(form->focusWidget(), form->first.widget());
        keys::press(*form, Qt::Key_Return, QStringLiteral("\r"));
        keys::press(*form, Qt::Key_Space, QStringLiteral(" "));
        keys::press(*form, Qt::Key_A, QStringLiteral("a"));
        keys::press(*form, Qt::Key_Shift, QString());
        keys::press(*form, Qt::Key_Backspace, QString());
        keys::press(*form, Qt::Key_A, QStringLiteral("A"), false, Qt::ShiftModifier);
        keys::press(*form, Qt::Key_Q, QStringLiteral("@"), false, Qt::GroupSwitchModifier);
        for (const Qt::KeyboardModifier command : {Qt::AltModifier, Qt::ControlModifier, Qt::MetaModifier}) {
            keys::press(*form, Qt::Key_Q, QStringLiteral("q"), false, command);
            keys::press(*form, Qt::Key_Space, QStringLiteral(" "), false, command);
        }
        QCOMPARE(form->events,
            QStringList({"key 13", "click first", "key 32", "click first", "key 97", "key 8", "key 65", "key 64",
                "click first", "click first", "click first"}));
    }

    void pastedTextArrivesOneCodeAtATime()
    {
        auto form = openForm();
        keys::press(*form, Qt::Key_unknown, QStringLiteral("xY\U0001F600"));
        QCOMPARE(form->events,
            QStringList({"key 120", "key 89", QStringLiteral("key %1").arg(qint16(0xD83D)),
                QStringLiteral("key %1").arg(qint16(0xDE00))}));
    }

    void tabOrderFollowsTabIndexAndStartsTheFocus()
    {
        auto form = openForm();
        QCOMPARE(form->focusWidget(), form->first.widget());
        keys::press(*form, Qt::Key_Tab, QStringLiteral("\t"));
        QCOMPARE(form->focusWidget(), form->second.widget());
        keys::press(*form, Qt::Key_Tab, QStringLiteral("\t"));
        QCOMPARE(form->focusWidget(), form->first.widget());
        keys::press(*form, Qt::Key_Backtab, QString());
        QCOMPARE(form->focusWidget(), form->second.widget());
        // With the focus on the window, Tab goes to the first button that can take it: of two,
        // and of one.
        form->second.setEnabled(false);
        form->second.setEnabled(true);
        QCOMPARE(form->focusWidget(), form.get());
        keys::press(*form, Qt::Key_Tab, QStringLiteral("\t"));
        QCOMPARE(form->focusWidget(), form->first.widget());
        form->first.setEnabled(false);
        form->first.setEnabled(true);
        form->second.setEnabled(false);
        keys::press(*form, Qt::Key_Tab, QStringLiteral("\t"));
        QCOMPARE(form->focusWidget(), form->first.widget());
    }

    // Catches the focus sliding to the next button when the focused one is disabled.
    void disablingTheFocusedButtonGivesTheFocusToTheWindow()
    {
        auto form = openForm();
        form->first.setEnabled(false);
        QVERIFY(!form->second.hasFocus());
        QCOMPARE(form->focusWidget(), form.get());
        keys::press(*form, Qt::Key_Return, QStringLiteral("\r"));
        keys::press(*form, Qt::Key_Space, QStringLiteral(" "));
        QCOMPARE(form->events, QStringList({"key 13", "key 32"}));
        QCOMPARE(errorOf([&] { form->first.setFocus(); }), std::optional(ErrorKind::InvalidCall));
        form->first.setEnabled(true);
        form->first.setFocus();
        QVERIFY(form->first.hasFocus());
    }

    void aDisabledButtonRaisesNoClick()
    {
        auto form = openForm();
        form->second.setEnabled(false);
        QTest::mouseClick(form->second.widget(), Qt::LeftButton);
        QVERIFY(form->events.isEmpty());
    }

    // An error in an event ends the program with status 1. While its report, which names the
    // error in the window's language, its one button included, is up, the timers are stopped
    // and the window takes no input.
    void anErrorInAnEventIsReportedAndEndsTheProgram_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        QTest::newRow("overflow") << int(ErrorKind::Overflow) << QStringLiteral("溢出");
        QTest::newRow("subscript out of range") << int(ErrorKind::SubscriptOutOfRange) << QStringLiteral("下标越界");
    }

    void anErrorInAnEventIsReportedAndEndsTheProgram()
    {
        QFETCH(int, kind);
        QFETCH(QString, name);
        ProbeForm form(clock_);
        form.timer.setEnabled(true);
        form.first.onClick([&] { rt::raise(ErrorKind(kind)); });
        QStringList report;
        bool atRest = false;
        QTimer::singleShot(0, &form, [&] { QTest::mouseClick(form.first.widget(), Qt::LeftButton); });
        QTimer::singleShot(0, &form, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                report << box->text();
                for (QAbstractButton* button : box->buttons())
                    report << button->text();
                atRest = !form.timer.isEnabled() && !form.isEnabled() && box->isEnabled();
                box->done(QMessageBox::Ok);
            }
        });
        QCOMPARE(rt::openAndRun(form), 1);
        QCOMPARE(report, QStringList({QStringLiteral("运行时错误：") + name, QStringLiteral("确定")}));
        QVERIFY(atRest);
        keys::press(form, Qt::Key_A, QStringLiteral("a"));
        QVERIFY(form.events.isEmpty());
    }

    void changesArePaintedWhenTheHandlerReturns_data()
    {
        QTest::addColumn<bool>("tick");
        QTest::newRow("a tick") << true;
        QTest::newRow("a click") << false;
    }

    // What a handler changed is painted before the event loop runs again, where whatever else has
    // come in meanwhile would go first and hold the change back from the screen; a line moved end
    // by end only where it was and where it ends, not across the slant between.
    void changesArePaintedWhenTheHandlerReturns()
    {
        QFETCH(bool, tick);
        auto form = openForm();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCoreApplication::processEvents(); // the first paint
        const QRect before = form->caret.bounds();
        const auto moveCaret = [&] {
            form->caret.setX1(100);
            form->caret.setX2(100);
        };
        form->timer.onTimer(moveCaret);
        form->first.onClick(moveCaret);
        PaintedArea painted(*form);
        if (tick) {
            form->timer.setEnabled(true);
            clock_.advance(100ms);
        } else {
            form->first.widget()->click();
        }
        QCOMPARE(painted.area, QRegion(before) + form->caret.bounds());
    }

    void labelsDrawTheirOwnCaptionWhateverTheirArrayDrewBefore_data()
    {
        QTest::addColumn<QStringList>("drawnBefore"); // by element 1, one after another
        QTest::addColumn<bool>("prepared");
        QStringList many;
        for (int n = 0; n < 100; ++n)
            many << QString::number(n);
        QTest::newRow("nothing") << QStringList() << false;
        QTest::newRow("the same caption") << QStringList{QStringLiteral("Q")} << false;
        QTest::newRow("another caption") << QStringList{QStringLiteral("O")} << false;
        QTest::newRow("the prepared captions") << QStringList() << true;
        QTest::newRow("more captions than are kept") << many << true;
    }

    // The elements of an array share what they have laid out, and the prepared captions; each
    // still draws its own caption exactly as a label of its own would, and preparing changes
    // nothing that is shown.
    void labelsDrawTheirOwnCaptionWhateverTheirArrayDrewBefore()
    {
        QFETCH(QStringList, drawnBefore);
        QFETCH(bool, prepared);
        auto form = openForm();
        const rt::LabelDescription description = cell(10);
        rt::ControlArray<rt::Label> labels(*form, description);
        labels(0).willShow({QStringLiteral("W"), QStringLiteral("Q"), QStringLiteral("O")});
        labels.load(1);
        labels.load(2);
        if (prepared)
            labels(0).prepare();
        for (const QString& caption : drawnBefore) {
            labels(1).setCaption(caption);
            paintedAlone(labels(1));
        }
        labels(2).setCaption(QStringLiteral("Q"));
        const auto drawnByItself = [&](const QString& caption) {
            rt::Label alone(*form, description);
            alone.setCaption(caption);
            return paintedAlone(alone);
        };
        QCOMPARE(paintedAlone(labels(2)), drawnByItself(QStringLiteral("Q")));
        QCOMPARE(paintedAlone(labels(0)), drawnByItself(QStringLiteral("W")));
        QCOMPARE(paintedAlone(labels(1)), drawnByItself(labels(1).caption()));
    }

    void closingTheWindowEndsTheProgramNormally()
    {
        ProbeForm form(clock_);
        QTimer::singleShot(0, &form, [&] { form.close(); });
        QCOMPARE(rt::openAndRun(form), 0);
        QVERIFY(form.isUnloaded());
    }

    // A face whose lines are one em high at 14.25 points lays out 19-pixel lines; longer texts
    // grow by whole lines.
    void autoSizedLabelsGrowByWholeLines()
    {
        auto form = openForm();
        rt::Label label(*form,
            {.left = 0,
                .top = 0,
                .width = 120,
                .height = 19,
                .font = {.face = QStringLiteral("AR PL UMing CN"), .points = 14.25, .lineSpacingEm = 1.0},
                .opaque = false,
                .autoSizeWithWordWrap = true});
        label.setCaption(QStringLiteral("一行"));
        QCOMPARE(label.height(), 19);
        label.setCaption(QStringLiteral("这是一段要折成好几行才能放下的说明文字"));
        QVERIFY(label.height() >= 38);
        QCOMPARE(label.height() % 19, 0);
    }

    // A face that is not installed is drawn in the first of its stand-ins that is.
    void facesFallBackToTheirFirstInstalledStandIn()
    {
        const auto family
            = [](const rt::FontDescription& description) { return QFontInfo(rt::makeFont(description)).family(); };
        const QString serif = QStringLiteral("Liberation Serif");
        QCOMPARE(family({.face = QStringLiteral("none such"), .standIns = {QStringLiteral("nor this"), serif}}), serif);
        QCOMPARE(family({.face = serif, .standIns = {QStringLiteral("DejaVu Sans")}}), serif);
    }
};

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
