// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameFixture.h"

#include <forms/frmMainScreenReader.h>
#include <tests/shared/Keyboard.h>

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>
#include <QTest>

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

QString GameFixture::startAnswering()
{
    click(form_->cmdStart);
    return presentStep();
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
