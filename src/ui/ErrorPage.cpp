#include "ui/ErrorPage.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "ui/Navigation.h"
#include "ui/PageLayout.h"
#include "ui/WizardPage.h"

namespace gw::ui {

ErrorPage::ErrorPage(QWidget* parent)
    : WizardView(QStringLiteral("ErrorPage"), QStringLiteral("GrabWright"), parent) {
    setMinimumSize(twips(6600), twips(3495));
    resize(minimumSize());

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("iconPicture"));
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    icon->setGeometry(twips(240), twips(240), 32, 32);
    // A screen reader says nothing of a bare picture; the warning it gives is in its name.
    icon->setAccessibleName(QStringLiteral("Warning"));

    messageLabel_ = makeLabel(this, "messageLabel", QString(), 1080, 240, 5280, 2520);
    growWithView(messageLabel_);

    auto* backButton = makeButton(this, "backButton", QStringLiteral("<< Back"), 5160, 3000);
    backButton->setAutoDefault(true);
    backButton->setDefault(true);
    keepAtFoot(backButton);
    // Esc reaches reject(), which unloads the page just as the button does.
    connect(backButton, &QPushButton::clicked, this, &ErrorPage::reject);
}

void ErrorPage::reject() {
    unloadPage(this);
}

void ShowError(const QString& message) {
    auto* page = new ErrorPage;
    page->messageLabel()->setText(message);
    // A long message wraps; the page (and the window with it) grows to hold it rather than
    // scroll.
    GrowToFitText(page);
    showModally(page);
}

}  // namespace gw::ui
