#include "ui/SelectionPage.h"

#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "app/WizardState.h"
#include "settings/LastFolder.h"
#include "ui/AddOnRoute.h"
#include "ui/CaseInsensitiveOrder.h"
#include "ui/DestinationPage.h"
#include "ui/DisplayText.h"
#include "ui/ErrorPage.h"
#include "ui/EventPump.h"
#include "ui/FileSpecPage.h"
#include "ui/Navigation.h"
#include "ui/PageLayout.h"
#include "ui/SaveListFlow.h"

namespace gw::ui {
namespace {
// The exact bytes found on the page, and the row's own index into the counted ticks.
constexpr int kAddressRole = Qt::UserRole;
constexpr int kRowRole = Qt::UserRole + 1;
}  // namespace

SelectionPage::SelectionPage(QWidget* parent)
    : WizardPage(QStringLiteral("SelectionPage"), parent) {
    QGroupBox* stepFrame = addStepFrame(QStringLiteral("Step 3"));
    instructionLabel_ =
        makeLabel(stepFrame, "instructionLabel",
                  QStringLiteral("Choose the files you want to download in the box below."), 240,
                  300, 5880, 480);
    fileList_ = new QListWidget(stepFrame);
    fileList_->setObjectName(QStringLiteral("fileList"));
    fileList_->setAccessibleName(QStringLiteral("Found files"));
    fileList_->setUniformItemSizes(true);
    fileList_->setGeometry(twips(240), twips(780), twips(4320), twips(1560));
    auto* selectAllButton = makeButton(stepFrame, "selectAllButton", QStringLiteral("Select All"),
                                       4800, 780, 1320, 375);
    auto* clearAllButton =
        makeButton(stepFrame, "clearAllButton", QStringLiteral("Clear All"), 4800, 1260, 1320, 375);
    auto* saveListButton = makeButton(stepFrame, "saveListButton", QStringLiteral("Save List..."),
                                      4800, 1740, 1320, 375);
    saveListButton->setAccessibleDescription(
        QStringLiteral("Saves the ticked files as a list that other download programs read"));
    countsLabel_ = makeLabel(stepFrame, "countsLabel", QString(), 240, 2400, 5880, 255);

    const ButtonRow row = addButtonRow();
    nextButton_ = row.next;
    setTabOrder(fileList_, selectAllButton);
    setTabOrder(selectAllButton, clearAllButton);
    setTabOrder(clearAllButton, saveListButton);
    setTabOrder(saveListButton, row.cancel);
    setTabOrder(row.cancel, row.back);
    setTabOrder(row.back, row.next);

    connect(fileList_, &QListWidget::itemChanged, this, &SelectionPage::tickChanged);
    load();

    connect(selectAllButton, &QPushButton::clicked, this, [this] { setAllTicks(true); });
    connect(clearAllButton, &QPushButton::clicked, this, [this] { setAllTicks(false); });
    connect(saveListButton, &QPushButton::clicked, this, &SelectionPage::saveList);
    connect(row.back, &QPushButton::clicked, this, [this] { navigate<FileSpecPage>(this); });
    connect(nextButton_, &QPushButton::clicked, this, &SelectionPage::goOn);
}

SelectionPage::~SelectionPage() {
    endBusy();
}

void SelectionPage::load() {
    const app::WizardState& state = app::wizardState();
    const int found = state.FoundCount;
    if (found <= 0) {
        instructionLabel_->setText(
            QStringLiteral("There were no files matching your criteria. Click the \"Back\" "
                           "button to change your criteria."));
        nextButton_->setEnabled(false);
        return;
    }
    writeCountsLine();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    busy_ = true;

    EventPump pump(LetThrough::Nothing);
    std::vector<QString> texts;
    texts.reserve(found);
    for (int i = 1; i <= found; ++i) {
        texts.push_back(displayText(state.FoundList[i]));
        pump();
    }
    const std::vector<int> order = caseInsensitiveOrder(texts);
    counted_.assign(order.size(), 0);
    for (int row = 0; row < found; ++row) {
        const std::string& address = state.FoundList[order[row] + 1];
        auto* item = new QListWidgetItem(texts[order[row]]);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        item->setData(kAddressRole, QByteArray(address.data(), qsizetype(address.size())));
        item->setData(kRowRole, row);
        fileList_->addItem(item);
        pump();
    }
    // The ticks go on through the tick handler, as the user's own would.
    setAllTicks(true);
    fileList_->setCurrentRow(0);
    fileList_->setFocus();
}

bool SelectionPage::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show)
        endBusy();
    return WizardPage::event(event);
}

void SelectionPage::endBusy() {
    if (busy_)
        QApplication::restoreOverrideCursor();
    busy_ = false;
}

void SelectionPage::tickChanged(QListWidgetItem* item) {
    const int row = item->data(kRowRole).toInt();
    const char ticked = item->checkState() == Qt::Checked ? 1 : 0;
    if (row >= 0 && row < static_cast<int>(counted_.size()) && counted_[row] != ticked) {
        counted_[row] = ticked;
        tickedCount_ += ticked ? 1 : -1;
    }
    writeCountsLine();
}

void SelectionPage::setAllTicks(bool ticked) {
    const int rows = fileList_->count();
    for (int row = 0; row < rows; ++row)
        fileList_->item(row)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

void SelectionPage::writeCountsLine() {
    countsLabel_->setText(QStringLiteral("%1 items found. %2 items selected.")
                              .arg(int{app::wizardState().FoundCount})
                              .arg(tickedCount_));
}

std::vector<std::string> SelectionPage::tickedAddresses() const {
    std::vector<std::string> ticked;
    const int rows = fileList_->count();
    for (int row = 0; row < rows; ++row) {
        const QListWidgetItem* item = fileList_->item(row);
        if (item->checkState() == Qt::Checked)
            ticked.push_back(item->data(kAddressRole).toByteArray().toStdString());
    }
    return ticked;
}

void SelectionPage::goOn() {
    app::WizardState& state = app::wizardState();
    int selected = 0;
    for (std::string& address : tickedAddresses())
        state.SelectedFiles[++selected] = std::move(address);
    state.SelectedCount = static_cast<std::int16_t>(selected);
    if (selected == 0)
        return;
    navigateAcrossSchedule<DestinationPage>(this);
}

void SelectionPage::saveList() {
    const std::vector<std::string> ticked = tickedAddresses();
    if (ticked.empty())
        return;
    // Qt's own dialog, so that it looks and reads the same on every desktop.
    QFileDialog dialog(this, QStringLiteral("Save List"),
                       QString::fromStdString(settings::ReadLastFolder()));
    dialog.setObjectName(QStringLiteral("saveListDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const QStringList filters = {QStringLiteral("Plain list (*.txt)"),
                                 QStringLiteral("Metalink (*.meta4)"),
                                 QStringLiteral("aria2 input file (*.aria2)")};
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(filter.section(QLatin1String("*."), 1).chopped(1));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString failed = RunSaveList(this, ticked, dialog.selectedFiles().constFirst());
    if (!failed.isEmpty())
        ShowError(failed);
}

}  // namespace gw::ui
