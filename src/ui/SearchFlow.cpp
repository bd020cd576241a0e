#include "ui/SearchFlow.h"

#include <QWidget>
#include <functional>
#include <optional>

#include "app/WizardState.h"
#include "harvest/Harvest.h"
#include "platform/SideThread.h"
#include "ui/BusyCursor.h"
#include "ui/EventPump.h"
#include "ui/WaitDialog.h"

namespace gw::ui {
namespace {

// The bar's range is an int; a page is at most 1 GiB, so positions fit.
int barValue(std::size_t value) {
    return static_cast<int>(std::min<std::size_t>(value, INT_MAX));
}

void storeFound(const std::vector<std::string>& addresses,
                const std::vector<std::string>& checksumLists) {
    app::WizardState& state = app::wizardState();
    state.ChecksumLists = checksumLists;
    const int count = static_cast<int>(std::min(addresses.size(), harvest::kFoundCapacity));
    for (int i = 0; i < count; ++i)
        state.FoundList[i + 1] = addresses[i];
    state.FoundCount = static_cast<std::int16_t>(count);
}

}  // namespace

SearchOutcome RunSearch(QWidget* fileSpecPage, const QString& typedSpec, bool alsoMedia) {
    const std::string fileSpec = typedSpec.toStdString();
    const std::string pattern = harvest::BuildMatchPattern(fileSpec);
    if (!harvest::PatternIsValid(pattern))
        return SearchOutcome::InvalidPattern;

    app::WizardState& state = app::wizardState();
    BusyCursor busy;
    state.LastFileSpec = fileSpec;
    WaitDialog* wait = ShowWait(QStringLiteral("Please wait... Searching the webpage..."));
    fileSpecPage->hide();
    state.FoundCount = 0;

    wait->startProgress(barValue(state.PageText.size()));
    EventPump pump(LetThrough::Nothing);
    bool removing = false;
    harvest::HarvestOptions search;
    search.patterns.push_back(pattern);
    search.media = alsoMedia;
    // The media reading runs on a second thread beside the anchor walk: on a large page the
    // two take about as long as the anchor walk alone would.
    std::optional<platform::SideThread> side;
    if (alsoMedia) {
        side.emplace();
        search.runBeside = [&side](const std::function<void()>& beside,
                                   const std::function<void()>& here) { side->Run(beside, here); };
    }
    const harvest::Harvest found = harvest::HarvestPage(
        state.PageText, state.FetchedAddress, search, state.PageLineBreaks,
        [&](harvest::HarvestStage stage, std::size_t done, std::size_t total) {
            if (stage == harvest::HarvestStage::RemovingDuplicates && !removing) {
                removing = true;
                wait->setMessage(QStringLiteral("Please wait... Searching for duplicates..."));
            }
            if (removing)
                wait->setProgressMaximum(barValue(total));
            wait->setProgress(barValue(done));
            pump();
        });
    storeFound(found.addresses, found.checksumLists);
    UnloadWait();
    return found.matched == 0 ? SearchOutcome::NothingFound : SearchOutcome::Found;
}

}  // namespace gw::ui
