#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

#include "render/NetscapeCookies.h"
#include "render/QuietPage.h"
#include "render/Renderer.h"
#include "render/RequestWatch.h"

namespace {

int Refuse(int status, const QString& why) {
    QTextStream(stderr) << "grabwright-render: " << why << '\n';
    return status;
}

// /proc/self belongs to the process's effective user; Qt offers no plainer way to ask.
bool RunsAsRoot() {
    return QFileInfo(QStringLiteral("/proc/self")).ownerId() == 0;
}

// Before the application object: the engine reads its switches once, as it starts. No display
// is needed (the page is drawn off screen), and nothing is drawn by the graphics card.
void SetEngineSwitches(int heapMegabytes, const QString& outFolder) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "qt.webenginecontext.info=false");
    // Else the toolkit makes a runtime folder of its own in /tmp, which would outlive the render.
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", outFolder.toLocal8Bit());
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    flags += " --disable-gpu --mute-audio --js-flags=--max-old-space-size=" +
             QByteArray::number(heapMegabytes);
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());
}

}  // namespace

int main(int argc, char** argv) {
    using namespace gw::render;
    QString why;
    const std::optional<RenderArguments> arguments = ReadArguments(argc, argv, why);
    if (!arguments)
        return Refuse(kUsage, why);
    if (RunsAsRoot() && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        return Refuse(kFailed,
                      QStringLiteral("the browser engine's sandbox cannot run as root; set "
                                     "QTWEBENGINE_DISABLE_SANDBOX=1 to render without it"));
    SetEngineSwitches(arguments->heapMegabytes, arguments->outFolder);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The front end's arguments are not the toolkit's.
    int toolkitArgc = 1;
    QGuiApplication application(toolkitArgc, argv);

    // No storage name: nothing of the page (cookies, cache, storage) is kept on disk.
    QWebEngineProfile profile;
    profile.setHttpUserAgent(arguments->userAgent);
    profile.setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    RefuseDownloads(&profile);
    RequestWatch requests;
    profile.setUrlRequestInterceptor(&requests);
    QuietPage page(&profile);
    Renderer renderer(page, requests, *arguments);

    QWebEngineCookieStore* store = profile.cookieStore();
    QObject::connect(store, &QWebEngineCookieStore::cookieAdded, &renderer,
                     [&renderer](const QNetworkCookie& cookie) { renderer.keepCookie(cookie); });
    if (!arguments->cookiesFile.isEmpty()) {
        bool readable = false;
        const QList<QNetworkCookie> cookies = ReadNetscapeCookies(arguments->cookiesFile, readable);
        if (!readable)
            return Refuse(kFailed, QStringLiteral("cannot read ") + arguments->cookiesFile);
        for (const QNetworkCookie& cookie : cookies)
            store->setCookie(cookie);
    }
    renderer.start();
    return QCoreApplication::exec();
}
