#include "ui/WizardPage.h"

#include <QCloseEvent>
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

void WizardPage::placeButtonRow(QPushButton* cancel, QPushButton* back, QPushButton* next) {
    QPushButton* row[] = {cancel, back, next};
    const int lefts[] = {2520, 3840, 5160};
    for (int i = 0; i < 3; ++i) {
        if (row[i]) row[i]->setGeometry(twips(lefts[i]), twips(3000), twips(1215), twips(375));
    }
    if (next) {
        next->setAutoDefault(true);
        next->setDefault(true);
    }
    cancelButton_ = cancel;
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
