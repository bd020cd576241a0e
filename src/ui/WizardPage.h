#pragma once

#include "ui/WizardView.h"

class QGroupBox;
class QPushButton;

namespace gw::ui {

// A page of the wizard: Enter presses the default button, Esc the cancel button, and closing
// the window by its frame while the page is current ends the program without a hang-up.
class WizardPage : public WizardView {
    Q_OBJECT
  public:
    // Every page has the same client size; `name` is its object name.
    explicit WizardPage(const QString& name, QWidget* parent = nullptr);

  protected:
    struct ButtonRow {
        QPushButton* cancel;
        QPushButton* back;
        QPushButton* next;
    };
    // The row along the bottom: Cancel, Back, Next from left to right, at top 3000 twips;
    // Next is the default button, and Cancel answers Esc and quits.
    ButtonRow addButtonRow();
    // The frame that holds a step's controls.
    QGroupBox* addStepFrame(const QString& caption);

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    QPushButton* cancelButton_ = nullptr;
    QPushButton* nextButton_ = nullptr;
};

}  // namespace gw::ui
