// SPDX-License-Identifier: GPL-3.0-or-later
#include "Label.h"

#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace rt {

namespace {

// Lays the text out within `width`, one line every `lineHeight` pixels, centred vertically in
// its line so that a font with a taller line of its own still fills each line like the face.
int layOut(QTextLayout& layout, qreal width, bool wrap, int lineHeight)
{
    QTextOption option(layout.textOption());
    option.setWrapMode(wrap ? QTextOption::WordWrap : QTextOption::NoWrap);
    layout.setTextOption(option);
    int count = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, count * lineHeight + (lineHeight - line.height()) / 2));
        ++count;
    }
    layout.endLayout();
    return count;
}

} // namespace

Label::Label(Form& form, const LabelDescription& description)
    : RectControl(
        form, QRect(description.left, description.top, description.width, description.height), description.visible)
    , description_(description)
    , font_(makeFont(description.font))
{
    if (description_.autoSizeWithWordWrap)
        setHeight(wrappedLineCount() * lineHeight());
}

Label::Label(const Label& element0, int index)
    : RectControl(element0, index)
    , description_(element0.description_)
    , font_(element0.font_)
    , lineHeight_(element0.lineHeight_)
{
}

void Label::setCaption(const QString& caption)
{
    changeLook([&] {
        description_.caption = caption;
        if (description_.autoSizeWithWordWrap)
            setHeight(wrappedLineCount() * lineHeight());
    });
}

void Label::paint(QPainter& painter, const QPalette& palette) const
{
    const QRect rect = bounds();
    if (description_.opaque)
        painter.fillRect(rect, description_.backColor.resolve(palette));
    QTextLayout layout(description_.caption, font_);
    QTextOption option;
    option.setAlignment(description_.alignment);
    layout.setTextOption(option);
    layOut(layout, rect.width(), description_.autoSizeWithWordWrap, lineHeight());
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setPen(description_.foreColor.resolve(palette));
    layout.draw(&painter, rect.topLeft());
    painter.restore();
}

int Label::lineHeight() const
{
    if (!lineHeight_)
        lineHeight_ = rt::lineHeight(description_.font, font_);
    return *lineHeight_;
}

int Label::wrappedLineCount() const
{
    QTextLayout layout(description_.caption, font_);
    return std::max(1, layOut(layout, description_.width, true, lineHeight()));
}

} // namespace rt
