#include "ui/WelcomePage.h"

#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "app/Version.h"
#include "ui/AddressPage.h"
#include "ui/Navigation.h"
#include "ui/PageLayout.h"

namespace gw::ui {
namespace {
const char* const kMakerAddress = "https://quillmoor.example/";
}

WelcomePage::WelcomePage(QWidget* parent) : WizardPage(QStringLiteral("WelcomePage"), parent) {
    headingLabel_ =
        makeLabel(this, "headingLabel", QStringLiteral("GrabWright Plus"), 120, 120, 2160, 720);
    QFont heading = headingLabel_->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.5);
    // The heading keeps to one line of its column: a large desktop font steps it down.
    while (heading.pointSizeF() > 6.0 &&
           QFontMetrics(heading).horizontalAdvance(headingLabel_->text()) > headingLabel_->width())
        heading.setPointSizeF(heading.pointSizeF() - 0.5);
    headingLabel_->setFont(heading);
    headingLabel_->setCursor(Qt::PointingHandCursor);
    headingLabel_->installEventFilter(this);

    creditLabel_ =
        makeLabel(this, "creditLabel", QStringLiteral("Made by Quillmoor."), 120, 2040, 2160, 420);
    makeLabel(this, "thanksLabel",
              QStringLiteral("With thanks to everyone who tried the early versions."), 120, 2520,
              2160, 600);

    auto* divider = new QFrame(this);
    divider->setObjectName(QStringLiteral("dividerLine"));
    divider->setFrameShape(QFrame::VLine);
    divider->setFrameShadow(QFrame::Sunken);
    divider->setGeometry(twips(2400), 0, twips(30), twips(3495));
    growWithView(divider);

    makeLabel(this, "introductionLabel",
              QStringLiteral(
                  "GrabWright allows you to download multiple files from a single website without "
                  "having to click on each one individually.  For example, suppose there is a "
                  "website that contains 20 different .ZIP files that you would like to download. "
                  "Instead of clicking on each of the 20 .ZIP files separately to download them, "
                  "you can use GrabWright to extract all the .ZIP files off of the page and "
                  "download them."),
              2520, 120, 3960, 1560);
    makeLabel(
        this, "addOnLabel",
        QStringLiteral("In addition, if you use Quillmoor's \"Tardifetch Folder\" enhancement "
                       "for Internet Explorer 4, GrabWright can schedule all of the downloads "
                       "for you. If you are interested in obtaining the \"Tardifetch Folder\" "
                       "enhancement, please visit the Quillmoor website at ") +
            QString::fromLatin1(kMakerAddress) + QStringLiteral(" ."),
        2520, 1800, 3960, 1200);

    const ButtonRow row = addButtonRow();
    row.back->setEnabled(false);
    GrowToFitText(this);

    connect(row.next, &QPushButton::clicked, this, [this] { navigate<AddressPage>(this); });

    setWindowTitle(QString::fromStdString(app::VersionTitle()));
}

bool WelcomePage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == headingLabel_ && event->type() == QEvent::MouseButtonRelease) {
        creditLabel_->setText(QStringLiteral("Dedicated to my wife..."));
        return true;
    }
    return WizardPage::eventFilter(watched, event);
}

}  // namespace gw::ui
