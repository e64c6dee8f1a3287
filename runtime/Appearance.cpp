// SPDX-License-Identifier: GPL-3.0-or-later
#include "Appearance.h"

#include <QFontMetrics>

#include <cmath>

namespace rt {

namespace {

struct FaceStandIn {
    QString face;
    QStringList families;
    double lineSpacingEm; // 0: the stand-in's own line spacing is the face's
};

// "宋体" lays out lines exactly one em high; its stand-in draws taller lines of its own.
const QList<FaceStandIn>& standIns()
{
    static const QList<FaceStandIn> table = {
        {QStringLiteral("宋体"), {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN")},
            1.0},
        {QStringLiteral("Times New Roman"), {QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")}, 0},
        {QStringLiteral("Palatino Linotype"), {QStringLiteral("Palatino Linotype"), QStringLiteral("P052")}, 0},
    };
    return table;
}

const FaceStandIn* standInFor(const QString& face)
{
    for (const FaceStandIn& standIn : standIns()) {
        if (standIn.face == face)
            return &standIn;
    }
    return nullptr;
}

} // namespace

QFont makeFont(const FontDescription& description)
{
    QFont font;
    const FaceStandIn* standIn = standInFor(description.face);
    font.setFamilies(standIn ? standIn->families : QStringList{description.face});
    font.setPixelSize(static_cast<int>(std::lround(description.points * 96.0 / 72.0)));
    font.setWeight(static_cast<QFont::Weight>(description.weight));
    return font;
}

int lineHeight(const QFont& font)
{
    const FaceStandIn* standIn = standInFor(font.families().value(0));
    if (standIn && standIn->lineSpacingEm > 0)
        return static_cast<int>(std::lround(font.pixelSize() * standIn->lineSpacingEm));
    return QFontMetrics(font).height();
}

} // namespace rt
