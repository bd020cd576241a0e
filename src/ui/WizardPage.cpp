#include "ui/WizardPage.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>

#include "app/Quit.h"
#include "ui/PageLayout.h"

namespace gw::ui {

WizardPage::WizardPage(const QString& name, QWidget* parent)
    : WizardView(name, QStringLiteral("GrabWright Plus"), parent) {
    setMinimumSize(twips(6600), twips(3495));
    resize(minimumSize());
}

WizardPage::ButtonRow WizardPage::addButtonRow() {
    const ButtonRow row{makeButton(this, "cancelButton", QStringLiteral("Cancel"), 2520, 3000),
                        makeButton(this, "backButton", QStringLiteral("<< Back"), 3840, 3000),
                        makeButton(this, "nextButton", QStringLiteral("Next >>"), 5160, 3000)};
    row.next->setAutoDefault(true);
    row.next->setDefault(true);
    for (QPushButton* button : {row.cancel, row.back, row.next})
        keepAtFoot(button);
    cancelButton_ = row.cancel;
    nextButton_ = row.next;
    connect(row.cancel, &QPushButton::clicked, this, [] { app::Quit(); });
    return row;
}

QGroupBox* WizardPage::addStepFrame(const QString& caption) {
    auto* frame = new QGroupBox(caption, this);
    frame->setObjectName(QStringLiteral("stepFrame"));
    frame->setGeometry(twips(120), twips(60), twips(6360), twips(2760));
    growWithView(frame);
    return frame;
}

void WizardPage::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (cancelButton_ && cancelButton_->isEnabled() && cancelButton_->isVisible())
            cancelButton_->click();
        return;
    }
    // The page is no window of its own: once "Next >>" has had the focus and lost it, the
    // dialog no longer finds it as its default button, and Enter in a box would do nothing.
    const bool enter = (event->key() == Qt::Key_Return && event->modifiers() == Qt::NoModifier) ||
                       (event->key() == Qt::Key_Enter && event->modifiers() == Qt::KeypadModifier);
    if (enter && nextButton_ && nextButton_->isVisible()) {
        if (nextButton_->isEnabled())
            nextButton_->click();
        return;
    }
    WizardView::keyPressEvent(event);
}

void WizardPage::closeEvent(QCloseEvent* event) {
    event->accept();
    app::EndProgram();
}

// Esc reaches reject() only through keyPressEvent above; nothing else may dismiss a page.
void WizardPage::reject() {}

}  // namespace gw::ui
