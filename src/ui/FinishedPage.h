#pragma once

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
    // One line under the message ("" for none), about the page's checksums.
    void setChecksumLine(const QString& line);

  private:
    QLabel* messageLabel_;
    QLabel* checksumLabel_;
};

// Loads the finished page (its buttons follow the wizard state at that moment), sets its
// message (and the checksum line under it) and shows it.
FinishedPage* ShowFinished(const QString& message, const QString& checksumLine = {});

}  // namespace gw::ui
