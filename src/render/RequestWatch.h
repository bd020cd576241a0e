#pragma once

#include <QElapsedTimer>
#include <QWebEngineUrlRequestInterceptor>
#include <atomic>

namespace gw::render {

// Sees every request the page makes, as it starts, and tells how long ago the last one
// started. The engine reports no request's end, so a script's own fetches are counted by the
// script injected into the page (see Renderer).
class RequestWatch : public QWebEngineUrlRequestInterceptor {
  public:
    RequestWatch();
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;
    qint64 quietMilliseconds() const;

  private:
    QElapsedTimer clock_;
    std::atomic<qint64> lastStart_{0};
};

}  // namespace gw::render
