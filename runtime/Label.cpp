#include "Label.h"

#include <QPainter>
#include <QTextLayout>

#include <cmath>

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
    : GraphicControl(form, description.visible),
      description_(description),
      font_(makeFont(description.font)),
      lineHeight_(lineHeight(font_)),
      left_(static_cast<float>(description.left)),
      top_(static_cast<float>(description.top))
{
    if (description_.autoSizeWithWordWrap)
        description_.height = wrappedLineCount() * lineHeight_;
}

Label::Label(const Label& element0, int index)
    : GraphicControl(element0, index),
      description_(element0.description_),
      font_(element0.font_),
      lineHeight_(element0.lineHeight_),
      left_(element0.left_),
      top_(element0.top_)
{
}

void Label::setCaption(const QString& caption)
{
    changeLook([&] {
        description_.caption = caption;
        if (description_.autoSizeWithWordWrap)
            description_.height = wrappedLineCount() * lineHeight_;
    });
}

void Label::setLeft(float left)
{
    changeLook([&] { left_ = left; });
}

void Label::setTop(float top)
{
    changeLook([&] { top_ = top; });
}

QRect Label::bounds() const
{
    return {static_cast<int>(std::lround(left_)), static_cast<int>(std::lround(top_)), description_.width,
            description_.height};
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
    layOut(layout, rect.width(), description_.autoSizeWithWordWrap, lineHeight_);
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setPen(description_.foreColor.resolve(palette));
    layout.draw(&painter, rect.topLeft());
    painter.restore();
}

int Label::wrappedLineCount() const
{
    QTextLayout layout(description_.caption, font_);
    return std::max(1, layOut(layout, description_.width, true, lineHeight_));
}

} // namespace rt
