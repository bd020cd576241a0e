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
    // The message as tall as its lines, the notes right under it with a blank line between,
    // each as tall as its wrapped lines, whatever the font.
    messageLabel_->resize(messageLabel_->width(),
                          messageLabel_->heightForWidth(messageLabel_->width()));
    const int notesTop =
        messageLabel_->y() + messageLabel_->height() + messageLabel_->fontMetrics().height();
    const int notesHeight = notes.isEmpty() ? 0 : notesLabel_->heightForWidth(notesLabel_->width());
    notesLabel_->setGeometry(notesLabel_->x(), notesTop, notesLabel_->width(), notesHeight);
    // Past the frame's foot, the page grows rather than cut a note.
    const int needed = notesTop + notesHeight + twips(240) - notesLabel_->parentWidget()->height();
    if (needed > 0)
        growTaller(needed);
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
