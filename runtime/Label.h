// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Appearance.h"
#include "GraphicControl.h"

#include <QFont>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
class QTextLayout;

namespace rt {

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
    // Captions the label will show at moments that count, laid out and drawn once while the
    // window waits after its first frame, so that showing one then costs only its drawing.
    QStringList preparedCaptions = {};
};

class Label : public RectControl {
public:
    using Description = LabelDescription;

    Label(Form& form, const LabelDescription& description);
    Label(const Label& element0, int index);
    ~Label() override;

    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);
    void paint(QPainter& painter, const QPalette& palette) const override;
    void prepare() override;

    // Where the caption's character at `offset` is drawn, and which character is drawn at a
    // point, in client-area pixels; an empty rectangle and -1 where there is none.
    QRect characterRect(int offset) const;
    int offsetAt(QPoint point) const;

private:
    struct LaidOut;
    class Layouts;

    // The caption laid out as it is drawn: laying out text is most of what a paint costs. Only
    // the caption varies; the font, width and alignment do not, so a label and the elements
    // loaded from it share their layouts, and a caption shown before is not laid out again.
    const QTextLayout& captionLayout() const;
    const LaidOut& laidOutCaption() const;
    std::shared_ptr<const LaidOut> layoutOf(const QString& caption) const;
    int wrappedLineCount(const QString& caption) const;
    // Where the caption's glyphs colour pixels, in client-area pixels; empty while hidden.
    QRect inkArea() const;
    // Found when first needed: it loads the font, which a label not yet shown need not do.
    int lineHeight() const;

    const LabelDescription description_; // as created; the caption below is the live one
    QString caption_;
    QFont font_;
    mutable std::optional<int> lineHeight_;
    std::shared_ptr<Layouts> layouts_;
    mutable std::shared_ptr<const LaidOut> layout_; // the caption's, once drawn or measured
};

} // namespace rt
