#include "support/RenderEngine.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace gw::test {

QString RenderHelperPath() {
    return QStringLiteral(GW_RENDER_PATH);
}

const std::string& RenderEngineMissing() {
    static const std::string why = [] {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        if (!QFileInfo(RenderHelperPath()).isExecutable())
            return std::string("grabwright-render is not built (qt6-webengine-dev is missing)");
        const QTemporaryDir out;
        QProcess probe;
        probe.start(RenderHelperPath(), {"--address", "data:text/html,<p>x</p>", "--out",
                                         out.path(), "--render-time", "20"});
        if (probe.waitForFinished(60000) && probe.exitCode() == 0)
            return std::string();
        return "the browser engine cannot start here: " +
               probe.readAllStandardError().toStdString();
    }();
    return why;
}

}  // namespace gw::test
