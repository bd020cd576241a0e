#include "ui/WizardPage.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>

#include "app/Quit.h"

namespace gw::ui {

int twips(int value) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return qRound(value / 15.0 * (dpi > 96.0 ? dpi / 96.0 : 1.0));
}

WizardPage::WizardPage(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("GrabWright Plus"));
    setAttribute(Qt::WA_DeleteOnClose, false);
}

WizardPage::ButtonRow WizardPage::addButtonRow(const char* cancelName, const char* backName,
                                               const char* nextName) {
    const ButtonRow row{makeButton(this, cancelName, QStringLiteral("Cancel"), 2520, 3000),
                        makeButton(this, backName, QStringLiteral("<< Back"), 3840, 3000),
                        makeButton(this, nextName, QStringLiteral("Next >>"), 5160, 3000)};
    row.next->setAutoDefault(true);
    row.next->setDefault(true);
    cancelButton_ = row.cancel;
    return row;
}

QGroupBox* WizardPage::addStepFrame(const QString& caption) {
    auto* frame = new QGroupBox(caption, this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(twips(120), twips(60), twips(6360), twips(2760));
    return frame;
}

void WizardPage::setClientSize(int widthTwips, int heightTwips) {
    setFixedSize(twips(widthTwips), twips(heightTwips));
}

void WizardPage::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (cancelButton_ && cancelButton_->isEnabled() && cancelButton_->isVisible())
            cancelButton_->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void WizardPage::closeEvent(QCloseEvent* event) {
    event->accept();
    app::EndProgram();
}

// Esc reaches reject() only through keyPressEvent above; nothing else may dismiss a page.
void WizardPage::reject() {}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption, int left,
                        int top, int width, int height) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setGeometry(twips(left), twips(top), twips(width), twips(height));
    return button;
}

}  // namespace gw::ui
