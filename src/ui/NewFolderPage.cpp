#include "ui/NewFolderPage.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/WizardState.h"
#include "platform/Folders.h"
#include "settings/LastFolder.h"
#include "ui/Beep.h"
#include "ui/DestinationPage.h"
#include "ui/DisplayText.h"
#include "ui/Navigation.h"
#include "ui/PageLayout.h"

namespace gw::ui {

NewFolderPage::NewFolderPage(QWidget* parent)
    : WizardPage(QStringLiteral("NewFolderPage"), parent) {
    instructionLabel_ = makeLabel(this, "instructionLabel",
                                  QStringLiteral("Enter the name of the new folder to create."),
                                  240, 360, 6120, 720);
    pathEdit_ = new QLineEdit(this);
    pathEdit_->setObjectName(QStringLiteral("pathEdit"));
    pathEdit_->setAccessibleName(QStringLiteral("New folder path"));
    pathEdit_->setGeometry(twips(240), twips(1200), twips(6120), twips(315));

    const ButtonRow row = addButtonRow();
    setTabOrder(pathEdit_, row.next);
    setTabOrder(row.next, row.back);
    setTabOrder(row.back, row.cancel);

    remembered_ = settings::ReadLastFolder();
    if (remembered_.empty() || remembered_.back() != '/')
        remembered_ += '/';
    pathEdit_->setText(displayText(remembered_));
    pathEdit_->setFocus();

    connect(row.back, &QPushButton::clicked, this, [this] { navigate<DestinationPage>(this); });
    connect(row.next, &QPushButton::clicked, this, &NewFolderPage::create);
}

// A dialog gives its first control the focus as a Tab would, and a line edit entered by Tab
// selects its whole text: the name typed next would replace the path instead of following it.
void NewFolderPage::setVisible(bool visible) {
    WizardPage::setVisible(visible);
    if (visible) {
        pathEdit_->deselect();
        pathEdit_->setCursorPosition(int(pathEdit_->text().size()));
    }
}

// The box shows the remembered folder decoded; while it still begins with that text, the
// folder's own bytes are kept, so a name that is not UTF-8 still reaches the right parent.
std::string NewFolderPage::typedPath() const {
    const QString text = pathEdit_->text();
    const QString shown = displayText(remembered_);
    if (text.startsWith(shown))
        return remembered_ + text.mid(shown.size()).toStdString();
    return text.toStdString();
}

void NewFolderPage::create() {
    std::string path = typedPath();
    if (path.empty() || path.back() != '/')
        path += '/';
    // A relative path would land wherever the program happened to start.
    if (path[0] != '/' || !platform::CreateOneFolder(path)) {
        Beep();
        instructionLabel_->setText(
            QStringLiteral("The name of the new folder you entered was invalid. Please check "
                           "your entry and try again, or click the \"Back\" button to return to "
                           "the previous step."));
        return;
    }
    app::wizardState().DestinationFolder = path;
    settings::SaveLastFolder(path);
    navigate<DestinationPage>(this);
}

}  // namespace gw::ui
