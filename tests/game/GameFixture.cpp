// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameFixture.h"

#include <QApplication>
#include <QPushButton>
#include <QStyleFactory>
#include <QTest>

GameFixture::GameFixture(std::uint64_t seed)
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    form_ = std::make_unique<frmMain>(clock_);
    form_->random().seed(seed);
    form_->setErrorReporter([this](rt::Form&, const rt::RuntimeError& error) { errors_.append(error.kind()); });
    QObject::connect(form_.get(), &rt::Form::unloaded, form_.get(), [this](int code) { exitCode_ = code; });
    form_->open();
    form_->activateWindow();
    QApplication::setActiveWindow(form_.get());
}

// The window system's events for a window queue up until an event loop runs, which tests on the
// virtual clock never do; once the window has gone they are dropped, so that thousands of
// windows in one run (the random test, the fuzzer) do not pile them up.
GameFixture::~GameFixture()
{
    form_.reset();
    QApplication::processEvents();
}

QWidget* GameFixture::focusedWidget()
{
    return form_->focusWidget() ? form_->focusWidget() : form_.get();
}

void GameFixture::pressKey(Qt::Key key, const QString& text, bool autoRepeat)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text, autoRepeat);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text, autoRepeat);
    QWidget* target = focusedWidget();
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(focusedWidget(), &release);
}

void GameFixture::type(const QString& text)
{
    for (const QChar c : text) {
        const auto key
            = c.isLetter() && c.unicode() < 128 ? Qt::Key(Qt::Key_A + (c.toUpper().unicode() - 'A')) : Qt::Key_unknown;
        pressKey(key, QString(c));
    }
}

void GameFixture::click(rt::CommandButton& button)
{
    QTest::mouseClick(button.widget(), Qt::LeftButton);
}

QImage GameFixture::render()
{
    return form_->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QString GameFixture::presentStep()
{
    const int count = form_->letterCount.value();
    advance(std::chrono::milliseconds(500 * (count + 1)));
    return shownSequence();
}

QString GameFixture::shownSequence()
{
    QString letters;
    for (int i = 0; i < form_->letterCount.value(); ++i)
        letters += form_->shownLetters(i);
    return letters;
}

QString GameFixture::displayRow()
{
    QString letters;
    for (int i = 0; form_->lblLetter.isLoaded(i); ++i)
        letters += form_->lblLetter(i).caption().isEmpty() ? QStringLiteral("_") : form_->lblLetter(i).caption();
    return letters;
}

QString GameFixture::correctionRow()
{
    QString letters;
    for (int i = 0; form_->lblLetterWrong.isLoaded(i) && form_->lblLetterWrong(i).isVisible(); ++i)
        letters += form_->lblLetterWrong(i).caption();
    return letters;
}
