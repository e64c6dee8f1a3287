// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameFixture.h"

#include <forms/frmMainScreenReader.h>
#include <tests/shared/Keyboard.h>

#include <QApplication>
#include <QHash>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>
#include <QTest>

#include <functional>
#include <map>

GameFixture::GameFixture(std::uint64_t seed)
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    form_ = std::make_unique<frmMain>(clock_);
    accessibles_ = std::make_unique<rt::FormAccessibles>(*form_);
    declareToScreenReaders(*form_, *accessibles_);
    form_->random().seed(seed);
    form_->setErrorReporter([this](QWidget&, const rt::RuntimeError& error) { errors_.append(error.kind()); });
    accessibles_->setSpeaker([this](const QString& text, bool aheadOfReader) {
        spoken_.append(aheadOfReader ? QStringLiteral("ahead of the reader: ") + text : text);
    });
    QObject::connect(form_.get(), &rt::Form::unloaded, form_.get(), [this](int code) { exitCode_ = code; });
    form_->open();
    form_->activateWindow();
    QApplication::setActiveWindow(form_.get());
}

// The window system's events for a window queue up until an event loop runs, which tests on the
// virtual clock do only to compare paints; once the window has gone they are dropped, so that thousands of
// windows in one run (the random test, the fuzzer) do not pile them up.
GameFixture::~GameFixture()
{
    accessibles_.reset();
    form_.reset();
    otherWindow_.reset();
    QApplication::processEvents();
}

QWidget* GameFixture::focusedWidget()
{
    return keys::target(*form_);
}

void GameFixture::pressKey(Qt::Key key, const QString& text, bool autoRepeat)
{
    keys::press(*form_, key, text, autoRepeat);
}

void GameFixture::type(const QString& text)
{
    for (const QChar c : text)
        pressKey(keys::keyFor(c), QString(c));
}

void GameFixture::click(rt::CommandButton& button)
{
    QTest::mouseClick(button.widget(), Qt::LeftButton);
}

QImage GameFixture::render()
{
    if (rendered_.size() != form_->size())
        rendered_ = QImage(form_->size(), QImage::Format_RGB32);
    form_->render(&rendered_);
    return rendered_;
}

