#include "ui/AddressPage.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/Navigation.h"
#include "app/Quit.h"
#include "app/WizardState.h"
#include "ui/AddressHistory.h"
#include "ui/DisplayText.h"
#include "ui/ErrorPage.h"
#include "ui/FileSpecPage.h"
#include "ui/PageFetchFlow.h"
#include "ui/PageLayout.h"
#include "ui/WelcomePage.h"

namespace gw::ui {

AddressPage::AddressPage(QWidget* parent) : WizardPage(parent) {
    setObjectName(QStringLiteral("AddressPage"));
    setClientSize(6600, 3495);

    QGroupBox* stepFrame = addStepFrame(QStringLiteral("Step 1"));
    makeLabel(stepFrame, "instructionLabel",
              QStringLiteral("Enter the address of the webpage that you would like to retrieve "
                             "files from. "),
              240, 360, 5880, 720);
    addressBox_ = new QComboBox(stepFrame);
    addressBox_->setObjectName(QStringLiteral("addressBox"));
    addressBox_->setEditable(true);
    addressBox_->setInsertPolicy(QComboBox::NoInsert);
    addressBox_->setMaxVisibleItems(16);
    addressBox_->setGeometry(twips(240), twips(1200), twips(5880), twips(375));
    auto* clearHistoryButton = makeButton(stepFrame, "clearHistoryButton",
                                          QStringLiteral("Clear History"), 4560, 1800, 1560, 375);

    const ButtonRow row = addButtonRow();
    nextButton_ = row.next;

    load();

    connect(addressBox_, &QComboBox::editTextChanged, this, &AddressPage::applyNextRule);
    connect(addressBox_, &QComboBox::activated, this, &AddressPage::applyNextRule);
    addressBox_->lineEdit()->installEventFilter(this);
    connect(clearHistoryButton, &QPushButton::clicked, this, &AddressPage::clearHistory);
    connect(row.cancel, &QPushButton::clicked, this, [] { app::Quit(); });
    connect(row.back, &QPushButton::clicked, this, [this] {
        app::wizardState().PageAddress = addressBox_->currentText().toStdString();
        app::navigate<WelcomePage>(this);
    });
    connect(nextButton_, &QPushButton::clicked, this, &AddressPage::fetch);
}

void AddressPage::load() {
    app::WizardState& state = app::wizardState();
    const AddressHistory history = ReadAddressHistory();
    addressBox_->addItems(history.addresses);
    if (history.count)
        state.HistoryCount = *history.count;

    if (!state.PageAddress.empty())
        addressBox_->setEditText(displayText(state.PageAddress));
    QString text = addressBox_->currentText();
    if (text.trimmed().isEmpty()) {
        nextButton_->setEnabled(false);
        addressBox_->setEditText(QStringLiteral("http://"));
        addressBox_->lineEdit()->setCursorPosition(7);
        return;
    }
    nextButton_->setEnabled(true);
    if (text.endsWith(QLatin1Char('/')) && !text.endsWith(QLatin1String("//"))) {
        text.chop(1);
        addressBox_->setEditText(text);
    }
    addressBox_->lineEdit()->selectAll();
}

void AddressPage::applyNextRule() {
    const QString text = addressBox_->currentText();
    nextButton_->setEnabled(text.size() >= 8 && text != QLatin1String("http://"));
}

bool AddressPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == addressBox_->lineEdit() && event->type() == QEvent::FocusIn)
        applyNextRule();
    return WizardPage::eventFilter(watched, event);
}

// "Next >>" keeps its state until the text changes or the box is clicked or entered again.
void AddressPage::clearHistory() {
    ClearAddressHistory();
    app::wizardState().HistoryCount = 0;
    const QSignalBlocker blocker(addressBox_);
    addressBox_->clear();
    addressBox_->setEditText(QString());
}

void AddressPage::fetch() {
    const retrieval::FetchOutcome outcome = RunPageFetch(this, addressBox_->currentText());
    if (outcome == retrieval::FetchOutcome::Fetched) {
        app::navigate<FileSpecPage>(this);
        return;
    }
    ShowError(FetchFailureText(outcome));
    show();
}

}  // namespace gw::ui
