// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LetterReader.h"

#include <tests/shared/Design.h>
#include <tests/shared/Pixels.h>

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <algorithm>

// Cell `cell` of the row whose labels stand at `rowTop`: its letter label, the white box.
inline QRect letterLabel(int rowTop, int cell)
{
    return {design::cellLeft(cell), rowTop, design::cellSize, design::cellSize};
}

// What a row of cells shows: how many cells from the first on, and their letters (a space for a
// blank cell). `stray` is set when a cell shows beyond the first gap.
struct Row {
    int cells = 0;
    QString letters;
    bool stray = false;
};

// A screenshot of the window's client area, looked at the way a person would.
class WindowPicture {
public:
    WindowPicture(const QImage& image, const LetterReader& reader)
        : image_(image)
        , reader_(&reader)
    {
    }

    const QImage& image() const { return image_; }
    bool isNull() const { return image_.isNull(); }

    int count(const QRect& area, const QColor& color) const { return pixels::count(image_, area, color); }
    bool allOf(const QRect& area, const QColor& color) const
    {
        return count(area, color) == area.width() * area.height();
    }

    bool cellShown(int rowTop, int cell) const;
    Row row(int rowTop) const;
    LetterReader::Reading readCell(int rowTop, int cell) const
    {
        return reader_->read(image_.copy(letterLabel(rowTop, cell)));
    }
    // What is wrong with the look of a shown cell, or an empty string; without a letter colour the
    // letter is not looked at.
    QString cellLookProblem(int rowTop, int cell, const QColor& letterColor) const;
    bool caretAt(int cell) const;
    bool caretAnywhere() const
    {
        for (int cell = 0; cell < 9; ++cell) {
            if (caretAt(cell))
                return true;
        }
        return false;
    }
    bool hasFocusFrame(const QRect& button) const { return pixels::hasFocusFrame(image_, button); }

private:
    QImage image_;
    const LetterReader* reader_;
};
