#pragma once

#include <string>
#include <vector>

#include "platform/FolderListing.h"
#include "platform/Volumes.h"
#include "ui/WizardPage.h"

class QComboBox;
class QTreeWidget;
class QTreeWidgetItem;

namespace gw::ui {

// Step 4: the folder that receives the downloads, chosen with a drive list and a folder list.
class DestinationPage : public WizardPage {
    Q_OBJECT
  public:
    explicit DestinationPage(QWidget* parent = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void open(const std::string& wanted);
    void openItem(const QTreeWidgetItem* item);
    void showFolder(const platform::FolderListing& listing, const std::string& drive);
    void storeFolder();

    QComboBox* driveBox_;
    QTreeWidget* folderList_;
    std::vector<platform::Volume> volumes_;
    std::string openFolder_;  // the folder that is open (not merely highlighted)
    QTreeWidgetItem* openFolderItem_ = nullptr;
};

}  // namespace gw::ui
