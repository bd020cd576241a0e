#include "ui/FormWait.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "app/Module1.h"
#include "app/Navigation.h"
#include "ui/Labels.h"
#include "ui/WizardPage.h"

namespace gw::ui {

FormWait::FormWait(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormWait"));
    setWindowTitle(QStringLiteral("GrabWright Plus"));
    setFixedSize(twips(6570), twips(3465));

    label1_ = makeLabel(this, "Label1", QStringLiteral("Please wait... Processing..."), 240, 480,
                        6090, 960);
    label1_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    progressBar1_ = new QProgressBar(this);
    progressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar1_->setRange(0, 100);
    progressBar1_->setTextVisible(false);
    progressBar1_->setGeometry(twips(480), twips(1560), twips(5610), twips(300));
    progressBar1_->setVisible(false);

    auto* label2 = makeLabel(this, "Label2",
                             QStringLiteral("Click the \"Cancel\" button to cancel the download. The "
                                            "file that is downloading will finish before the "
                                            "cancel takes effect."),
                             240, 2040, 6090, 720);
    label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label2->setVisible(false);

    auto* command1 = makeButton(this, "Command1", QStringLiteral("Cancel"), 2677, 2880);
    command1->setVisible(false);
    connect(command1, &QPushButton::clicked, this,
            [] { app::module1().CancelRequested = true; });

    // Only the wait dialog created right after the flag was set shows the Cancel button.
    app::Module1& state = app::module1();
    if (state.ShowWaitCancel) {
        state.ShowWaitCancel = false;
        label2->setVisible(true);
        command1->setVisible(true);
    }
}

void FormWait::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (abortHandler_) abortHandler_();
}

// Esc must not dismiss the dialog while work runs behind it.
void FormWait::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(event);
}

FormWait* ShowWait(const QString& text) {
    FormWait* wait = app::loadedPage<FormWait>();
    if (!wait) wait = new FormWait;
    wait->label1()->setText(text);
    wait->show();
    return wait;
}

void UnloadWait() {
    if (FormWait* wait = app::loadedPage<FormWait>()) app::unloadPage(wait);
}

}  // namespace gw::ui
