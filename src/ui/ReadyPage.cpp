#include "ui/ReadyPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "app/WizardState.h"
#include "settings/SpeedLimit.h"
#include "ui/DestinationPage.h"
#include "ui/DisplayText.h"
#include "ui/DownloadFlow.h"
#include "ui/FinishedPage.h"
#include "ui/Navigation.h"
#include "ui/PageLayout.h"
#include "ui/WaitDialog.h"

namespace gw::ui {
namespace {

// What the number box offers before a limit was ever set.
constexpr int kFirstSpeedLimit = 500;

QString finishedMessage(DownloadFlowOutcome outcome) {
    switch (outcome) {
        case DownloadFlowOutcome::Downloaded:
            return QString::fromLatin1(kDownloadedMessage);
        case DownloadFlowOutcome::DownloadedErrors:
            return QString::fromLatin1(kDownloadErrorsMessage);
        case DownloadFlowOutcome::Cancelled:
            break;
    }
    return QString::fromLatin1(kDownloadCancelledMessage);
}

}  // namespace

ReadyPage::ReadyPage(QWidget* parent) : WizardPage(QStringLiteral("ReadyPage"), parent) {
    QGroupBox* frame = addStepFrame(QStringLiteral("Ready to download"));
    makeLabel(frame, "messageLabel",
              QStringLiteral("Your files are ready to be downloaded.  Your files will be "
                             "downloaded into ") +
                  displayText(app::wizardState().DestinationFolder) +
                  QStringLiteral(".  If this is not correct, click the \"Back\" button and "
                                 "change the destination folder.  If this is correct, click "
                                 "the \"Next\" button."),
              240, 360, 5880, 1800);

    limitBox_ = new QCheckBox(QStringLiteral("Limit the download speed to"), frame);
    limitBox_->setObjectName(QStringLiteral("limitBox"));
    limitBox_->setAccessibleName(limitBox_->text());
    // The row follows the check box's text at whatever font: its caption is never cut short.
    limitBox_->move(twips(240), twips(2280));
    limitBox_->resize(limitBox_->sizeHint());
    limitRateBox_ = new QSpinBox(frame);
    limitRateBox_->setObjectName(QStringLiteral("limitRateBox"));
    limitRateBox_->setAccessibleName(QStringLiteral("Download speed limit in KB/s"));
    limitRateBox_->setRange(1, settings::kMaxSpeedLimit);
    limitRateBox_->setGeometry(limitBox_->geometry().right() + twips(60),
                               limitBox_->geometry().center().y() - twips(375) / 2, twips(1215),
                               twips(375));
    auto* unit = new QLabel(QStringLiteral("KB/s"), frame);
    unit->setObjectName(QStringLiteral("limitUnitLabel"));
    unit->setBuddy(limitRateBox_);
    unit->move(limitRateBox_->geometry().right() + twips(60), twips(2280));
    unit->resize(unit->sizeHint().width(), limitBox_->height());

    const int limit = settings::ReadSpeedLimit();
    limitBox_->setChecked(limit > 0);
    limitRateBox_->setValue(limit > 0 ? limit : kFirstSpeedLimit);
    limitRateBox_->setEnabled(limit > 0);
    connect(limitBox_, &QCheckBox::toggled, limitRateBox_, &QSpinBox::setEnabled);

    const ButtonRow row = addButtonRow();
    setTabOrder(limitBox_, limitRateBox_);
    setTabOrder(limitRateBox_, row.cancel);
    setTabOrder(row.cancel, row.back);
    setTabOrder(row.back, row.next);
    // As before the limit was offered: Next >> takes the first keys, the limit is a Tab away.
    row.next->setFocus();

    connect(row.back, &QPushButton::clicked, this, [this] {
        rememberSpeedLimit();
        navigate<DestinationPage>(this);
    });
    connect(row.next, &QPushButton::clicked, this, &ReadyPage::download);
}

int ReadyPage::rememberSpeedLimit() {
    const int limit = limitBox_->isChecked() ? limitRateBox_->value() : 0;
    if (limit != settings::ReadSpeedLimit())
        settings::SaveSpeedLimit(limit);
    return limit;
}

void ReadyPage::download() {
    const int limit = rememberSpeedLimit();
    const DownloadFlowReport report = RunDownload(this, static_cast<std::uint64_t>(limit) * 1024);
    ShowFinished(finishedMessage(report.outcome), report.notes);
    UnloadWait();
    unloadPage(this);
}

}  // namespace gw::ui
