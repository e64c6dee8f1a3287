// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Appearance.h"
#include "GraphicControl.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
class QTextLayout;

namespace rt {

class Form;

struct LabelDescription {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    QString caption = {};
    FontDescription font;
    Color foreColor = systemColor(QPalette::WindowText);
    Color backColor = systemColor(QPalette::Button);
    bool opaque = true;
    Qt::Alignment alignment = Qt::AlignLeft;
    // Keeps the width and fits the height to the wrapped text.
    bool autoSizeWithWordWrap = false;
    bool visible = true;
};

class Label : public RectControl {
public:
    using Description = LabelDescription;

    Label(Form& form, const LabelDescription& description);
    Label(const Label& element0, int index);
    ~Label() override;

    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);

    // Captions the label and its array's elements will show at moments that count: laid out and
    // drawn once while the window waits after its first frame, so that showing one then costs
    // only its drawing.
    void willShow(QStringList captions) { captionsToPrepare_ = std::move(captions); }

    void paint(QPainter& painter, const QPalette& palette) const override;
    void prepare() override;

    // The caption laid out as it is drawn, from the label's top-left corner: where each
    // character stands, for those who read it rather than see it.
    const QTextLayout& textLayout() const;

private:
    struct LaidOut;
    class Layouts;

    // Laying out text is most of what a paint costs. Only the caption varies; the font, width
    // and alignment do not, so a label and the elements loaded from it share their layouts, and
    // a caption shown before is not laid out again.
    const LaidOut& laidOutCaption() const;
    std::shared_ptr<const LaidOut> layoutOf(const QString& caption) const;
    int wrappedLineCount(const QString& caption) const;
    // Where the caption's glyphs colour pixels, in client-area pixels; empty while hidden.
    QRect inkArea() const;
    // Found when first needed: it loads the font, which a label not yet shown need not do.
    int lineHeight() const;

    const LabelDescription description_; // as created; the caption below is the live one
    QString caption_;
    QStringList captionsToPrepare_;
    QFont font_;
    mutable std::optional<int> lineHeight_;
    std::shared_ptr<Layouts> layouts_;
    mutable std::shared_ptr<const LaidOut> layout_; // the caption's, once drawn or measured
};

} // namespace rt
