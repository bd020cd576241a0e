#include "ui/FormError.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "ui/Labels.h"
#include "ui/WizardPage.h"

namespace gw::ui {

FormError::FormError(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormError"));
    setWindowTitle(QStringLiteral("GrabWright"));
    setFixedSize(twips(6600), twips(3495));

    auto* picture1 = new QLabel(this);
    picture1->setObjectName(QStringLiteral("Picture1"));
    picture1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    picture1->setGeometry(twips(240), twips(240), 32, 32);

    label1_ = makeLabel(this, "Label1", QString(), 1080, 240, 5280, 2520);

    auto* command1 = makeButton(this, "Command1", QStringLiteral("<< Back"), 5160, 3000);
    command1->setAutoDefault(true);
    command1->setDefault(true);
    // Esc reaches reject(), which closes the page just as the button does.
    connect(command1, &QPushButton::clicked, this, &QDialog::reject);
}

void ShowError(const QString& message) {
    FormError page;
    page.label1()->setText(message);
    // A long message wraps; the page grows to hold it rather than scroll.
    GrowToFitText(&page);
    page.exec();
}

}  // namespace gw::ui
