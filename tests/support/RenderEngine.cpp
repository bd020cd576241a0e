#include "support/RenderEngine.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

namespace gw::test {
namespace {

// The state, parent and process group of a process, from /proc/PID/stat.
struct Stat {
    char state = 'Z';
    qint64 parent = -1;
    qint64 group = -1;
};

Stat StatOf(const QString& pid) {
    std::ifstream stat(("/proc/" + pid + "/stat").toStdString());
    std::string line;
    std::getline(stat, line);
    Stat result;
    if (const std::size_t nameEnd = line.rfind(')'); nameEnd != std::string::npos)
        std::istringstream(line.substr(nameEnd + 2)) >> result.state >> result.parent >>
            result.group;
    return result;
}

QStringList Processes() {
    return QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

}  // namespace

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

qint64 ChildOf(qint64 parent) {
    for (const QString& pid : Processes()) {
        const Stat stat = StatOf(pid);
        if (stat.parent == parent && stat.state != 'Z')
            return pid.toLongLong();
    }
    return 0;
}

QStringList GroupLeft(qint64 group) {
    QStringList left;
    for (const QString& pid : Processes()) {
        if (const Stat stat = StatOf(pid); stat.group == group && stat.state != 'Z')
            left << pid;
    }
    return left;
}

}  // namespace gw::test
