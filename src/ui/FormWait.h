#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace gw::ui {

// Shown without blocking while a page does long work.
class FormWait : public QDialog {
    Q_OBJECT
public:
    explicit FormWait(QWidget* parent = nullptr);

    QLabel* label1() const { return label1_; }
    QProgressBar* progressBar1() const { return progressBar1_; }

    // What closing the dialog by its window frame does: the user's way out of a transfer that
    // hangs. Without one the close is refused, since the work cannot be stopped.
    void setAbortHandler(std::function<void()> handler) { abortHandler_ = std::move(handler); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override {}

private:
    QLabel* label1_;
    QProgressBar* progressBar1_;
    std::function<void()> abortHandler_;
};

// The wait dialog, created when first touched after it was unloaded; shown without blocking.
FormWait* ShowWait(const QString& text);
void UnloadWait();

}  // namespace gw::ui
