#include "render/RequestWatch.h"

namespace gw::render {

RequestWatch::RequestWatch() {
    clock_.start();
}

// Called on the engine's own thread: only the atomic is touched there.
void RequestWatch::interceptRequest(QWebEngineUrlRequestInfo& info) {
    // What the front end sends itself goes without a Referer, and so does what the page loads.
    info.setHttpHeader("Referer", QByteArray());
    lastStart_.store(clock_.elapsed());
}

qint64 RequestWatch::quietMilliseconds() const {
    return clock_.elapsed() - lastStart_.load();
}

}  // namespace gw::render
