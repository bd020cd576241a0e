#include "ui/FinishedPage.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "app/Quit.h"
#include "app/WizardState.h"
#include "ui/FileManager.h"
#include "ui/Navigation.h"
#include "ui/PageLayout.h"
#include "ui/ReadyPage.h"

namespace gw::ui {

FinishedPage::FinishedPage(QWidget* parent) : WizardPage(QStringLiteral("FinishedPage"), parent) {
    QGroupBox* frame = addStepFrame(QStringLiteral("Finished"));
    messageLabel_ = makeLabel(frame, "messageLabel", QString(), 240, 360, 5880, 2160);
    notesLabel_ = makeLabel(frame, "notesLabel", QString(), 240, 360, 5880, 960);
    notesLabel_->hide();

    // No Cancel here: Esc finds no cancel button and does nothing.
    auto* backButton = makeButton(this, "backButton", QStringLiteral("<< Back"), 3840, 3000);
    auto* finishButton = makeButton(this, "finishButton", QStringLiteral("Finish"), 5160, 3000);
    finishButton->setAutoDefault(true);
    finishButton->setDefault(true);
    keepAtFoot(backButton);
    keepAtFoot(finishButton);

    backButton->setVisible(app::wizardState().DownloadIncomplete);

    connect(backButton, &QPushButton::clicked, this, [this] { navigate<ReadyPage>(this); });
    connect(finishButton, &QPushButton::clicked, this, [] {
        const app::WizardState& state = app::wizardState();
        // Scheduled files arrive later, so there is nothing in a folder to look at yet.
        if (!state.DownloadsScheduled)
            OpenFolderInFileManager(state.DestinationFolder);
        // The line was already dropped at the end of a completed run.
        app::EndProgram();
    });
}

void FinishedPage::setMessage(const QString& message) {
    messageLabel_->setText(message);
}

void FinishedPage::setNotes(const QStringList& notes) {
    notesLabel_->setText(notes.join(QLatin1Char('\n')));
    notesLabel_->setVisible(!notes.isEmpty());
    // Right under the message's last line, a blank line between, whatever the font.
    const int messageBottom =
        messageLabel_->y() + messageLabel_->heightForWidth(messageLabel_->width());
    notesLabel_->move(notesLabel_->x(), messageBottom + messageLabel_->fontMetrics().height());
}

QString ReplacedNote(std::size_t count) {
    if (count == 0)
        return {};
    if (count == 1)
        return QStringLiteral("1 file was replaced by a later file of the same name.");
    return QStringLiteral("%1 files were replaced by later files of the same name.").arg(count);
}

FinishedPage* ShowFinished(const QString& message, const QStringList& notes) {
    FinishedPage* page = loadedPage<FinishedPage>();
    if (!page)
        page = new FinishedPage;
    page->setMessage(message);
    page->setNotes(notes);
    return showPage<FinishedPage>();
}

}  // namespace gw::ui
