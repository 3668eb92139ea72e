#pragma once

#include <QComboBox>
#include <functional>

// A drop-down list that tells its owner when it is about to open, so the owner can bring
// the items up to date first.
class TComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    std::function<void()> OnDropDown;

    void showPopup() override;
};
