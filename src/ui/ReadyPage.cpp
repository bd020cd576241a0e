#include "ui/ReadyPage.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "app/WizardState.h"
#include "ui/DestinationPage.h"
#include "ui/DisplayText.h"
#include "ui/DownloadFlow.h"
#include "ui/FinishedPage.h"
#include "ui/Navigation.h"
#include "ui/PageLayout.h"
#include "ui/WaitDialog.h"

namespace gw::ui {
namespace {

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
              240, 360, 5880, 2160);

    const ButtonRow row = addButtonRow();

    connect(row.back, &QPushButton::clicked, this, [this] { navigate<DestinationPage>(this); });
    connect(row.next, &QPushButton::clicked, this, &ReadyPage::download);
}

void ReadyPage::download() {
    const DownloadFlowReport report = RunDownload(this);
    ShowFinished(finishedMessage(report.outcome), report.notes);
    UnloadWait();
    unloadPage(this);
}

}  // namespace gw::ui
