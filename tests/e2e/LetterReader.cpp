// SPDX-License-Identifier: GPL-3.0-or-later
#include "LetterReader.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <limits>

namespace {

// Coloured letters (magenta or red) on the white label: red stays high, green drops. The black
// caret and shadow have no red, so they never count as part of a letter.
QBitArray inkMask(const QImage& label)
{
    QBitArray mask(label.width() * label.height());
    for (int y = 0; y < label.height(); ++y) {
        for (int x = 0; x < label.width(); ++x)
            mask.setBit(y * label.width() + x, qRed(label.pixel(x, y)) >= 160 && qGreen(label.pixel(x, y)) < 128);
    }
    return mask;
}

} // namespace

LetterReader::LetterReader()
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Serif")});
    font.setPixelSize(48);
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        QImage label(design::cellSize, design::cellSize, QImage::Format_RGB32);
        label.fill(Qt::white);
        QPainter painter(&label);
        painter.setFont(font);
        painter.setPen(QColor(192, 0, 192));
        painter.drawText(label.rect(), Qt::AlignHCenter | Qt::AlignTop, QString(QLatin1Char(letter)));
        painter.end();
        // Moved by a pixel either way too, which allows for the program laying its text out a little
        // differently from this plain drawing; what moves in from outside (filled with 0) is no ink.
        references_.emplaceBack();
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx)
                references_.back() << inkMask(label.copy(-dx, -dy, design::cellSize, design::cellSize));
        }
    }
}

LetterReader::Reading LetterReader::read(const QImage& label) const
{
    const QBitArray mask = inkMask(label);
    if (mask.count(true) == 0)
        return {};
    Reading reading{QChar(), std::numeric_limits<int>::max(), std::numeric_limits<int>::max()};
    for (int i = 0; i < references_.size(); ++i) {
        int best = std::numeric_limits<int>::max();
        for (const QBitArray& moved : references_[i])
            best = std::min(best, int((mask ^ moved).count(true)));
        if (best < reading.mismatches)
            reading = {QChar(u'A' + i), best, reading.mismatches};
        else if (best < reading.runnerUp)
            reading.runnerUp = best;
    }
    return reading;
}
