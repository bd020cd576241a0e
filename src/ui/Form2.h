#pragma once

#include "ui/WizardPage.h"

class QComboBox;
class QPushButton;

namespace gw::ui {

// Step 1: the address of the page, with the address history.
class Form2 : public WizardPage {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void load();
    void applyNextRule();
    void clearHistory();
    void fetch();

    QComboBox* combo1_;
    QPushButton* command1_;
};

}  // namespace gw::ui
