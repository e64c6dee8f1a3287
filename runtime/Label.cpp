// SPDX-License-Identifier: GPL-3.0-or-later
#include "Label.h"

#include "FormControls.h"

#include <QHash>
#include <QImage>
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

// The laid-out captions of a label and of the elements loaded from it, by caption.
class Label::Layouts {
public:
    std::shared_ptr<const QTextLayout> find(const QString& caption) const { return byCaption_.value(caption); }

    void add(const QString& caption, std::shared_ptr<const QTextLayout> layout)
    {
        // A label that shows ever new text (a count, say) must not keep all of it.
        if (byCaption_.size() >= limit)
            byCaption_.clear();
        byCaption_.insert(caption, std::move(layout));
    }

private:
    static constexpr qsizetype limit = 64;
    QHash<QString, std::shared_ptr<const QTextLayout>> byCaption_;
};

Label::Label(Form& form, const LabelDescription& description)
    : RectControl(
        form, QRect(description.left, description.top, description.width, description.height), description.visible)
    , description_(description)
    , caption_(description.caption)
    , font_(makeFont(description.font))
    , layouts_(std::make_shared<Layouts>())
{
    if (description_.autoSizeWithWordWrap)
        setHeight(wrappedLineCount() * lineHeight());
}

Label::Label(const Label& element0, int index)
    : RectControl(element0, index)
    , description_(element0.description_)
    , caption_(element0.caption_)
    , font_(element0.font_)
    , lineHeight_(element0.lineHeight_)
    , layouts_(element0.layouts_)
{
}

Label::~Label() = default;

void Label::setCaption(const QString& caption)
{
    const QString before = caption_;
    changeLook([&] {
        caption_ = caption;
        layout_.reset();
        if (description_.autoSizeWithWordWrap)
            setHeight(wrappedLineCount() * lineHeight());
    });
    controls().accessibles().captionChanged(*this, before);
}

void Label::paint(QPainter& painter, const QPalette& palette) const
{
    const QRect rect = bounds();
    if (description_.opaque)
        painter.fillRect(rect, description_.backColor.resolve(palette));
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setPen(description_.foreColor.resolve(palette));
    captionLayout().draw(&painter, rect.topLeft());
    painter.restore();
}

// Lays out each prepared caption and draws it once off screen, which loads the font and renders
// its glyphs into the cache that the window's paints draw from.
void Label::prepare()
{
    QImage scratch(bounds().size(), QImage::Format_RGB32);
    QPainter painter(&scratch);
    for (const QString& caption : description_.preparedCaptions)
        layoutOf(caption)->draw(&painter, QPointF());
}

int Label::lineHeight() const
{
    if (!lineHeight_)
        lineHeight_ = rt::lineHeight(description_.font, font_);
    return *lineHeight_;
}

QRect Label::characterRect(int offset) const
{
    const QTextLayout& layout = captionLayout();
    const QTextLine line = layout.lineForTextPosition(offset);
    if (offset >= caption_.size() || !line.isValid())
        return {};
    const qreal left = line.cursorToX(offset);
    const qreal right = line.cursorToX(offset + 1);
    const QRect character
        = QRectF(left, line.y(), right - left, line.height()).translated(bounds().topLeft()).toAlignedRect();
    // A line taller than the label is cut off where the label ends, as it is painted.
    return character & bounds();
}

int Label::offsetAt(QPoint point) const
{
    const QTextLayout& layout = captionLayout();
    const QPoint inLabel = point - bounds().topLeft();
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        if (line.rect().contains(inLabel))
            return line.xToCursor(inLabel.x(), QTextLine::CursorOnCharacter);
    }
    return -1;
}

const QTextLayout& Label::captionLayout() const
{
    if (!layout_)
        layout_ = layoutOf(caption_);
    return *layout_;
}

std::shared_ptr<const QTextLayout> Label::layoutOf(const QString& caption) const
{
    if (std::shared_ptr<const QTextLayout> known = layouts_->find(caption))
        return known;
    auto layout = std::make_shared<QTextLayout>(caption, font_);
    // Keeps the shaped glyphs too, which drawing would otherwise free and shape again.
    layout->setCacheEnabled(true);
    QTextOption option;
    option.setAlignment(description_.alignment);
    layout->setTextOption(option);
    layOut(*layout, bounds().width(), description_.autoSizeWithWordWrap, lineHeight());
    layouts_->add(caption, layout);
    return layout;
}

// Called for a label that wraps, whose drawn layout is the wrapped one.
int Label::wrappedLineCount() const
{
    return std::max(1, captionLayout().lineCount());
}

} // namespace rt
