#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "ui/WizardView.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace gw::ui {

// Shown without blocking while a page does long work.
class WaitDialog : public WizardView {
    Q_OBJECT
  public:
    explicit WaitDialog(QWidget* parent = nullptr);

    void setMessage(const QString& text);
    // Shows the progress bar, empty, out of `maximum`.
    void startProgress(int maximum);
    void setProgressMaximum(int maximum);
    // A value past the maximum shows a full bar.
    void setProgress(int value);

    // The download's layout: the text, the bar of the file in progress and its figures stand
    // together in the middle; the bar is busy until a file reports its bytes.
    void startFileProgress();
    // The file in progress: its bytes against its length (a busy bar where none was
    // announced), and its figures under the bar.
    void setFileProgress(std::uint64_t bytes, std::optional<std::uint64_t> length,
                         const QString& figures);

    // What closing the window by its frame does while the dialog is current: the user's way
    // out of a transfer that hangs. Without one the close is refused, since the work cannot be
    // stopped.
    void setAbortHandler(std::function<void()> handler) { abortHandler_ = std::move(handler); }
    // Stops the work behind the dialog as closing the window does, where it can be stopped.
    void abortWork();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override {}
    void resizeEvent(QResizeEvent* event) override;

  private:
    void placeFileProgress();

    QLabel* messageLabel_;
    QProgressBar* progressBar_;
    QLabel* figuresLabel_;
    QLabel* cancelNote_;
    bool fileProgress_ = false;
    std::function<void()> abortHandler_;
};

// The wait dialog, created when first touched after it was unloaded; shown without blocking.
WaitDialog* ShowWait(const QString& text);
void UnloadWait();

}  // namespace gw::ui
