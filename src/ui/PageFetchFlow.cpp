#include "ui/PageFetchFlow.h"

#include <QApplication>
#include <QWidget>

#include "app/Navigation.h"
#include "app/WizardState.h"
#include "app/WizardTransfer.h"
#include "platform/Dialup.h"
#include "retrieval/Messages.h"
#include "retrieval/PageFetch.h"
#include "ui/BusyCursor.h"
#include "ui/ErrorPage.h"
#include "ui/EventPump.h"
#include "ui/FileSpecPage.h"
#include "ui/WaitDialog.h"

namespace gw::ui {

void RunPageFetch(QWidget* addressPage, const QString& typed) {
    app::WizardState& state = app::wizardState();
    BusyCursor busy;
    const std::string request = typed.toStdString();
    state.PageAddress = retrieval::PageAddressFor(request);

    platform::UrlTransfer& transfer = app::transfer();
    WaitDialog* wait = ShowWait(QStringLiteral("Please wait... Retrieving requested webpage..."));
    wait->setAbortHandler([&transfer] { transfer.abort(); });
    state.PageText.clear();
    const std::string tempFile = retrieval::WizardTempFile();
    addressPage->hide();

    // Only a line that came up during the fetch is the wizard's to drop.
    const bool lineUpBefore = platform::DialupActive();
    retrieval::FetchedPage page =
        retrieval::FetchPage(transfer, request, tempFile, [](std::uint64_t, std::uint64_t) {
            QApplication::processEvents();
            return true;
        });
    state.HangUpOnQuit = !lineUpBefore && platform::DialupActive();

    if (page.outcome == retrieval::FetchOutcome::Fetched) {
        state.PageText = std::move(page.text);
        state.FetchedAddress = std::move(page.fetchedAddress);
        UnloadWait();
        app::navigate<FileSpecPage>(addressPage);
        return;
    }
    UnloadWait();
    busy.restore();
    ShowError(QString::fromLatin1(page.outcome == retrieval::FetchOutcome::Empty
                                      ? retrieval::kEmptyPageMessage
                                      : retrieval::kFetchFailedMessage));
    addressPage->show();
}

}  // namespace gw::ui
