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
#include <QFontMetrics>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <QtGui/private/qfont_p.h>
#include <QtGui/private/qfontengine_ft_p.h>

using namespace std::chrono_literals;
using rt::ErrorKind;

namespace {

const rt::LabelDescription cell{.left = 10,
    .top = 10,
    .width = 50,
    .height = 50,
    .caption = QStringLiteral("W"),
    .font = {QStringLiteral("Times New Roman"), 36, 400},
    .foreColor = rt::rgb(192, 0, 192),
    .backColor = rt::rgb(255, 255, 255),
    .alignment = Qt::AlignHCenter,
    .visible = false};

// Whether the face has rendered the character's glyph, upright and unscaled, at any sub-pixel
// position, into the cache that painting draws from.
bool rendered(const QFont& font, char16_t character)
{
    QFontEngine* engine = QFontPrivate::get(font)->engineForScript(QChar::Script_Latin);
    if (engine->type() == QFontEngine::Multi)
        engine = static_cast<QFontEngineMulti*>(engine)->engine(0);
    if (engine->type() != QFontEngine::Freetype)
        return true; // a face that keeps no glyphs of its own: nothing to tell
    auto* glyphs = static_cast<QFontEngineFT*>(engine)->loadGlyphSet(QTransform());
    const glyph_t glyph = engine->glyphIndex(character);
    for (int x = 0; x < 64; ++x) {
        if (glyphs->getGlyph(glyph, QFixedPoint(QFixed::fromFixed(x), 0)))
            return true;
    }
    return false;
}

// Two buttons, a caret over a row of cells, and a log of every key and click in order.
class ProbeForm : public rt::Form {
public:
    explicit ProbeForm(rt::Clock& clock)
        : rt::Form(clock, {.clientWidth = 300, .clientHeight = 150, .backColor = rt::rgb(255, 255, 192)})
    {
        first.onClick([this] { events << QStringLiteral("click first"); });
        second.onClick([this] { events << QStringLiteral("click second"); });
        setObjectName("window");
        first.widget()->setObjectName("first");
        second.widget()->setObjectName("second");
    }

    void Form_KeyPress(rt::Int16 keyAscii) override { events << QStringLiteral("key %1").arg(keyAscii.value()); }
    QString focused() const { return focusWidget() ? focusWidget()->objectName() : QStringLiteral("nowhere"); }

    rt::CommandButton second{
        *this, {.left = 100, .top = 110, .width = 60, .height = 25, .caption = "2", .tabIndex = 2}};
    rt::CommandButton first{*this, {.left = 10, .top = 110, .width = 60, .height = 25, .caption = "1", .tabIndex = 1}};
    rt::Timer timer{*this, {.interval = 100}};
    rt::Line caret{*this, {.x1 = 30, .y1 = 20, .x2 = 30, .y2 = 50, .borderWidth = 2}};
    rt::ControlArray<rt::Label> letters{*this, cell};
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

    // Each key reaches Form_KeyPress once, then the focused button; Enter and Space click it. With
    // Alt, Ctrl or Meta a key is a command: it reaches the button but types nothing. Shift and AltGr
    // (Qt's group switch) type what they give; pasted text comes one UTF-16 code at a time.
    void keysArePreviewedOnceThenReachTheButton()
    {
        auto form = openForm();
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
        keys::press(*form, Qt::Key_unknown, QStringLiteral("xY\U0001F600"));
        QCOMPARE(form->events,
            QStringList({"key 13", "click first", "key 32", "click first", "key 97", "key 8", "key 65", "key 64",
                "click first", "click first", "click first", "key 120", "key 89",
                QStringLiteral("key %1").arg(qint16(0xD83D)), QStringLiteral("key %1").arg(qint16(0xDE00))}));
    }

