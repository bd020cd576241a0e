#pragma once

#include <QWebEnginePage>

namespace gw::render {

// A page that may do nothing but show itself: no windows of its own, no file dialogs, no
// permission granted, no sound. Downloads are refused by the profile (see RefuseDownloads).
class QuietPage : public QWebEnginePage {
  public:
    explicit QuietPage(QWebEngineProfile* profile, QObject* parent = nullptr);

  protected:
    QWebEnginePage* createWindow(WebWindowType type) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int line, const QString& source) override;
};

// Cancels every download that the page or its scripts start.
void RefuseDownloads(QWebEngineProfile* profile);

}  // namespace gw::render
