#include "ui/PageFetchFlow.h"

#include <QWidget>

#include "app/WizardState.h"
#include "app/WizardTransfer.h"
#include "harvest/LineRule.h"
#include "platform/Dialup.h"
#include "platform/PageRenderer.h"
#include "retrieval/Messages.h"
#include "retrieval/TempFolder.h"
#include "ui/BusyCursor.h"
#include "ui/EventPump.h"
#include "ui/WaitDialog.h"

namespace gw::ui {
namespace {

// The page's document once its scripts have run, as a fetch would have brought the page; the
// cookies it set go into the wizard's engine for the downloads. Closing the window ends the
// helper, as it ends a fetch.
retrieval::FetchedPage RenderPage(platform::TransferEngine& transfer, WaitDialog* wait,
                                  const std::string& address, EventPump& pump) {
    bool closed = false;
    wait->setAbortHandler([&closed] { closed = true; });
    platform::RenderRequest request;
    request.address = address;
    const platform::RenderedPage rendered =
        platform::RenderPage(platform::FindRenderHelper(), request, [&] {
            pump();
            return !closed;
        });
    retrieval::FetchedPage page;
    if (rendered.outcome == platform::RenderOutcome::Failed)
        return page;
    std::string why;
    transfer.takeCookies(rendered.cookies, why);
    page.outcome = retrieval::FetchOutcome::Fetched;
    page.bytes = rendered.document;
    page.fetchedAddress = rendered.finalAddress;
    return page;
}

}  // namespace

retrieval::FetchOutcome RunPageFetch(QWidget* addressPage, const QString& typed, bool runScripts) {
    app::WizardState& state = app::wizardState();
    BusyCursor busy;
    const std::string request = typed.toStdString();
    state.PageAddress = retrieval::PageAddressFor(request);
    // Links join to this address; the previous page's must not outlive a failed fetch.
    state.FetchedAddress.clear();

    platform::TransferEngine& transfer = app::transfer();
    WaitDialog* wait = ShowWait(QStringLiteral("Please wait... Retrieving requested webpage..."));
    wait->setAbortHandler([&transfer] { transfer.abort(); });
    state.PageText.clear();
    state.PageLineBreaks.clear();
    // Without a usable folder the name is "", which the fetch fails to create.
    const std::string tempFile = retrieval::WizardTempFile();
    addressPage->hide();

    // Only a line that came up during the fetch is the wizard's to drop.
    const bool lineUpBefore = platform::DialupActive();
    EventPump pump(LetThrough::WindowClose);
    retrieval::FetchedPage page = runScripts
                                      ? RenderPage(transfer, wait, request, pump)
                                      : retrieval::FetchPage(transfer, request, tempFile,
                                                             [&pump](std::uint64_t, std::uint64_t) {
                                                                 pump();
                                                                 return true;
                                                             });
    state.HangUpOnQuit = !lineUpBefore && platform::DialupActive();
    if (page.outcome == retrieval::FetchOutcome::Fetched) {
        state.PageText = std::move(page.bytes);
        harvest::ApplyLineRule(state.PageText, &state.PageLineBreaks);
        state.FetchedAddress = std::move(page.fetchedAddress);
    }
    UnloadWait();
    return page.outcome;
}

bool CanRunScripts() {
    return !platform::FindRenderHelper().empty();
}

QString FetchFailureText(retrieval::FetchOutcome outcome) {
    return QString::fromLatin1(outcome == retrieval::FetchOutcome::Empty
                                   ? retrieval::kEmptyPageMessage
                                   : retrieval::kFetchFailedMessage);
}

}  // namespace gw::ui
