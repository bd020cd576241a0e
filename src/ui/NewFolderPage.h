#pragma once

#include <string>

#include "ui/WizardPage.h"

class QLabel;
class QLineEdit;

namespace gw::ui {

// Creates one new folder, offered below the folder that was open on Step 4.
class NewFolderPage : public WizardPage {
    Q_OBJECT
  public:
    explicit NewFolderPage(QWidget* parent = nullptr);
    void setVisible(bool visible) override;

  private:
    std::string typedPath() const;
    void create();

    QLabel* instructionLabel_;
    QLineEdit* pathEdit_;
    std::string remembered_;  // the stored folder's exact bytes, shown decoded in the box
};

}  // namespace gw::ui