    void tabOrderFollowsTabIndexAndStartsTheFocus()
    {
        auto form = openForm();
        QStringList seen{form->focused()};
        const auto press = [&](Qt::Key key) {
            keys::press(*form, key, key == Qt::Key_Tab ? QStringLiteral("\t") : QString());
            seen << form->focused();
        };
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);
        press(Qt::Key_Backtab);
        // With the focus on the window, Tab goes to the first button that can take it: of two,
        // and of one.
        form->second.setEnabled(false);
        form->second.setEnabled(true);
        seen << form->focused();
        press(Qt::Key_Tab);
        form->first.setEnabled(false);
        form->first.setEnabled(true);
        form->second.setEnabled(false);
        press(Qt::Key_Tab);
        QCOMPARE(seen, QStringList({"first", "second", "first", "second", "window", "first", "first"}));
    }

    // Catches the focus sliding to the next button when the focused one is disabled. A disabled
    // button takes no click, by key or by mouse.
    void disablingTheFocusedButtonGivesTheFocusToTheWindow()
    {
        auto form = openForm();
        form->first.setEnabled(false);
        keys::press(*form, Qt::Key_Return, QStringLiteral("\r"));
        keys::press(*form, Qt::Key_Space, QStringLiteral(" "));
        QTest::mouseClick(form->first.widget(), Qt::LeftButton);
        QCOMPARE(form->events, QStringList({"key 13", "key 32"}));
        QCOMPARE(errorOf([&] { form->first.setFocus(); }), std::optional(ErrorKind::InvalidCall));
        form->first.setEnabled(true);
        form->first.setFocus();
        QVERIFY(form->first.hasFocus());
    }

    // An error in an event ends the program with status 1. While its report, which names the
    // error in the window's language, its one button included, is up, the timers are stopped
    // and the window takes no input. Closing the window ends it with status 0, unreported.
    void anErrorOrClosingTheWindowEndsTheProgram_data()
    {
        QTest::addColumn<int>("kind"); // of the error a click raises; -1: the click closes the window
        QTest::addColumn<QStringList>("report");
        QTest::newRow("overflow") << int(ErrorKind::Overflow) << QStringList{"运行时错误：溢出", "确定", "at rest"};
        QTest::newRow("subscript out of range")
            << int(ErrorKind::SubscriptOutOfRange) << QStringList{"运行时错误：下标越界", "确定", "at rest"};
        QTest::newRow("closing the window") << -1 << QStringList();
    }

