// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Appearance.h"
#include "GraphicControl.h"

#include <QFont>
#include <QPoint>
#include <QString>

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

    // Where the caption's character at `offset` is drawn, and which character is drawn at a
    // point, in client-area pixels; an empty rectangle and -1 where there is none.
    QRect characterRect(int offset) const;
    int offsetAt(QPoint point) const;

private:
    // The caption laid out as it is drawn, kept until the caption changes: laying out text is
    // most of what a paint costs. Only the caption varies; the font, width and alignment do not.
    const QTextLayout& captionLayout() const;
    int wrappedLineCount() const;
    // Found when first needed: it loads the font, which a label not yet shown need not do.
    int lineHeight() const;

    const LabelDescription description_; // as created; the caption below is the live one
    QString caption_;
    QFont font_;
    mutable std::optional<int> lineHeight_;
    mutable std::unique_ptr<QTextLayout> layout_;
};

} // namespace rt
