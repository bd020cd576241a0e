#include "ui/Form2.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/Module1.h"
#include "app/Navigation.h"
#include "app/Quit.h"
#include "ui/AddressHistory.h"
#include "ui/Form1.h"
#include "ui/Labels.h"
#include "ui/PageFetchFlow.h"

namespace gw::ui {

Form2::Form2(QWidget* parent) : WizardPage(parent) {
    setObjectName(QStringLiteral("Form2"));
    setClientSize(6600, 3495);

    QGroupBox* frame1 = addStepFrame(QStringLiteral("Step 1"));
    makeLabel(frame1, "Label1",
              QStringLiteral("Enter the address of the webpage that you would like to retrieve "
                             "files from. "),
              240, 360, 5880, 720);
    combo1_ = new QComboBox(frame1);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->setEditable(true);
    combo1_->setInsertPolicy(QComboBox::NoInsert);
    combo1_->setMaxVisibleItems(16);
    combo1_->setGeometry(twips(240), twips(1200), twips(5880), twips(375));
    auto* command4 = makeButton(frame1, "Command4", QStringLiteral("Clear History"), 4560, 1800,
                                1560, 375);

    const ButtonRow row = addButtonRow("Command3", "Command2", "Command1");
    command1_ = row.next;

    load();

    connect(combo1_, &QComboBox::editTextChanged, this, &Form2::applyNextRule);
    connect(combo1_, &QComboBox::activated, this, &Form2::applyNextRule);
    combo1_->lineEdit()->installEventFilter(this);
    connect(command4, &QPushButton::clicked, this, &Form2::clearHistory);
    connect(row.cancel, &QPushButton::clicked, this, [] { app::Quit(); });
    connect(row.back, &QPushButton::clicked, this, [this] {
        app::module1().PageAddress = combo1_->currentText().toStdString();
        app::navigate<Form1>(this);
    });
    connect(command1_, &QPushButton::clicked, this, &Form2::fetch);
}

void Form2::load() {
    app::Module1& state = app::module1();
    const AddressHistory history = ReadAddressHistory();
    combo1_->addItems(history.addresses);
    if (history.count) state.HistoryCount = *history.count;

    if (!state.PageAddress.empty()) combo1_->setEditText(displayText(state.PageAddress));
    QString text = combo1_->currentText();
    if (text.trimmed().isEmpty()) {
        command1_->setEnabled(false);
        combo1_->setEditText(QStringLiteral("http://"));
        combo1_->lineEdit()->setCursorPosition(7);
        return;
    }
    command1_->setEnabled(true);
    if (text.endsWith(QLatin1Char('/')) && !text.endsWith(QLatin1String("//"))) {
        text.chop(1);
        combo1_->setEditText(text);
    }
    combo1_->lineEdit()->selectAll();
}

void Form2::applyNextRule() {
    const QString text = combo1_->currentText();
    command1_->setEnabled(text.size() >= 8 && text != QLatin1String("http://"));
}

bool Form2::eventFilter(QObject* watched, QEvent* event) {
    if (watched == combo1_->lineEdit() && event->type() == QEvent::FocusIn) applyNextRule();
    return WizardPage::eventFilter(watched, event);
}

// "Next >>" keeps its state until the text changes or the box is clicked or entered again.
void Form2::clearHistory() {
    ClearAddressHistory();
    app::module1().HistoryCount = 0;
    const QSignalBlocker blocker(combo1_);
    combo1_->clear();
    combo1_->setEditText(QString());
}

void Form2::fetch() { RunPageFetch(this, combo1_->currentText()); }

}  // namespace gw::ui
