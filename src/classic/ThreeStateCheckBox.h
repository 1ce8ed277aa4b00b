#pragma once

#include <QCheckBox>

namespace kadrix {

// A check box with the classic values 0 unchecked, 1 checked and 2 grayed.
// Only the program grays it: a user's click checks a box that is not
// checked and clears one that is.
class ThreeStateCheckBox final : public QCheckBox {
    Q_OBJECT

public:
    static constexpr int kUnchecked = 0;
    static constexpr int kChecked = 1;
    static constexpr int kGrayed = 2;

    explicit ThreeStateCheckBox(const QString& caption, QWidget* parent = nullptr);

    int Value() const;
    void setValue(int value);

protected:
    void nextCheckState() override;
};

} // namespace kadrix
