#include "ui/AddressPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "app/WizardState.h"
#include "platform/PageRenderer.h"
#include "settings/AddressHistory.h"
#include "settings/RunScripts.h"
#include "ui/DisplayText.h"
#include "ui/ErrorPage.h"
#include "ui/FileSpecPage.h"
#include "ui/Navigation.h"
#include "ui/PageFetchFlow.h"
#include "ui/PageLayout.h"
#include "ui/WelcomePage.h"

namespace gw::ui {
namespace {

// The drop-down list is sorted without regard to letter case; equal entries keep their order.
QStringList sortedForDisplay(const std::vector<std::string>& addresses) {
    QStringList shown;
    for (const std::string& address : addresses)
        shown.append(displayText(address));
    std::stable_sort(shown.begin(), shown.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return shown;
}

}  // namespace

AddressPage::AddressPage(QWidget* parent) : WizardPage(QStringLiteral("AddressPage"), parent) {
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
    // A screen reader on this platform names an editable box by its edit field.
    addressBox_->setAccessibleName(QStringLiteral("Web page address"));
    addressBox_->lineEdit()->setAccessibleName(addressBox_->accessibleName());
    addressBox_->setGeometry(twips(240), twips(1200), twips(5880), twips(375));
    auto* clearHistoryButton = makeButton(stepFrame, "clearHistoryButton",
                                          QStringLiteral("Clear History"), 4560, 1800, 1560, 375);
    runScriptsBox_ =
        new QCheckBox(QStringLiteral("Run the page's scripts first (slower)"), stepFrame);
    runScriptsBox_->setObjectName(QStringLiteral("runScriptsBox"));
    // A screen reader says what the eye reads.
    runScriptsBox_->setAccessibleName(runScriptsBox_->text());
    runScriptsBox_->setGeometry(twips(240), twips(1800), twips(4200), twips(375));
    if (CanRunScripts()) {
        runScriptsBox_->setChecked(settings::ReadRunScripts());
    } else {
        runScriptsBox_->setEnabled(false);
        runScriptsBox_->setToolTip(
            QStringLiteral("Install the package %1 to run a page's scripts before the search.")
                .arg(QString::fromLatin1(platform::kRenderPackage)));
    }

    const ButtonRow row = addButtonRow();
    nextButton_ = row.next;

    load();

    connect(addressBox_, &QComboBox::editTextChanged, this, &AddressPage::applyNextRule);
    connect(addressBox_, &QComboBox::activated, this, &AddressPage::applyNextRule);
    addressBox_->lineEdit()->installEventFilter(this);
    connect(clearHistoryButton, &QPushButton::clicked, this, &AddressPage::clearHistory);
    connect(row.back, &QPushButton::clicked, this, [this] {
        app::wizardState().PageAddress = addressBox_->currentText().toStdString();
        navigate<WelcomePage>(this);
    });
    connect(nextButton_, &QPushButton::clicked, this, &AddressPage::fetch);
    connect(runScriptsBox_, &QCheckBox::toggled, this,
            [](bool checked) { settings::SaveRunScripts(checked); });
}

void AddressPage::load() {
    app::WizardState& state = app::wizardState();
    const settings::AddressHistory history = settings::ReadAddressHistory();
    addressBox_->addItems(sortedForDisplay(history.addresses));
    // addItems makes the first entry current, and its text the box's; the page starts with
    // no entry picked.
    addressBox_->setCurrentIndex(-1);
    if (history.count)
        state.HistoryCount = *history.count;

    QString text = displayText(state.PageAddress);
    if (text.trimmed().isEmpty()) {
        nextButton_->setEnabled(false);
        addressBox_->setEditText(QStringLiteral("http://"));
        addressBox_->lineEdit()->setCursorPosition(7);
        return;
    }
    nextButton_->setEnabled(true);
    if (text.endsWith(QLatin1Char('/')) && !text.endsWith(QLatin1String("//")))
        text.chop(1);
    addressBox_->setEditText(text);
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
    settings::ClearAddressHistory();
    app::wizardState().HistoryCount = 0;
    const QSignalBlocker blocker(addressBox_);
    addressBox_->clear();
    addressBox_->setEditText(QString());
}

void AddressPage::fetch() {
    const retrieval::FetchOutcome outcome =
        RunPageFetch(this, addressBox_->currentText(), runScriptsBox_->isChecked());
    if (outcome == retrieval::FetchOutcome::Fetched) {
        navigate<FileSpecPage>(this);
        return;
    }
    ShowError(FetchFailureText(outcome));
    show();
}

}  // namespace gw::ui
