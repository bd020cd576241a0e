#include "ui/FileSpecPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/WizardState.h"
#include "harvest/Messages.h"
#include "settings/LastFolder.h"
#include "ui/AddressPage.h"
#include "ui/DisplayText.h"
#include "ui/ErrorPage.h"
#include "ui/Navigation.h"
#include "ui/PageLayout.h"
#include "ui/SearchFlow.h"
#include "ui/SelectionPage.h"

namespace gw::ui {

FileSpecPage::FileSpecPage(QWidget* parent) : WizardPage(QStringLiteral("FileSpecPage"), parent) {
    QGroupBox* stepFrame = addStepFrame(QStringLiteral("Step 2"));
    instructionLabel_ =
        makeLabel(stepFrame, "instructionLabel",
                  QStringLiteral("The webpage has been found and is ready to be searched. "
                                 "Enter the file specifications using the standard wildcard "
                                 "characters * and ? ."),
                  240, 360, 5880, 1080);
    specEdit_ = new QLineEdit(QStringLiteral("*.zip"), stepFrame);
    specEdit_->setObjectName(QStringLiteral("specEdit"));
    specEdit_->setAccessibleName(QStringLiteral("File specification"));
    specEdit_->setGeometry(twips(240), twips(1560), twips(5880), twips(375));
    const QString mediaText = QStringLiteral("Also look in images, video and audio");
    mediaCheck_ = new QCheckBox(mediaText, stepFrame);
    mediaCheck_->setObjectName(QStringLiteral("mediaCheck"));
    mediaCheck_->setAccessibleName(mediaText);
    mediaCheck_->setGeometry(twips(240), twips(2040), twips(5880), twips(375));
    mediaCheck_->setChecked(settings::ReadAlsoMedia());

    const ButtonRow row = addButtonRow();
    nextButton_ = row.next;

    const app::WizardState& state = app::wizardState();
    if (!state.LastFileSpec.empty())
        specEdit_->setText(displayText(state.LastFileSpec));
    applyNextRule();
    if (!specEdit_->text().trimmed().isEmpty())
        specEdit_->selectAll();

    connect(specEdit_, &QLineEdit::textChanged, this, &FileSpecPage::applyNextRule);
    connect(row.back, &QPushButton::clicked, this, [this] {
        app::wizardState().LastFileSpec = specEdit_->text().toStdString();
        navigate<AddressPage>(this);
    });
    connect(mediaCheck_, &QCheckBox::toggled, this,
            [](bool checked) { settings::SaveAlsoMedia(checked); });
    connect(nextButton_, &QPushButton::clicked, this, &FileSpecPage::search);
}

void FileSpecPage::search() {
    switch (RunSearch(this, specEdit_->text(), mediaCheck_->isChecked())) {
        case SearchOutcome::InvalidPattern:
            instructionLabel_->setText(QString::fromLatin1(harvest::kInvalidPatternMessage));
            return;
        case SearchOutcome::NothingFound:
            ShowError(QString::fromLatin1(harvest::kNothingFoundMessage));
            show();
            return;
        case SearchOutcome::Found:
            showSelection();
            return;
    }
}

void FileSpecPage::showSelection() {
    navigate<SelectionPage>(this);
}

void FileSpecPage::applyNextRule() {
    nextButton_->setEnabled(!specEdit_->text().trimmed().isEmpty());
}

}  // namespace gw::ui
