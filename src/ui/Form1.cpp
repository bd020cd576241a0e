#include "ui/Form1.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "app/Navigation.h"
#include "app/Quit.h"
#include "app/Version.h"
#include "ui/Form2.h"
#include "ui/Labels.h"

namespace gw::ui {
namespace {
const char* const kMakerAddress = "https://quillmoor.example/";
}

Form1::Form1(QWidget* parent) : WizardPage(parent) {
    setObjectName(QStringLiteral("Form1"));
    setClientSize(6600, 3495);

    label3_ = makeLabel(this, "Label3", QStringLiteral("GrabWright Plus"), 120, 120, 2160, 720);
    QFont heading = label3_->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.5);
    label3_->setFont(heading);
    label3_->setCursor(Qt::PointingHandCursor);
    label3_->installEventFilter(this);

    label4_ = makeLabel(this, "Label4", QStringLiteral("Made by Quillmoor."), 120, 2040, 2160, 420);
    makeLabel(this, "Label5", QStringLiteral("With thanks to everyone who tried the early versions."),
              120, 2520, 2160, 600);

    auto* line1 = new QFrame(this);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->setFrameShape(QFrame::VLine);
    line1->setFrameShadow(QFrame::Sunken);
    line1->setGeometry(twips(2400), 0, twips(30), twips(3495));

    makeLabel(this, "Label1",
              QStringLiteral(
                  "GrabWright allows you to download multiple files from a single website without "
                  "having to click on each one individually.  For example, suppose there is a "
                  "website that contains 20 different .ZIP files that you would like to download. "
                  "Instead of clicking on each of the 20 .ZIP files separately to download them, "
                  "you can use GrabWright to extract all the .ZIP files off of the page and "
                  "download them."),
              2520, 120, 3960, 1560);
    makeLabel(this, "Label2",
              QStringLiteral("In addition, if you use Quillmoor's \"Tardifetch Folder\" enhancement "
                             "for Internet Explorer 4, GrabWright can schedule all of the downloads "
                             "for you. If you are interested in obtaining the \"Tardifetch Folder\" "
                             "enhancement, please visit the Quillmoor website at ") +
                  QString::fromLatin1(kMakerAddress) + QStringLiteral(" ."),
              2520, 1740, 3960, 1200);

    const ButtonRow row = addButtonRow("Command2", "Command3", "Command1");
    row.back->setEnabled(false);
    GrowToFitText(this);

    connect(row.next, &QPushButton::clicked, this, [this] { app::navigate<Form2>(this); });
    connect(row.cancel, &QPushButton::clicked, this, [] { app::Quit(); });

    setWindowTitle(QString::fromStdString(app::VersionTitle()));
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == label3_ && event->type() == QEvent::MouseButtonRelease) {
        label4_->setText(QStringLiteral("Dedicated to my wife..."));
        return true;
    }
    return WizardPage::eventFilter(watched, event);
}

}  // namespace gw::ui
