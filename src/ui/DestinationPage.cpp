#include "ui/DestinationPage.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <filesystem>

#include "app/Navigation.h"
#include "app/WizardState.h"
#include "platform/AddOn.h"
#include "platform/Folders.h"
#include "platform/UserFolders.h"
#include "settings/SettingsNames.h"
#include "settings/SettingsStore.h"
#include "ui/DisplayText.h"
#include "ui/NewFolderPage.h"
#include "ui/PageLayout.h"
#include "ui/ReadyPage.h"
#include "ui/SchedulePage.h"
#include "ui/SelectionPage.h"

namespace gw::ui {
namespace {

constexpr int kPathRole = Qt::UserRole;

QByteArray bytes(const std::string& text) {
    return QByteArray(text.data(), qsizetype(text.size()));
}

// "/a//b/../c/" opens as "/a/c", so the parents shown are real folder names.
std::string normalFolderPath(const std::string& path) {
    std::string normal = std::filesystem::path(path).lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    return normal;
}

std::string joined(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

}  // namespace

DestinationPage::DestinationPage(QWidget* parent)
    : WizardPage(QStringLiteral("DestinationPage"), parent) {
    QGroupBox* stepFrame = addStepFrame(QStringLiteral("Step 4"));
    makeLabel(stepFrame, "instructionLabel",
              QStringLiteral("You must now designate where you want these files to be placed "
                             "once they are downloaded. Using the drive and folder lists below, "
                             "choose the location to save these files."),
              240, 300, 5880, 720);
    driveBox_ = new QComboBox(stepFrame);
    driveBox_->setObjectName(QStringLiteral("driveBox"));
    driveBox_->setAccessibleName(QStringLiteral("Drives"));
    // Qt names a plain drop-down on this desktop by its current entry; a screen reader reads
    // the description after it.
    driveBox_->setAccessibleDescription(driveBox_->accessibleName());
    driveBox_->setGeometry(twips(240), twips(1080), twips(4200), twips(315));
    folderList_ = new QTreeWidget(stepFrame);
    folderList_->setObjectName(QStringLiteral("folderList"));
    folderList_->setAccessibleName(QStringLiteral("Folders"));
    folderList_->setHeaderHidden(true);
    folderList_->setItemsExpandable(false);
    folderList_->setExpandsOnDoubleClick(false);
    folderList_->setRootIsDecorated(false);
    // Folders open on a double click only, so branch arrows would promise what they cannot do.
    folderList_->setStyleSheet(QStringLiteral("QTreeView::branch { image: none; }"));
    folderList_->setIndentation(twips(180));
    folderList_->setGeometry(twips(240), twips(1500), twips(4200), twips(1140));
    auto* newFolderButton = makeButton(stepFrame, "newFolderButton",
                                       QStringLiteral("New Folder..."), 4560, 1080, 1560, 375);

    const ButtonRow row = addButtonRow();
    // This page's own order: the lists, then the row, and the new-folder button last.
    setTabOrder(driveBox_, folderList_);
    setTabOrder(folderList_, row.cancel);
    setTabOrder(row.cancel, row.back);
    setTabOrder(row.back, row.next);
    setTabOrder(row.next, newFolderButton);

    volumes_ = platform::MountedVolumes();
    for (const platform::Volume& volume : volumes_)
        driveBox_->addItem(displayText(volume.mountPoint), bytes(volume.mountPoint));
    load();

    connect(driveBox_, &QComboBox::currentIndexChanged, this, &DestinationPage::driveChanged);
    // A single click only highlights; the open folder changes on a double click.
    connect(folderList_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        const std::string path = item->data(0, kPathRole).toByteArray().toStdString();
        if (!openFolder(path))
            recover();
    });
    connect(row.back, &QPushButton::clicked, this, &DestinationPage::goBack);
    connect(row.next, &QPushButton::clicked, this, [this] {
        storeFolder();
        app::navigate<ReadyPage>(this);
    });
    connect(newFolderButton, &QPushButton::clicked, this, [this] {
        storeFolder();
        app::navigate<NewFolderPage>(this);
    });
}

void DestinationPage::load() {
    // Spelled as the wizard has always read it here; the same file either way.
    std::string path =
        settings::ReadSetting("Grabwright", settings::kSettingsSection, settings::kLastPathKey);
    if (path.empty())
        path = platform::DownloadFolder();
    if (!openFolder(path))
        recover();
}

// Fails, changing nothing, when the path is not an absolute folder that can be read.
bool DestinationPage::openFolder(const std::string& path) {
    if (path.empty() || path[0] != '/' || !platform::IsOpenableFolder(path))
        return false;
    openFolder_ = normalFolderPath(path);
    const std::string drive = platform::DriveOf(volumes_, openFolder_);
    {
        const QSignalBlocker quiet(driveBox_);
        driveBox_->setCurrentIndex(driveBox_->findData(bytes(drive)));
    }
    showFolder(drive);
    return true;
}

// The drive's root at the top, each folder down to the open one below its parent, and the
// open folder's own subfolders below it.
void DestinationPage::showFolder(const std::string& drive) {
    folderList_->clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    auto* item = new QTreeWidgetItem(folderList_, {displayText(drive)});
    item->setIcon(0, openIcon);
    item->setData(0, kPathRole, bytes(drive));
    std::string path = drive;
    std::size_t at = drive == "/" ? 1 : drive.size() + 1;
    while (at <= openFolder_.size() && openFolder_.size() > path.size()) {
        const std::size_t end = std::min(openFolder_.find('/', at), openFolder_.size());
        const std::string name = openFolder_.substr(at, end - at);
        path = joined(path, name);
        at = end + 1;
        if (name.empty())
            continue;
        item = new QTreeWidgetItem(item, {displayText(name)});
        item->setIcon(0, openIcon);
        item->setData(0, kPathRole, bytes(path));
    }
    QTreeWidgetItem* open = item;
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    for (const std::string& name : platform::ListSubfolders(openFolder_)) {
        auto* sub = new QTreeWidgetItem(open, {displayText(name)});
        sub->setIcon(0, closedIcon);
        sub->setData(0, kPathRole, bytes(joined(openFolder_, name)));
    }
    folderList_->expandAll();
    folderList_->setCurrentItem(open);
    folderList_->scrollToItem(open);
}

void DestinationPage::driveChanged(int index) {
    if (!openFolder(driveBox_->itemData(index).toByteArray().toStdString()))
        recover();
}

// No message: the lists go to the root of the drive that holds the download folder, or where
// that cannot be read, to the first folder that can.
void DestinationPage::recover() {
    const std::string downloads = platform::DownloadFolder();
    for (const std::string& candidate :
         {downloads.empty() ? std::string() : platform::DriveOf(volumes_, downloads),
          platform::HomeFolder(), downloads, std::string("/")}) {
        if (openFolder(candidate))
            return;
    }
}

void DestinationPage::storeFolder() {
    std::string folder = openFolder_;
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    app::wizardState().DestinationFolder = folder;
    settings::WriteSetting(settings::kApplication, settings::kSettingsSection,
                           settings::kLastPathKey, folder);
}

void DestinationPage::goBack() {
    if (platform::AddOnPresent())
        app::navigate<SchedulePage>(this);
    else
        app::navigate<SelectionPage>(this);
}

}  // namespace gw::ui
