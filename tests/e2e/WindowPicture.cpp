// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowPicture.h"

#include <tests/shared/Pixels.h>

using namespace layout;

int WindowPicture::count(const QRect& area, const QColor& color) const
{
    return pixels::count(image_, area, color);
}

bool WindowPicture::allOf(const QRect& area, const QColor& color) const
{
    return count(area, color) == area.width() * area.height();
}

QRect WindowPicture::boundsOf(const QColor& color) const
{
    QRect bounds;
    for (int y = 0; y < image_.height(); ++y) {
        for (int x = 0; x < image_.width(); ++x) {
            if (image_.pixelColor(x, y) == color)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

// A cell shows as its white label with the square's 2-pixel black shadow to the right and below.
bool WindowPicture::cellShown(int rowTop, int cell) const
{
    const QRect label = letterLabel(rowTop, cell);
    return image_.pixelColor(label.topLeft()) == white
        && image_.pixelColor(label.right() + 2, label.bottom() + 2) == black;
}

// Cells from index 9 on lie outside the window.
Row WindowPicture::row(int rowTop) const
{
    Row row;
    while (row.cells < 9 && cellShown(rowTop, row.cells)) {
        const QChar letter = readCell(rowTop, row.cells).letter;
        row.letters += letter.isNull() ? QChar(u' ') : letter;
        ++row.cells;
    }
    for (int cell = row.cells + 1; cell < 9; ++cell)
        row.stray = row.stray || cellShown(rowTop, cell);
    return row;
}

LetterReader::Reading WindowPicture::readCell(int rowTop, int cell) const
{
    return reader_->read(image_.copy(letterLabel(rowTop, cell)));
}

QString WindowPicture::cellLookProblem(int rowTop, int cell, const QColor& letterColor) const
{
    const QRect label = letterLabel(rowTop, cell);
    const QString where = QStringLiteral("cell %1 of the row at %2: ").arg(cell).arg(rowTop);
    // The square lies 2 pixels right of and below the opaque label, which hides all of it but its
    // right and bottom edges.
    if (!allOf(QRect(label.right() + 1, label.top() + 2, 2, 50), black)
        || !allOf(QRect(label.left() + 2, label.bottom() + 1, 50, 2), black))
        return where + QStringLiteral("no black shadow on the right and at the bottom");
    if (!allOf(QRect(label.right() + 1, label.top(), 2, 2), background)
        || !allOf(QRect(label.left(), label.bottom() + 1, 2, 2), background))
        return where + QStringLiteral("the shadow reaches past the square");
    for (const QPoint corner : {label.topLeft(), label.topRight(), label.bottomLeft(), label.bottomRight()}) {
        if (image_.pixelColor(corner) != white)
            return where + QStringLiteral("the box is not white");
    }
    if (letterColor.isValid() && count(label, letterColor) < 30)
        return where + QStringLiteral("the letter is not drawn in ") + letterColor.name();
    return {};
}

// The caret: 2 pixels wide, at the left edge of the cell's square, from y 110 to 139.
bool WindowPicture::caretAt(int cell) const
{
    return allOf(QRect(design::caretX(cell) - design::caretWidth + 1, design::caretTop, design::caretWidth,
                     design::caretBottom - design::caretTop),
        black);
}

bool WindowPicture::caretAnywhere() const
{
    for (int cell = 0; cell < 9; ++cell) {
        if (caretAt(cell))
            return true;
    }
    return false;
}

bool WindowPicture::hasFocusFrame(const QRect& button) const
{
    return pixels::hasFocusFrame(image_, button);
}
