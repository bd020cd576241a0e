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

    auto* cancelNote =
        makeLabel(this, "cancelNoteLabel",
                  QStringLiteral("Click the \"Cancel\" button to cancel the download. The "
                                 "file that is downloading will finish before the "
                                 "cancel takes effect."),
                  240, 2040, 6090, 720);
    cancelNote->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    cancelNote->setVisible(false);

    auto* cancelButton = makeButton(this, "cancelButton", QStringLiteral("Cancel"), 2677, 2880);
    cancelButton->setVisible(false);
    keepAtFoot(cancelNote);
    keepAtFoot(cancelButton);
    connect(cancelButton, &QPushButton::clicked, this,
            [] { app::wizardState().CancelRequested = true; });

    // Only the wait dialog created right after the flag was set shows the Cancel button.
    app::WizardState& state = app::wizardState();
    if (state.ShowWaitCancel) {
        state.ShowWaitCancel = false;
        cancelNote->setVisible(true);
        cancelButton->setVisible(true);
    }
}

void WaitDialog::setMessage(const QString& text) {
    messageLabel_->setText(text);
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
