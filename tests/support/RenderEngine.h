#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace gw::test {

// The page renderer beside the programs of the build.
QString RenderHelperPath();

// Why the browser engine cannot start here (no helper built, a container that forbids what it
// needs), or "" when it can; asked once. The tests run as root, where the engine's sandbox
// cannot: QTWEBENGINE_DISABLE_SANDBOX is set for this process and what it starts.
const std::string& RenderEngineMissing();

// A live child of process `parent` (the page renderer it started), or 0.
qint64 ChildOf(qint64 parent);

// The processes of group `group` that still run (zombies aside), as pids.
QStringList GroupLeft(qint64 group);

}  // namespace gw::test
