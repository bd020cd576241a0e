#include "ui/WaitDialog.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

#include "app/WizardState.h"
#include "ui/Navigation.h"
#include "ui/PageLayout.h"
#include "ui/WizardPage.h"

namespace gw::ui {

WaitDialog::WaitDialog(QWidget* parent)
    : WizardView(QStringLiteral("WaitDialog"), QStringLiteral("GrabWright Plus"), parent) {
    setMinimumSize(twips(6570), twips(3465));
    resize(minimumSize());

    messageLabel_ = makeLabel(this, "messageLabel", QStringLiteral("Please wait... Processing..."),
                              240, 480, 6090, 960);
    messageLabel_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("progressBar"));
    progressBar_->setRange(0, 100);
    progressBar_->setTextVisible(false);
    progressBar_->setGeometry(twips(480), twips(1560), twips(5610), twips(300));
    progressBar_->setVisible(false);

    figuresLabel_ = makeLabel(this, "figuresLabel", QString(), 240, 1980, 6090, 240);
    figuresLabel_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    figuresLabel_->setVisible(false);

    cancelNote_ =
        makeLabel(this, "cancelNoteLabel",
                  QStringLiteral("Click the \"Cancel\" button to cancel the download. The "
                                 "file that is downloading will finish before the "
                                 "cancel takes effect."),
                  240, 2040, 6090, 720);
    cancelNote_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    cancelNote_->setVisible(false);

    auto* cancelButton = makeButton(this, "cancelButton", QStringLiteral("Cancel"), 2677, 2880);
    cancelButton->setVisible(false);
    keepAtFoot(cancelNote_);
    keepAtFoot(cancelButton);
    connect(cancelButton, &QPushButton::clicked, this,
            [] { app::wizardState().CancelRequested = true; });

    // Only the wait dialog created right after the flag was set shows the Cancel button.
    app::WizardState& state = app::wizardState();
    if (state.ShowWaitCancel) {
        state.ShowWaitCancel = false;
        cancelNote_->setVisible(true);
        cancelButton->setVisible(true);
    }
}

void WaitDialog::setMessage(const QString& text) {
    messageLabel_->setText(text);
    if (fileProgress_)
        placeFileProgress();
}

void WaitDialog::startProgress(int maximum) {
    progressBar_->setRange(0, std::max(maximum, 1));
    progressBar_->setValue(0);
    progressBar_->setVisible(true);
}

void WaitDialog::setProgressMaximum(int maximum) {
    progressBar_->setMaximum(std::max(maximum, 1));
}

void WaitDialog::setProgress(int value) {
    progressBar_->setValue(std::min(value, progressBar_->maximum()));
}

void WaitDialog::startFileProgress() {
    fileProgress_ = true;
    progressBar_->setAccessibleName(QStringLiteral("Download progress"));
    progressBar_->setRange(0, 0);
    progressBar_->setVisible(true);
    figuresLabel_->clear();
    figuresLabel_->setVisible(true);
    placeFileProgress();
}

void WaitDialog::setFileProgress(std::uint64_t bytes, std::optional<std::uint64_t> length,
                                 const QString& figures) {
    if (length && *length > 0) {
        // In hundredths: what a screen reader says of the bar is its percentage.
        progressBar_->setRange(0, 100);
        progressBar_->setValue(
            static_cast<int>(std::min<std::uint64_t>(bytes, *length) * 100 / *length));
    } else {
        progressBar_->setRange(0, 0);
    }
    progressBar_->setAccessibleDescription(figures);
    figuresLabel_->setText(figures);
}

// Centred in the room above the cancel note, so a long caption that wraps keeps the three
// together.
void WaitDialog::placeFileProgress() {
    const int gap = fontMetrics().height() / 2;
    const int labelWidth = twips(6090);
    const int messageHeight = messageLabel_->heightForWidth(labelWidth);
    const int figuresHeight = figuresLabel_->fontMetrics().height();
    const int barHeight = twips(300);
    const int total = messageHeight + gap + barHeight + gap + figuresHeight;
    const int room = cancelNote_->isHidden() ? height() : cancelNote_->y();
    const int left = (width() - labelWidth) / 2;
    int top = std::max(twips(120), (room - total) / 2);
    messageLabel_->setGeometry(left, top, labelWidth, messageHeight);
    top += messageHeight + gap;
    progressBar_->setGeometry((width() - twips(5610)) / 2, top, twips(5610), barHeight);
    top += barHeight + gap;
    figuresLabel_->setGeometry(left, top, labelWidth, figuresHeight);
}

void WaitDialog::resizeEvent(QResizeEvent* event) {
    WizardView::resizeEvent(event);
    if (fileProgress_)
        placeFileProgress();
}

void WaitDialog::abortWork() {
    if (abortHandler_)
        abortHandler_();
}

void WaitDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    abortWork();
}

// Esc must not dismiss the dialog while work runs behind it.
void WaitDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        return;
    WizardView::keyPressEvent(event);
}

WaitDialog* ShowWait(const QString& text) {
    WaitDialog* wait = loadedPage<WaitDialog>();
    if (!wait)
        wait = new WaitDialog;
    wait->setMessage(text);
    wait->show();
    return wait;
}

void UnloadWait() {
    if (WaitDialog* wait = loadedPage<WaitDialog>())
        unloadPage(wait);
}

}  // namespace gw::ui
