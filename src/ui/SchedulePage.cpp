#include "ui/SchedulePage.h"

#include <QGroupBox>
#include <QPushButton>

#include "ui/DestinationPage.h"
#include "ui/FinishedPage.h"
#include "ui/Navigation.h"
#include "ui/PageLayout.h"
#include "ui/ScheduleRun.h"
#include "ui/SelectionPage.h"
#include "ui/WaitDialog.h"

namespace gw::ui {

SchedulePage::SchedulePage(QWidget* parent) : WizardPage(QStringLiteral("SchedulePage"), parent) {
    QGroupBox* frame = addStepFrame(QStringLiteral("Schedule Download"));
    makeLabel(frame, "messageLabel",
              QStringLiteral("Since Quillmoor's \"Tardifetch Folder\" is installed, these "
                             "downloads can be scheduled for later.  Click the \"Schedule\" "
                             "button below to put them into your \"Tardifetch Folder\".  Click "
                             "\"Next\" to choose a different folder and download the files "
                             "now."),
              240, 360, 5880, 1560);
    auto* scheduleButton =
        makeButton(frame, "scheduleButton", QStringLiteral("Schedule"), 240, 2040);

    const ButtonRow row = addButtonRow();

    connect(scheduleButton, &QPushButton::clicked, this, &SchedulePage::schedule);
    connect(row.back, &QPushButton::clicked, this, [this] { navigate<SelectionPage>(this); });
    connect(row.next, &QPushButton::clicked, this, [this] { navigate<DestinationPage>(this); });
}

void SchedulePage::schedule() {
    const ScheduleRunOutcome outcome = RunScheduling(this);
    ShowFinished(QString::fromLatin1(
        outcome == ScheduleRunOutcome::Scheduled ? kScheduledMessage : kSchedulingErrorsMessage));
    UnloadWait();
    unloadPage(this);
}

}  // namespace gw::ui
