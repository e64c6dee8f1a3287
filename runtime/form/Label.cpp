// SPDX-License-Identifier: GPL-3.0-or-later
#include "Label.h"

#include "FormControls.h"

#include <QGlyphRun>
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

// Where the glyphs of a laid-out text colour pixels, from the layout's origin.
QRect inkOf(const QTextLayout& layout)
{
    QRectF ink;
    for (int i = 0; i < layout.lineCount(); ++i) {
        for (const QGlyphRun& run : layout.lineAt(i).glyphRuns()) {
            const QRawFont font = run.rawFont();
            const QList<quint32> glyphs = run.glyphIndexes();
            const QList<QPointF> positions = run.positions();
            for (qsizetype g = 0; g < glyphs.size(); ++g)
                ink |= font.boundingRect(glyphs[g]).translated(positions[g]);
        }
    }
    if (ink.isEmpty())
        return {};
    // A glyph's smoothed edge may colour a pixel beyond the box its outline gives.
    constexpr int edge = 2;
    return ink.toAlignedRect().adjusted(-edge, -edge, edge, edge);
}

} // namespace

// A caption laid out as it is drawn, with where its glyphs colour pixels, from the label's corner.
struct Label::LaidOut {
    QTextLayout layout;
    QRect ink;
};

// The laid-out captions of a label and of the elements loaded from it, by caption.
class Label::Layouts {
public:
    std::shared_ptr<const LaidOut> find(const QString& caption) const { return byCaption_.value(caption); }

    void add(const QString& caption, std::shared_ptr<const LaidOut> laidOut)
    {
        // A label that shows ever new text (a count, say) must not keep all of it.
        if (byCaption_.size() >= limit)
            byCaption_.clear();
        byCaption_.insert(caption, std::move(laidOut));
    }

private:
    static constexpr qsizetype limit = 64;
    QHash<QString, std::shared_ptr<const LaidOut>> byCaption_;
};

Label::Label(Form& form, const LabelDescription& description)
    : RectControl(controlsOf(form).canvas(),
        QRect(description.left, description.top, description.width, description.height), description.visible)
    , description_(description)
    , caption_(description.caption)
    , font_(makeFont(description.font))
    , layouts_(std::make_shared<Layouts>())
{
    if (description_.autoSizeWithWordWrap)
        setHeight(wrappedLineCount(caption_) * lineHeight());
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
    if (description_.autoSizeWithWordWrap && wrappedLineCount(caption) * lineHeight() != height()) {
        changeLook([&] {
            caption_ = caption;
            layout_.reset();
            setHeight(wrappedLineCount(caption_) * lineHeight());
        });
    } else {
        // In place and of the same size, only the glyphs change: where the old ones were and
        // where the new ones go is all that needs painting, and sending to the screen.
        const QRect inkBefore = inkArea();
        caption_ = caption;
        layout_.reset();
        repaintArea(inkBefore | inkArea());
    }
}

QRect Label::inkArea() const
{
    if (!isVisible())
        return {};
    return laidOutCaption().ink.translated(bounds().topLeft()) & bounds();
}

void Label::paint(QPainter& painter, const QPalette& palette) const
{
    const QRect rect = bounds();
    if (description_.opaque)
        painter.fillRect(rect, description_.backColor.resolve(palette));
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setPen(description_.foreColor.resolve(palette));
    textLayout().draw(&painter, rect.topLeft());
    painter.restore();
}

// Lays out each prepared caption and draws it once off screen, which loads the font and renders
// its glyphs into the cache that the window's paints draw from.
void Label::prepare()
{
    for (const QString& caption : captionsToPrepare_) {
        const QTextLayout& layout = layoutOf(caption)->layout;
        // Large enough for every line: a glyph drawn outside the image would not be rendered.
        QImage scratch(layout.boundingRect().toAlignedRect().size().expandedTo(bounds().size()), QImage::Format_RGB32);
        QPainter painter(&scratch);
        layout.draw(&painter, QPointF());
    }
}

int Label::lineHeight() const
{
    if (!lineHeight_)
        lineHeight_ = rt::lineHeight(description_.font, font_);
    return *lineHeight_;
}

const Label::LaidOut& Label::laidOutCaption() const
{
    if (!layout_)
        layout_ = layoutOf(caption_);
    return *layout_;
}

const QTextLayout& Label::textLayout() const
{
    return laidOutCaption().layout;
}

std::shared_ptr<const Label::LaidOut> Label::layoutOf(const QString& caption) const
{
    if (std::shared_ptr<const LaidOut> known = layouts_->find(caption))
        return known;
    auto laidOut = std::make_shared<LaidOut>();
    QTextLayout& layout = laidOut->layout;
    layout.setText(caption);
    layout.setFont(font_);
    // Keeps the shaped glyphs too, which drawing would otherwise free and shape again.
    layout.setCacheEnabled(true);
    QTextOption option;
    option.setAlignment(description_.alignment);
    layout.setTextOption(option);
    layOut(layout, bounds().width(), description_.autoSizeWithWordWrap, lineHeight());
    laidOut->ink = inkOf(layout);
    layouts_->add(caption, laidOut);
    return laidOut;
}

// Called for a label that wraps, whose drawn layout is the wrapped one.
int Label::wrappedLineCount(const QString& caption) const
{
    return std::max(1, layoutOf(caption)->layout.lineCount());
}

} // namespace rt
