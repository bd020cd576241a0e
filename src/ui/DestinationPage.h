#pragma once

#include <string>
#include <vector>

#include "platform/Volumes.h"
#include "ui/WizardPage.h"

class QComboBox;
class QTreeWidget;

namespace gw::ui {

// Step 4: the folder that receives the downloads, chosen with a drive list and a folder list.
class DestinationPage : public WizardPage {
    Q_OBJECT
  public:
    explicit DestinationPage(QWidget* parent = nullptr);

  private:
    void load();
    bool openFolder(const std::string& path);
    void showFolder(const std::string& drive);
    void driveChanged(int index);
    void recover();
    void storeFolder();
    void goBack();

    QComboBox* driveBox_;
    QTreeWidget* folderList_;
    std::vector<platform::Volume> volumes_;
    std::string openFolder_;  // the folder that is open (not merely highlighted)
};

}  // namespace gw::ui
