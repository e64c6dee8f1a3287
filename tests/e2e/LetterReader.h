// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <tests/shared/Design.h>

#include <QBitArray>
#include <QChar>
#include <QImage>
#include <QList>

// Reads the letter in a 50 × 50 letter label off a screenshot as a person would: by its shape,
// compared with A–Z drawn the way the program draws them (Liberation Serif, 48 pixels, centred
// horizontally and at the top of the label). Only the shape counts: magenta and red letters read alike.
class LetterReader {
public:
    struct Reading {
        QChar letter; // null for a label without ink
        int mismatches = 0; // pixels where the label and the best reference differ
        int runnerUp = 0; // the same for the second-best letter
    };

    LetterReader();
    Reading read(const QImage& label) const;

private:
    QList<QList<QBitArray>> references_; // each letter's ink, as drawn and moved by a pixel
};
