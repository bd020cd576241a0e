#include "ui/DestinationPage.h"

#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>

#include "app/WizardState.h"
#include "settings/LastFolder.h"
#include "ui/AddOnRoute.h"
#include "ui/DisplayText.h"
#include "ui/Navigation.h"
#include "ui/NewFolderPage.h"
#include "ui/PageLayout.h"
#include "ui/ReadyPage.h"
#include "ui/SelectionPage.h"

namespace gw::ui {
namespace {

constexpr int kPathRole = Qt::UserRole;

QByteArray bytes(const std::string& text) {
    return QByteArray(text.data(), qsizetype(text.size()));
}

std::string lastName(const std::string& path) {
    return path == "/" ? path : path.substr(path.rfind('/') + 1);
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
    folderList_->setAccessibleDescription(
        QStringLiteral("Space or Right opens the highlighted folder, Backspace or Left opens "
                       "the folder above the open one, Enter goes on with the open folder."));
    folderList_->setHeaderHidden(true);
    folderList_->setItemsExpandable(false);
    folderList_->setExpandsOnDoubleClick(false);
    folderList_->setRootIsDecorated(false);
    // The list shows one open folder, never folded branches: arrows to fold them would promise
    // what it does not do.
    folderList_->setStyleSheet(QStringLiteral("QTreeView::branch { image: none; }"));
    folderList_->setIndentation(twips(180));
    folderList_->setGeometry(twips(240), twips(1500), twips(4200), twips(1140));
    folderList_->installEventFilter(this);
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
    open(settings::ReadLastFolder());

    connect(driveBox_, &QComboBox::currentIndexChanged, this,
            [this](int index) { open(driveBox_->itemData(index).toByteArray().toStdString()); });
    // A single click only highlights; the open folder changes on a double click.
    connect(folderList_, &QTreeWidget::itemDoubleClicked, this, &DestinationPage::openItem);
    connect(row.back, &QPushButton::clicked, this,
            [this] { navigateAcrossSchedule<SelectionPage>(this); });
    connect(row.next, &QPushButton::clicked, this, [this] {
        storeFolder();
        navigate<ReadyPage>(this);
    });
    connect(newFolderButton, &QPushButton::clicked, this, [this] {
        storeFolder();
        navigate<NewFolderPage>(this);
    });
}

// The keys of the desktop's file dialogs; Enter is left to the page, which presses Next.
bool DestinationPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched != folderList_ || event->type() != QEvent::KeyPress)
        return WizardPage::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    switch (key->key()) {
        case Qt::Key_Space:
        case Qt::Key_Right:
            openItem(folderList_->currentItem());
            return true;
        case Qt::Key_Backspace:
        case Qt::Key_Left:
            openItem(openFolderItem_ ? openFolderItem_->parent() : nullptr);
            return true;
        default:
            return false;
    }
}

// The one way a folder opens, whoever asks: what cannot be read gives way to the fall-back.
void DestinationPage::open(const std::string& wanted) {
    const platform::FolderListing listing = platform::OpenFolderOrFallBack(wanted, volumes_);
    const std::string drive = platform::DriveOf(volumes_, listing.path);
    {
        const QSignalBlocker quiet(driveBox_);
        driveBox_->setCurrentIndex(driveBox_->findData(bytes(drive)));
    }
    showFolder(listing, drive);
}

void DestinationPage::openItem(const QTreeWidgetItem* item) {
    if (item && item != openFolderItem_)
        open(item->data(0, kPathRole).toByteArray().toStdString());
}

// The drive's root at the top, each folder down to the open one below its parent, and the
// open folder's own subfolders below it.
void DestinationPage::showFolder(const platform::FolderListing& listing, const std::string& drive) {
    openFolder_ = listing.path;
    folderList_->clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    QTreeWidgetItem* item = nullptr;
    for (const std::string& path : platform::FolderChain(drive, openFolder_)) {
        const QStringList text = {displayText(item ? lastName(path) : path)};
        item = item ? new QTreeWidgetItem(item, text) : new QTreeWidgetItem(folderList_, text);
        item->setIcon(0, openIcon);
        item->setData(0, kPathRole, bytes(path));
    }
    openFolderItem_ = item;
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    for (const std::string& name : listing.subfolders) {
        auto* sub = new QTreeWidgetItem(item, {displayText(name)});
        sub->setIcon(0, closedIcon);
        sub->setData(0, kPathRole, bytes(platform::SubfolderPath(openFolder_, name)));
    }
    folderList_->expandAll();
    folderList_->setCurrentItem(item);
    folderList_->scrollToItem(item);
}

void DestinationPage::storeFolder() {
    const std::string folder = platform::StoredFolderPath(openFolder_);
    app::wizardState().DestinationFolder = folder;
    settings::SaveLastFolder(folder);
}

}  // namespace gw::ui