QImage GameFixture::painted()
{
    QApplication::processEvents();
    return form_->screen()->grabWindow(form_->winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

QString GameFixture::presentStep()
{
    advance(design::tickInterval * (form_->letterCount.value() + 1));
    return shownLetters();
}

QString GameFixture::shownLetters()
{
    QString letters;
    for (int i = 0; form_->shownLetters.hasElements() && i <= form_->shownLetters.upperBound().value(); ++i)
        letters += form_->shownLetters(i);
    return letters;
}

QString GameFixture::keysFor(const QString& keys)
{
    const QString shown = shownLetters();
    int next = form_->inputPos.value();
    QString text;
    for (const QChar key : keys) {
        const QChar letter = next < shown.size() ? shown[next] : QChar();
        if (key == u'*') {
            text += shown.mid(next);
            next = int(shown.size());
        } else if (QStringView(u"=-~").contains(key)) {
            text += key == u'=' ? letter : key == u'-' ? letter.toLower() : letters::otherLetter(letter);
            ++next;
        } else {
            text += key;
            next = key == u'\b' ? std::max(next - 1, 0) : next;
        }
    }
    return text;
}

void GameFixture::play(const QString& script)
{
    const std::map<QString, std::function<void(const QString&)>> verbs = {
        {"start", [&](auto) { click(form_->cmdStart); }}, {"restart", [&](auto) { click(form_->cmdRestart); }},
        {"exit", [&](auto) { click(form_->cmdExit); }}, {"reveal", [&](auto) { presentStep(); }},
        {"backtab", [&](auto) { pressKey(Qt::Key_Backtab); }}, {"type", [&](const QString& keys) { type(keys); }},
        {"key", [&](const QString& keys) { pressKey(Qt::Key_unknown, keys); }},
        {"exit-key",
            [&](const QString& keys) { keys::send(form_->cmdExit.widget(), QEvent::KeyPress, Qt::Key_unknown, keys); }},
        {"hold",
            [&](const QString& key) {
                // The first press, the repeats as a desktop sends them, the release.
                const QString text = key == u"space" ? QStringLiteral(" ") : key;
                for (int i = 0; i < 18; ++i)
                    keys::send(focusedWidget(), i % 2 ? QEvent::KeyRelease : QEvent::KeyPress, keys::keyFor(text[0]),
                        text, i > 0 && i < 17);
            }},
        {"ime",
            [&](const QString& text) {
                QInputMethodEvent commit;
                commit.setCommitString(text);
                QApplication::sendEvent(focusedWidget(), &commit);
            }},
        {"away",
            [&](auto) {
                otherWindow_ = std::make_unique<QWidget>();
                otherWindow_->show();
                QApplication::setActiveWindow(otherWindow_.get());
                QVERIFY(!form_->isActiveWindow());
            }},
        {"back",
            [&](auto) {
                QApplication::setActiveWindow(form_.get());
                QVERIFY(form_->isActiveWindow());
            }},
        {"length", [&](const QString& n) { form_->letterCount = n.toInt(); }},
        {"failed", [&](const QString& n) { form_->failedUpper = n.toInt(); }},
        {"drop", [&](const QString& n) { form_->shpBack.unload(n.toInt()); }}};
    for (const QString& word : script.split(u' ', Qt::SkipEmptyParts)) {
        if (word.startsWith(u'+'))
            advance(std::chrono::milliseconds(word.toInt()));
        else
            verbs.at(word.section(u':', 0, 0))(keysFor(word.section(u':', 1)));
    }
}

QString GameFixture::row(const rt::ControlArray<rt::Label>& cells, const rt::ControlArray<rt::Shape>& shadows, int top)
{
    const QString shown = shownLetters();
    QString row;
    for (int i = 0; cells.isLoaded(i) && shadows.isLoaded(i); ++i) {
        const rt::Label& cell = cells(i);
        const rt::Shape& shadow = shadows(i);
        const bool placed = cell.left() == design::cellLeft(i) && cell.top() == top
            && shadow.left() == design::squareLeft(i) && shadow.top() == top + design::shadowOffset;
        row += cell.isVisible() != shadow.isVisible() ? QStringLiteral("!")
            : !cell.isVisible()                       ? QStringLiteral(".")
            : !placed                                 ? QStringLiteral("@")
                                                      : mark(cell.caption(), shown, i);
    }
    return row;
}

QString GameFixture::mark(const QString& caption, const QString& shown, int i)
{
    const QChar place = i < shown.size() ? shown[i] : QChar();
    return caption.isEmpty()                     ? QStringLiteral("_")
        : caption == place                       ? QStringLiteral("=")
        : caption == letters::otherLetter(place) ? QStringLiteral("~")
                                                 : caption;
}

QString GameFixture::state()
{
    using namespace design;
    static const QHash<QString, QString> names = {{openingText, "opening"}, {revealText, "reveal"},
        {answerText, "answer"}, {rightText, "right"}, {failedText, "failed"}, {correctionCaption, "/correction"},
        {startCaption, "start"}, {repeatCaption, "repeat"}, {restartCaption, "restart"}, {exitCaption, "exit"}};
    const frmMain& form = *form_;
    const rt::Line& caret = form.linCursor;
    const int next = form.inputPos.value();
    QStringList buttons, timers;
    for (const rt::CommandButton* button : {&form.cmdStart, &form.cmdRestart, &form.cmdExit})
        buttons << (button->isEnabled() ? "" : "-") + names.value(button->caption(), button->caption())
                + (button->hasFocus() ? "*" : "");
    for (const auto& [timer, name] : {std::pair(&form.Timer1, "Timer1"), std::pair(&form.Timer2, "Timer2"),
             std::pair(&form.tmrCursor, "tmrCursor")}) {
        if (timer->isEnabled())
            timers << name;
    }
    const bool caretPlaced
        = caret.x1() == caretX(next) && caret.x2() == caret.x1() && caret.y1() == caretTop && caret.y2() == caretBottom;
    QString state = QStringLiteral("%1%2 %3 %4 %5 %6/%7 %8%9 %10")
                        .arg(names.value(form.Label1.caption(), form.Label1.caption()),
                            names.value(form.Label3.caption(), form.Label3.caption()),
                            row(form.lblLetter, form.shpBack, displayRowTop),
                            row(form.lblLetterWrong, form.shpBackWrong, correctionRowTop), buttons.join(u','))
                        .arg(form.letterCount.value())
                        .arg(shownLetters().size())
                        .arg(next)
                        .arg(!caret.isVisible() ? ""
                                : caretPlaced   ? "|"
                                                : "|misplaced",
                            timers.isEmpty() ? "-" : timers.join(u','));
    if (exitCode_ != -1)
        state += QStringLiteral(" exit %1").arg(exitCode_);
    for (const rt::ErrorKind kind : errors_)
        state += QStringLiteral(", error: ") + rt::RuntimeError(kind).what();
    return state;
}

void addPlayColumns()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("state");
}

void addPlay(const char* name, const QString& script, const QString& state)
{
    QTest::newRow(name) << script << state;
}

void checkPlay()
{
    QFETCH(QString, script);
    QFETCH(QString, state);
    GameFixture game;
    game.play(script);
    QCOMPARE(game.state(), state);
}
