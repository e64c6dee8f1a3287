// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormReading.h"

#include <runtime/form/CommandButton.h>
#include <runtime/form/Form.h>
#include <runtime/form/Label.h>
#include <runtime/form/Line.h>
#include <runtime/form/Timer.h>

#include <QPushButton>
#include <QStringList>

namespace rt {

LabelKey keyOf(const GraphicControl& control)
{
    return {control.drawingRank(), control.index()};
}

bool listed(const Label& label)
{
    return label.isVisible() && !label.caption().isEmpty();
}

QString captionsOf(const std::vector<const Label*>& labels)
{
    QStringList captions;
    for (const Label* label : labels)
        captions << label->caption();
    return captions.join(u' ');
}

FormReading::FormReading(Form& form)
    : form_(form)
{
}

void FormReading::readAsOneText(const Label& cell0, const Label& label, const Line& caret, const Timer& blink)
{
    rowCell0_ = &cell0;
    rowLabel_ = &label;
    caret_ = &caret;
    blink_ = &blink;
}

void FormReading::describe(const CommandButton& button, std::vector<const Label*> labels)
{
    describers_[button.widget()] = std::move(labels);
}

void FormReading::labelBy(const CommandButton& button, std::vector<const Label*> labels)
{
    labellers_[button.widget()] = std::move(labels);
}

const Label* FormReading::labelAt(LabelKey key) const
{
    for (const GraphicControl* control : form_.graphics()) {
        if (keyOf(*control) == key)
            return dynamic_cast<const Label*>(control);
    }
    return nullptr;
}

std::vector<const Label*> FormReading::listedLabels() const
{
    std::vector<const Label*> labels;
    for (const GraphicControl* control : form_.graphics()) {
        const auto* label = dynamic_cast<const Label*>(control);
        if (label && !isInRow(*label) && listed(*label))
            labels.push_back(label);
    }
    return labels;
}

std::vector<const Label*> FormReading::shown(const ButtonLabels& labels, const QWidget& button) const
{
    std::vector<const Label*> shown;
    const auto found = labels.find(&button);
    if (found == labels.end())
        return shown;
    for (const Label* named : found->second) {
        for (const GraphicControl* control : form_.graphics()) {
            const auto* label = dynamic_cast<const Label*>(control);
            if (label && label->drawingRank() == named->drawingRank() && listed(*label))
                shown.push_back(label);
        }
    }
    return shown;
}

QString FormReading::description(const QWidget& button) const
{
    return &button == describedAloud_ ? QString() : captionsOf(shown(describers_, button));
}

std::vector<const Label*> FormReading::labelsOf(const QWidget& button) const
{
    return shown(labellers_, button);
}

bool FormReading::isInRow(const GraphicControl& control) const
{
    return rowCell0_ && control.drawingRank() == rowCell0_->drawingRank();
}

std::vector<const Label*> FormReading::rowCells() const
{
    std::vector<const Label*> cells;
    for (const GraphicControl* control : form_.graphics()) {
        if (isInRow(*control) && control->isVisible())
            cells.push_back(static_cast<const Label*>(control));
    }
    return cells;
}

QString FormReading::rowText() const
{
    QString text;
    for (const Label* cell : rowCells())
        text += cell->caption();
    return text;
}

int FormReading::caretOffset() const
{
    if (!rowIsEditable())
        return static_cast<int>(rowText().size());
    int offset = 0;
    for (const Label* cell : rowCells()) {
        if (cell->bounds().left() + cell->bounds().width() <= caret_->x1())
            offset += static_cast<int>(cell->caption().size());
    }
    return offset;
}

bool FormReading::rowHasFocus() const
{
    return rowCell0_ && windowHasFocus();
}

bool FormReading::rowIsEditable() const
{
    return blink_->isEnabled();
}

bool FormReading::windowHasFocus() const
{
    return form_.focusWidget() == &form_;
}

} // namespace rt
