#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QNetworkCookie>
#include <QObject>
#include <QTimer>

#include "render/RenderArguments.h"

class QWebEnginePage;

namespace gw::render {

class RequestWatch;

// The exit statuses the front end reads.
enum RenderStatus {
    kSettled = 0,
    kFailed = 1,
    kUsage = 2,
    kNotSettled = 3,
};

// Loads one page, waits until it has settled (loaded, then a second with no request under way
// and no change to the document) or the time is up, and writes what it shows.
class Renderer : public QObject {
  public:
    Renderer(QWebEnginePage& page, RequestWatch& requests, RenderArguments arguments);
    void start();
    void keepCookie(const QNetworkCookie& cookie);

  private:
    void poll();
    void take(bool settled);
    void finish(int status, const QString& why = {});

    QWebEnginePage& page_;
    RequestWatch& requests_;
    RenderArguments arguments_;
    QTimer pollTimer_;
    QElapsedTimer clock_;
    QList<QNetworkCookie> cookies_;
    QString loadError_;
    bool loaded_ = false;
    bool taking_ = false;
};

}  // namespace gw::render