    void anErrorOrClosingTheWindowEndsTheProgram()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, report);
        ProbeForm form(clock_);
        form.timer.setEnabled(true);
        form.first.onClick([&] { kind < 0 ? void(form.close()) : rt::raise(ErrorKind(kind)); });
        QStringList shown;
        QTimer::singleShot(0, &form, [&] { QTest::mouseClick(form.first.widget(), Qt::LeftButton); });
        QTimer::singleShot(0, &form, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown << box->text();
                for (QAbstractButton* button : box->buttons())
                    shown << button->text();
                shown << (!form.timer.isEnabled() && !form.isEnabled() && box->isEnabled() ? "at rest" : "busy");
                box->done(QMessageBox::Ok);
            }
        });
        QCOMPARE(rt::openAndRun(form), kind < 0 ? 0 : 1);
        QCOMPARE(shown, report);
        QVERIFY(form.isUnloaded());
        keys::press(form, Qt::Key_A, QStringLiteral("a"));
        QVERIFY(form.events.isEmpty());
    }

    void changesArePaintedWhenTheHandlerReturns_data()
    {
        QTest::addColumn<bool>("tick");
        QTest::newRow("a tick") << true;
        QTest::newRow("a click") << false;
    }

    // What a handler changed is painted before the event loop runs again, which could first run
    // whatever else came in and hold the change back; a line moved end by end is painted where its
    // pen was and where it ends, every pixel of both, but not across the slant between; and what
    // one event changed is not painted again for the next.
    void changesArePaintedWhenTheHandlerReturns()
    {
        QFETCH(bool, tick);
        auto form = openForm();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCoreApplication::processEvents(); // the first paint
        const QRect before = form->caret.bounds();
        std::function<void()> change = [&] {
            form->caret.setX1(100);
            form->caret.setX2(100);
        };
        form->timer.onTimer([&] { change(); });
        form->first.onClick([&] { change(); });
        form->timer.setEnabled(tick);
        const auto raise = [&] { tick ? clock_.advance(100ms) : form->first.widget()->click(); };
        PaintedArea painted(*form);
        raise();
        QCOMPARE(painted.area, QRegion(before) + form->caret.bounds());
        QVERIFY((QRegion(29, 20, 2, 30) + QRegion(99, 20, 2, 30) - painted.area).isEmpty());
        // The next event paints its own change alone.
        change = [&] { form->letters(0).setVisible(true); };
        painted.area = QRegion();
        raise();
        QCOMPARE(painted.area, QRegion(form->letters(0).bounds()));
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
        form->letters(0).willShow({QStringLiteral("W"), QStringLiteral("Q"), QStringLiteral("O")});
        form->letters.load(1);
        form->letters.load(2);
        if (prepared)
            form->letters(0).prepare();
        for (const QString& caption : drawnBefore) {
            form->letters(1).setCaption(caption);
            paintedAlone(form->letters(1));
        }
        form->letters(2).setCaption(QStringLiteral("Q"));
        const QStringList captions{QStringLiteral("W"), form->letters(1).caption(), QStringLiteral("Q")};
        for (int i = 0; i < 3; ++i) {
            rt::Label alone(*form, cell);
            alone.setCaption(captions[i]);
            QCOMPARE(paintedAlone(form->letters(i)), paintedAlone(alone));
        }
    }

    // Prepared captions are drawn once off screen, which renders their glyphs before they first
    // show; in a size no other test draws, so that nothing rendered them before.
    void preparedCaptionsAreRenderedBeforeTheyShow()
    {
        auto form = openForm();
        rt::LabelDescription description = cell;
        description.font.points = 31;
        rt::Label label(*form, description);
        label.willShow({QStringLiteral("K"), QStringLiteral("X")});
        const QFont font = label.textLayout().font();
        QVERIFY(!rendered(font, u'K'));
        label.prepare();
        QVERIFY(rendered(font, u'K'));
        QVERIFY(rendered(font, u'X'));
    }

    // A face whose lines are one em high at 14.25 points lays out 19-pixel lines, one without a
    // spacing of its own the face's; longer texts grow by whole lines, and are drawn as they are.
    void autoSizedLabelsGrowByWholeLines()
    {
        auto form = openForm();
        rt::FontDescription font{.face = QStringLiteral("AR PL UMing CN"), .points = 14.25, .lineSpacingEm = 1.0};
        const auto grown = [&](int lineHeight) {
            rt::Label label(*form, {.width = 120, .height = 19, .font = font, .autoSizeWithWordWrap = true});
            label.setCaption(QStringLiteral("一行"));
            QCOMPARE(label.height(), lineHeight);
            const QString longer = QStringLiteral("这是一段要折成好几行才能放下的说明文字");
            label.setCaption(longer);
            QVERIFY(label.height() >= 2 * lineHeight);
            QCOMPARE(label.height() % lineHeight, 0);
            QCOMPARE(label.textLayout().text(), longer);
        };
        grown(19);
        font.lineSpacingEm = 0;
        grown(QFontMetrics(rt::makeFont(font)).height());
    }

    // A shape's border, two pixels wide here, lies on its outermost pixels, its fill within.
    void shapesDrawTheirBorderOnTheirEdges()
    {
        auto form = openForm();
        const QColor fill(255, 255, 255), border(255, 0, 0);
        const rt::Shape shape(*form,
            {.width = 12,
                .height = 10,
                .fillColor = rt::rgb(255, 255, 255),
                .borderColor = rt::rgb(255, 0, 0),
                .borderWidth = 2});
        QImage image(12, 10, QImage::Format_RGB32);
        QPainter painter(&image);
        shape.paint(painter, QPalette());
        painter.end();
        for (const QPoint edge : {QPoint(6, 0), QPoint(6, 1), QPoint(6, 8), QPoint(6, 9), QPoint(0, 5), QPoint(1, 5),
                 QPoint(10, 5), QPoint(11, 5)})
            QCOMPARE(image.pixelColor(edge), border);
        for (const QPoint inside : {QPoint(6, 2), QPoint(6, 7), QPoint(2, 5), QPoint(9, 5)})
            QCOMPARE(image.pixelColor(inside), fill);
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
