#include "ui/Form3.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/Module1.h"
#include "app/Navigation.h"
#include "app/Quit.h"
#include "ui/Form2.h"
#include "ui/Labels.h"
#include "ui/SearchFlow.h"

namespace gw::ui {

Form3::Form3(QWidget* parent) : WizardPage(parent) {
    setObjectName(QStringLiteral("Form3"));
    setClientSize(6600, 3495);

    auto* frame1 = new QGroupBox(QStringLiteral("Step 2"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setGeometry(twips(120), twips(60), twips(6360), twips(2760));
    label1_ = makeLabel(frame1, "Label1",
                        QStringLiteral("The webpage has been found and is ready to be searched. "
                                       "Enter the file specifications using the standard wildcard "
                                       "characters * and ? ."),
                        240, 360, 5880, 1080);
    text1_ = new QLineEdit(QStringLiteral("*.zip"), frame1);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setGeometry(twips(240), twips(1560), twips(5880), twips(375));

    auto* command3 = makeButton(this, "Command3", QStringLiteral("Cancel"), 0, 0);
    auto* command2 = makeButton(this, "Command2", QStringLiteral("<< Back"), 0, 0);
    command1_ = makeButton(this, "Command1", QStringLiteral("Next >>"), 0, 0);
    placeButtonRow(command3, command2, command1_);

    const app::Module1& state = app::module1();
    if (!state.LastFileSpec.empty()) text1_->setText(displayText(state.LastFileSpec));
    applyNextRule();
    if (!text1_->text().trimmed().isEmpty()) text1_->selectAll();

    connect(text1_, &QLineEdit::textChanged, this, &Form3::applyNextRule);
    connect(command3, &QPushButton::clicked, this, [] { app::Quit(); });
    connect(command2, &QPushButton::clicked, this, [this] {
        app::module1().LastFileSpec = text1_->text().toStdString();
        app::navigate<Form2>(this);
    });
    connect(command1_, &QPushButton::clicked, this,
            [this] { RunSearch(this, label1_, text1_->text()); });
}

void Form3::applyNextRule() { command1_->setEnabled(!text1_->text().trimmed().isEmpty()); }

}  // namespace gw::ui
