// SPDX-License-Identifier: GPL-3.0-or-later
#include "LetterReader.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <limits>

namespace {

// Coloured letters (magenta or red) on the white label: red stays high, green drops. The black
// caret and shadow have no red, so they never count as part of a letter.
bool isInk(QRgb pixel)
{
    return qRed(pixel) >= 160 && qGreen(pixel) < 128;
}

QBitArray inkMask(const QImage& label)
{
    QBitArray mask(label.width() * label.height());
    for (int y = 0; y < label.height(); ++y) {
        for (int x = 0; x < label.width(); ++x)
            mask.setBit(y * label.width() + x, isInk(label.pixel(x, y)));
    }
    return mask;
}

// Compares the label with the reference moved by (dx, dy): a pixel's give either way allows for
// the program laying its text out a little differently from the plain drawing of the references.
int mismatches(const QBitArray& label, const QBitArray& reference, int dx, int dy)
{
    constexpr int size = LetterReader::labelSize;
    int count = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int rx = x - dx;
            const int ry = y - dy;
            const bool ink = rx >= 0 && rx < size && ry >= 0 && ry < size && reference.testBit(ry * size + rx);
            count += label.testBit(y * size + x) != ink;
        }
    }
    return count;
}

} // namespace

LetterReader::LetterReader()
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Serif")});
    font.setPixelSize(48);
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        QImage label(labelSize, labelSize, QImage::Format_RGB32);
        label.fill(Qt::white);
        QPainter painter(&label);
        painter.setFont(font);
        painter.setPen(QColor(192, 0, 192));
        painter.drawText(label.rect(), Qt::AlignHCenter | Qt::AlignTop, QString(QLatin1Char(letter)));
        painter.end();
        references_ << inkMask(label);
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
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx)
                best = std::min(best, mismatches(mask, references_[i], dx, dy));
        }
        if (best < reading.mismatches)
            reading = {QChar(u'A' + i), best, reading.mismatches};
        else if (best < reading.runnerUp)
            reading.runnerUp = best;
    }
    return reading;
}
