// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowPicture.h"

using namespace design;

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

QString WindowPicture::cellLookProblem(int rowTop, int cell, const QColor& letterColor) const
{
    using pixels::Expect;
    const QRect l = letterLabel(rowTop, cell);
    // The square lies 2 pixels right of and below the opaque white label, which hides all of it but
    // its right and bottom edges: a black shadow there, that reaches no further than the square.
    QString problem = pixels::failedProbe(image_,
        {{QRect(l.right() + 1, l.top() + 2, 2, 50), black, Expect::All},
            {QRect(l.left() + 2, l.bottom() + 1, 50, 2), black, Expect::All},
            {QRect(l.right() + 1, l.top(), 2, 2), background, Expect::All},
            {QRect(l.left(), l.bottom() + 1, 2, 2), background, Expect::All}, {l.left(), l.top(), white},
            {l.right(), l.top(), white}, {l.left(), l.bottom(), white}, {l.right(), l.bottom(), white}});
    if (problem.isEmpty() && letterColor.isValid() && count(l, letterColor) < 30)
        problem = QStringLiteral("the letter is not drawn in ") + letterColor.name();
    return problem.isEmpty() ? problem : QStringLiteral("cell %1 of the row at %2: ").arg(cell).arg(rowTop) + problem;
}

// The caret: 2 pixels wide, at the left edge of the cell's square, from y 110 to 139.
bool WindowPicture::caretAt(int cell) const
{
    return allOf(QRect(caretX(cell) - caretWidth + 1, caretTop, caretWidth, caretBottom - caretTop), black);
}
