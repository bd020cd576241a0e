#include "cli/ListCommand.h"

#include <ostream>

#include "cli/FoundFiles.h"
#include "cli/Stop.h"
#include "cli/TerminalText.h"

namespace gw::cli {

int RunList(platform::TransferEngine& engine, const std::string& address,
            const harvest::HarvestOptions& search, std::ostream& out, std::ostream& err,
            bool errIsTerminal, const PageRendering& rendering) {
    const FoundFiles found = FindFiles(engine, address, search, err, errIsTerminal, rendering);
    if (found.exitCode != 0)
        return found.exitCode;
    for (const std::string& entry : found.addresses)
        out << EscapeForLine(entry) << '\n';
    out.flush();
    if (!out) {
        // A reader that has seen enough (`| head`) is no failure worth a message.
        if (CurrentStop() == StopReason::OutputClosed)
            return kOutputClosedStatus;
        err << "grabwright-cli: the list could not be written to standard output\n";
        return 1;
    }
    return 0;
}

}  // namespace gw::cli
