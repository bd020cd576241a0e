#include <cmath>
#include <ostream>

#include "cli/FoundFiles.h"
#include "cli/Stop.h"
#include "cli/TerminalText.h"
#include "harvest/PageHarvest.h"
#include "platform/PageRenderer.h"
#include "retrieval/Messages.h"

namespace gw::cli {

FoundFiles FindRenderedFiles(platform::TransferEngine& engine, const std::string& address,
                             const harvest::HarvestOptions& search, const PageRendering& rendering,
                             std::ostream& err) {
    platform::RenderRequest request;
    request.address = address;
    request.cookiesFile = rendering.cookiesFile;
    request.renderSeconds = static_cast<int>(std::ceil(rendering.seconds));
    const platform::RenderedPage page = platform::RenderPage(
        rendering.helper, request, [] { return CurrentStop() == StopReason::None; });
    if (const int stopped = ExitStatusForStop(err); stopped >= 0)
        return FoundNothing(stopped);
    if (page.outcome == platform::RenderOutcome::Failed) {
        err << retrieval::kFetchFailedMessage << "\ngrabwright-cli: " << EscapeForLine(page.error)
            << '\n';
        return FoundNothing(1);
    }
    if (page.outcome == platform::RenderOutcome::NotSettled)
        err << "grabwright-cli: the page had not settled after " << rendering.seconds
            << " s; its document was read as it stood\n";
    // The downloads carry what the page and its scripts set, as they carry a fetched page's.
    std::string why;
    if (!engine.takeCookies(page.cookies, why))
        err << "grabwright-cli: the page's cookies could not be kept: " << why << '\n';
    harvest::PageHarvest harvest(search, page.finalAddress);
    harvest.AddBytes(page.document);
    return ReportFound(harvest.Finish(), page.finalAddress, err);
}

}  // namespace gw::cli
