#include "render/QuietPage.h"

#include <QWebEngineDownloadRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineProfile>

namespace gw::render {

QuietPage::QuietPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {
    setAudioMuted(true);
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl& origin, Feature feature) {
                setFeaturePermission(origin, feature, PermissionDeniedByUser);
            });
    // Asked for by a click only; refused all the same, since nobody clicks here.
    connect(this, &QWebEnginePage::fullScreenRequested, this,
            [](QWebEngineFullScreenRequest request) { request.reject(); });
}

QWebEnginePage* QuietPage::createWindow(WebWindowType) {
    return nullptr;
}

QStringList QuietPage::chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) {
    return {};
}

// Only the web: a page must not lead the engine to local files or other programs' schemes.
bool QuietPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool) {
    const QString scheme = url.scheme();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("about") || scheme == QLatin1String("data");
}

// What a page logs is its own business; the front end reads stderr for the reason of a failure.
void QuietPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                         const QString&) {}

void RefuseDownloads(QWebEngineProfile* profile) {
    QObject::connect(profile, &QWebEngineProfile::downloadRequested, profile,
                     [](QWebEngineDownloadRequest* download) { download->cancel(); });
}

}  // namespace gw::render
