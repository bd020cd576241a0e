#pragma once

#include <string>
#include <vector>

#include "ui/WizardPage.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace gw::ui {

// Step 3: the found files in a sorted check list, for the user to tick.
class SelectionPage : public WizardPage {
    Q_OBJECT
  public:
    explicit SelectionPage(QWidget* parent = nullptr);
    ~SelectionPage() override;

  protected:
    bool event(QEvent* event) override;

  private:
    void load();
    void tickChanged(QListWidgetItem* item);
    void setAllTicks(bool ticked);
    void writeCountsLine();
    std::vector<std::string> tickedAddresses() const;
    void goOn();
    void saveList();
    void endBusy();

    QLabel* instructionLabel_;
    QLabel* countsLabel_;
    QListWidget* fileList_;
    QPushButton* nextButton_;
    // The tick each row had when last counted, so a tick costs no recount of every row.
    std::vector<char> counted_;
    int tickedCount_ = 0;
    bool busy_ = false;
};

}  // namespace gw::ui
