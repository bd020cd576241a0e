#include "support/Rights.h"

#include <QProcess>
#include <QTemporaryDir>

namespace gw::test {

std::string MountsRefused() {
    static const std::string refused = [] {
        QTemporaryDir folder;
        QProcess probe;
        probe.start("unshare", {"-m", "sh", "-c", "mount -t ramfs none \"$0\"", folder.path()});
        if (!probe.waitForFinished(20000) || probe.exitStatus() != QProcess::NormalExit ||
            probe.exitCode() != 0)
            return std::string(
                       "a mount namespace of its own (unshare -m, then mount) is "
                       "refused here: ") +
                   probe.readAllStandardError().trimmed().toStdString();
        return std::string();
    }();
    return refused;
}

}  // namespace gw::test
