#include "render/Renderer.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

#include "render/NetscapeCookies.h"
#include "render/RequestWatch.h"

namespace gw::render {
namespace {

constexpr int kQuietMilliseconds = 1000;
constexpr int kPollMilliseconds = 100;

// Counts the page's own fetches and XMLHttpRequests until they end, and notes the time of the
// last change to the document. It runs before the page's scripts, in their world, since the
// functions it wraps are theirs.
const char* const kSettleWatch = R"JS(
(() => {
  if (window.__gwSettle) return;
  const watch = { pending: 0, last: Date.now() };
  Object.defineProperty(window, '__gwSettle', { value: watch });
  const touch = () => { watch.last = Date.now(); };
  const done = () => { watch.pending--; touch(); };
  if (window.fetch) {
    const fetch = window.fetch;
    window.fetch = function (...args) {
      watch.pending++; touch();
      const answer = fetch.apply(this, args);
      answer.then(done, done);
      return answer;
    };
  }
  const send = XMLHttpRequest.prototype.send;
  XMLHttpRequest.prototype.send = function (...args) {
    watch.pending++; touch();
    this.addEventListener('loadend', done, { once: true });
    return send.apply(this, args);
  };
  new MutationObserver(touch).observe(document,
      { subtree: true, childList: true, attributes: true, characterData: true });
})();
)JS";

const char* const kSettleState =
    "window.__gwSettle ? [window.__gwSettle.pending, Date.now() - window.__gwSettle.last] : null";

const char* const kDocument =
    "[document.contentType, document.documentElement ? document.documentElement.outerHTML : '']";

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size() && file.flush();
}

}  // namespace

Renderer::Renderer(QWebEnginePage& page, RequestWatch& requests, RenderArguments arguments)
    : page_(page), requests_(requests), arguments_(std::move(arguments)) {
    QWebEngineScript watch;
    watch.setSourceCode(QString::fromUtf8(kSettleWatch));
    watch.setInjectionPoint(QWebEngineScript::DocumentCreation);
    watch.setWorldId(QWebEngineScript::MainWorld);
    watch.setRunsOnSubFrames(false);
    page_.scripts().insert(watch);

    connect(&page_, &QWebEnginePage::loadingChanged, this,
            [this](const QWebEngineLoadingInfo& info) {
                if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus)
                    loadError_.clear();
                if (info.status() != QWebEngineLoadingInfo::LoadFailedStatus)
                    return;
                // For a status the engine's own words are a fragment of its error page.
                if (info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain)
                    loadError_ = QStringLiteral("HTTP status %1").arg(info.errorCode());
                else
                    loadError_ = info.errorString();
            });
    connect(&page_, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        loaded_ = true;
        if (!ok && loadError_.isEmpty())
            loadError_ = QStringLiteral("the page could not be loaded");
    });
    connect(&page_, &QWebEnginePage::renderProcessTerminated, this, [this] {
        finish(kFailed, QStringLiteral("the engine's page process ended before the page settled"));
    });
    pollTimer_.setInterval(kPollMilliseconds);
    connect(&pollTimer_, &QTimer::timeout, this, &Renderer::poll);
}

void Renderer::start() {
    // The page's time runs from its first request: starting the engine is not the page's doing.
    connect(&page_, &QWebEnginePage::loadStarted, this, [this] {
        if (!clock_.isValid())
            clock_.start();
    });
    pollTimer_.start();
    page_.load(QUrl(arguments_.address));
}

void Renderer::keepCookie(const QNetworkCookie& cookie) {
    for (QNetworkCookie& kept : cookies_) {
        if (kept.hasSameIdentifier(cookie)) {
            kept = cookie;
            return;
        }
    }
    cookies_.append(cookie);
}

void Renderer::poll() {
    if (taking_)
        return;
    if (clock_.isValid() && clock_.elapsed() >= qint64{arguments_.renderSeconds} * 1000) {
        take(false);
        return;
    }
    if (!loaded_ || page_.isLoading() || requests_.quietMilliseconds() < kQuietMilliseconds)
        return;
    if (!loadError_.isEmpty()) {
        finish(kFailed, loadError_);
        return;
    }
    page_.runJavaScript(QString::fromLatin1(kSettleState), [this](const QVariant& state) {
        const QVariantList values = state.toList();
        if (taking_ || values.size() != 2)
            return;
        if (values[0].toInt() <= 0 && values[1].toLongLong() >= kQuietMilliseconds)
            take(true);
    });
}

void Renderer::take(bool settled) {
    taking_ = true;
    pollTimer_.stop();
    if (!loadError_.isEmpty()) {
        finish(kFailed, loadError_);
        return;
    }
    page_.runJavaScript(QString::fromLatin1(kDocument), [this, settled](const QVariant& result) {
        const QVariantList values = result.toList();
        if (values.size() != 2 || values[1].toString().isEmpty()) {
            finish(kFailed, QStringLiteral("the page showed no document"));
            return;
        }
        const QString type = values[0].toString();
        if (type != QLatin1String("text/html") && type != QLatin1String("application/xhtml+xml")) {
            finish(kFailed, QStringLiteral("the page is not HTML but ") + type);
            return;
        }
        const QString folder = arguments_.outFolder + QLatin1Char('/');
        if (!WriteFile(folder + QStringLiteral("page.html"), values[1].toString().toUtf8()) ||
            !WriteFile(folder + QStringLiteral("address.txt"), page_.url().toEncoded()) ||
            !WriteFile(folder + QStringLiteral("cookies.txt"), NetscapeCookieText(cookies_))) {
            finish(kFailed, QStringLiteral("the document could not be written to ") + folder);
            return;
        }
        if (settled) {
            finish(kSettled);
            return;
        }
        finish(kNotSettled,
               QStringLiteral("the page had not settled after %1 s").arg(arguments_.renderSeconds));
    });
}

void Renderer::finish(int status, const QString& why) {
    taking_ = true;
    pollTimer_.stop();
    if (!why.isEmpty())
        QTextStream(stderr) << "grabwright-render: " << why << '\n';
    QCoreApplication::exit(status);
}

}  // namespace gw::render
