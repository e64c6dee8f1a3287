#pragma once

#include "Appearance.h"
#include "GraphicControl.h"

#include <QFont>
#include <QString>

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

class Label : public GraphicControl {
public:
    using Description = LabelDescription;

    Label(Form& form, const LabelDescription& description);
    Label(const Label& element0, int index);

    const QString& caption() const { return description_.caption; }
    void setCaption(const QString& caption);
    float left() const { return left_; }
    float top() const { return top_; }
    void setLeft(float left);
    void setTop(float top);
    int height() const { return description_.height; }

    QRect bounds() const override;
    void paint(QPainter& painter, const QPalette& palette) const override;

private:
    int wrappedLineCount() const;

    LabelDescription description_;
    QFont font_;
    int lineHeight_;
    float left_;
    float top_;
};

} // namespace rt
