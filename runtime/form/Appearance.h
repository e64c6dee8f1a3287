// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPalette>
#include <QString>
#include <QStringList>

namespace rt {

// A colour as a form describes it: a fixed RGB value, or a system colour that follows the
// desktop's scheme through the window's palette.
struct Color {
    QColor rgb;
    QPalette::ColorRole role = QPalette::NoRole;

    QColor resolve(const QPalette& palette) const { return role == QPalette::NoRole ? rgb : palette.color(role); }
};

inline Color rgb(int red, int green, int blue)
{
    return {QColor(red, green, blue)};
}

inline Color systemColor(QPalette::ColorRole role)
{
    return {QColor(), role};
}

// A face, and the free faces that draw alike, for where it is not installed. An empty face is
// the desktop's own.
struct FontDescription {
    QString face = {};
    double points = 9;
    int weight = 400;
    QStringList standIns = {};
    // Where the face lays out lines a fixed number of ems high and its stand-ins do not; 0: the
    // installed font's own line spacing.
    double lineSpacingEm = 0;
};

// The face's own font, or the first of its stand-ins that is installed, at the described size
// turned into pixels at 96 dots per inch so that the layout holds whatever density the screen
// reports.
QFont makeFont(const FontDescription& description);
// Height of one line of text, as the described face would lay it out; `font` is the one that
// makeFont made of the description.
int lineHeight(const FontDescription& description, const QFont& font);

// The icon in the image file, read in the format that its name's suffix says.
QIcon loadIcon(const QString& path);

} // namespace rt
