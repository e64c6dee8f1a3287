// SPDX-License-Identifier: GPL-3.0-or-later
#include "Appearance.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImageReader>
#include <QPixmap>

#include <cmath>

namespace rt {

namespace {

// The first of the families that is installed, on its own. A font asked for by a name that is
// not installed, or with more names than one, makes Qt ask fontconfig for every fallback font in
// order for each size and script drawn, which cost the start-up more than all its text. With
// none installed, all of them, and Qt's fallbacks.
QStringList firstInstalled(const QStringList& families)
{
    for (const QString& family : families) {
        if (!QFontDatabase::styles(family).isEmpty())
            return {family};
    }
    return families;
}

} // namespace

QFont makeFont(const FontDescription& description)
{
    QFont font;
    if (!description.face.isEmpty())
        font.setFamilies(firstInstalled(QStringList{description.face} + description.standIns));
    font.setPixelSize(static_cast<int>(std::lround(description.points * 96.0 / 72.0)));
    font.setWeight(static_cast<QFont::Weight>(description.weight));
    return font;
}

int lineHeight(const FontDescription& description, const QFont& font)
{
    if (description.lineSpacingEm > 0)
        return static_cast<int>(std::lround(font.pixelSize() * description.lineSpacingEm));
    return QFontMetrics(font).height();
}

// An image read by its content would first load every image format plugin installed, to ask
// each whether it knows the file.
QIcon loadIcon(const QString& path)
{
    QImageReader reader(path, QFileInfo(path).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return QIcon(QPixmap::fromImage(reader.read()));
}

} // namespace rt
