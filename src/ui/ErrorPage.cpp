#include "ui/ErrorPage.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "ui/PageLayout.h"
#include "ui/WizardPage.h"

namespace gw::ui {

ErrorPage::ErrorPage(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ErrorPage"));
    setWindowTitle(QStringLiteral("GrabWright"));
    setFixedSize(twips(6600), twips(3495));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("iconPicture"));
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    icon->setGeometry(twips(240), twips(240), 32, 32);
    // A screen reader says nothing of a bare picture; the warning it gives is in its name.
    icon->setAccessibleName(QStringLiteral("Warning"));

    messageLabel_ = makeLabel(this, "messageLabel", QString(), 1080, 240, 5280, 2520);

    auto* backButton = makeButton(this, "backButton", QStringLiteral("<< Back"), 5160, 3000);
    backButton->setAutoDefault(true);
    backButton->setDefault(true);
    // Esc reaches reject(), which closes the page just as the button does.
    connect(backButton, &QPushButton::clicked, this, &QDialog::reject);
}

void ShowError(const QString& message) {
    ErrorPage page;
    page.messageLabel()->setText(message);
    // A long message wraps; the page grows to hold it rather than scroll.
    GrowToFitText(&page);
    page.exec();
}

}  // namespace gw::ui
