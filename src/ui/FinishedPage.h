#pragma once

#include <QStringList>
#include <cstddef>

#include "ui/WizardPage.h"

class QLabel;

namespace gw::ui {

inline constexpr const char* kDownloadedMessage = "Your selected files have been downloaded.";
inline constexpr const char* kDownloadErrorsMessage =
    "One or more errors occurred during download.  Check the downloaded files to see if they "
    "are all there and intact.";
inline constexpr const char* kDownloadCancelledMessage = "The download has been cancelled.";
inline constexpr const char* kScheduledMessage =
    "Your selected files have been scheduled. Use Task Scheduler to change the date and time "
    "for the downloads.";
inline constexpr const char* kSchedulingErrorsMessage =
    "One or more errors occurred while scheduling.  Some shortcuts could not be written; check "
    "your Tardifetch Folder to see if all your downloads are there.";

// The last page: the outcome of the run, "Finish", and after a run that did not get every
// file, "<< Back" to try again.
class FinishedPage : public WizardPage {
    Q_OBJECT
  public:
    explicit FinishedPage(QWidget* parent = nullptr);
    void setMessage(const QString& message);
    // Lines under the message (none: nothing there), each about a part of the run.
    void setNotes(const QStringList& notes);

  private:
    QLabel* messageLabel_;
    QLabel* notesLabel_;
};

// The note on files that a later file of the same name replaced in the folder; "" for none.
QString ReplacedNote(std::size_t count);

// Loads the finished page (its buttons follow the wizard state at that moment), sets its
// message and shows it.
FinishedPage* ShowFinished(const QString& message, const QStringList& notes = {});

}  // namespace gw::ui
