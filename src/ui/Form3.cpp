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

    QGroupBox* frame1 = addStepFrame(QStringLiteral("Step 2"));
    label1_ = makeLabel(frame1, "Label1",
                        QStringLiteral("The webpage has been found and is ready to be searched. "
                                       "Enter the file specifications using the standard wildcard "
                                       "characters * and ? ."),
                        240, 360, 5880, 1080);
    text1_ = new QLineEdit(QStringLiteral("*.zip"), frame1);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setGeometry(twips(240), twips(1560), twips(5880), twips(375));

    const ButtonRow row = addButtonRow("Command3", "Command2", "Command1");
    command1_ = row.next;

    const app::Module1& state = app::module1();
    if (!state.LastFileSpec.empty()) text1_->setText(displayText(state.LastFileSpec));
    applyNextRule();
    if (!text1_->text().trimmed().isEmpty()) text1_->selectAll();

    connect(text1_, &QLineEdit::textChanged, this, &Form3::applyNextRule);
    connect(row.cancel, &QPushButton::clicked, this, [] { app::Quit(); });
    connect(row.back, &QPushButton::clicked, this, [this] {
        app::module1().LastFileSpec = text1_->text().toStdString();
        app::navigate<Form2>(this);
    });
    connect(command1_, &QPushButton::clicked, this,
            [this] { RunSearch(this, label1_, text1_->text()); });
}

void Form3::applyNextRule() { command1_->setEnabled(!text1_->text().trimmed().isEmpty()); }

}  // namespace gw::ui
