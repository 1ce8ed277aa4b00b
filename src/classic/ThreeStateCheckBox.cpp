#include "classic/ThreeStateCheckBox.h"

namespace kadrix {

ThreeStateCheckBox::ThreeStateCheckBox(const QString& caption, QWidget* parent)
    : QCheckBox(caption, parent)
{
    setTristate(true);
}

int ThreeStateCheckBox::Value() const
{
    switch (checkState()) {
    case Qt::Checked:
        return kChecked;
    case Qt::PartiallyChecked:
        return kGrayed;
    case Qt::Unchecked:
        break;
    }
    return kUnchecked;
}

void ThreeStateCheckBox::setValue(int value)
{
    setCheckState(value == kChecked  ? Qt::Checked
                  : value == kGrayed ? Qt::PartiallyChecked
                                     : Qt::Unchecked);
}

void ThreeStateCheckBox::nextCheckState()
{
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

} // namespace kadrix
