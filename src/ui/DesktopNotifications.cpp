#include "ui/DesktopNotifications.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QVariantMap>

namespace gw::ui {
namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kAppName = QStringLiteral("GrabWright Plus");
}  // namespace

DesktopNotifications& DesktopNotifications::instance() {
    static auto* notifications = [] {
        auto* created = new DesktopNotifications;
        // Goes with the application, before the bus connections that Qt closes after it.
        created->setParent(QCoreApplication::instance());
        return created;
    }();
    return *notifications;
}

// Before the first notice, so that an action pressed at once is not missed.
bool DesktopNotifications::listen() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    if (!listening_) {
        listening_ = bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                                 SLOT(actionInvoked(uint, QString))) &&
                     bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"),
                                 this, SLOT(closed(uint, uint)));
    }
    return listening_;
}

QString MarkupEscaped(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QStringLiteral("&amp;"))
        .replace(QLatin1Char('<'), QStringLiteral("&lt;"))
        .replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    return escaped;
}

// The body is plain text, but a service that reads markup would take a folder's "&" or "<"
// for some: it is asked first. Neither call is waited for: a service that hangs must not
// hold up the window.
void DesktopNotifications::show(const QString& summary, const QString& body,
                                const QString& actionKey, const QString& actionLabel,
                                std::function<void()> onAction) {
    if (!listen())
        return;
    const QDBusMessage ask = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                            QStringLiteral("GetCapabilities"));
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(ask), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [=, this, run = std::move(onAction)]() mutable {
                watcher->deleteLater();
                const QDBusPendingReply<QStringList> reply = *watcher;
                const bool markup =
                    reply.isValid() && reply.value().contains(QStringLiteral("body-markup"));
                notify(summary, markup ? MarkupEscaped(body) : body, actionKey, actionLabel,
                       std::move(run));
            });
}

void DesktopNotifications::notify(const QString& summary, const QString& body,
                                  const QString& actionKey, const QString& actionLabel,
                                  std::function<void()> onAction) {
    QDBusMessage notify =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    QVariantMap hints;
    // Lets the desktop file the notice under the program's launcher entry.
    if (!QGuiApplication::desktopFileName().isEmpty())
        hints.insert(QStringLiteral("desktop-entry"), QGuiApplication::desktopFileName());
    notify << kAppName << uint(0) << QStringLiteral("grabwright") << summary << body
           << QStringList{actionKey, actionLabel} << hints << -1;
    auto* watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(notify), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, watcher, key = actionKey, run = std::move(onAction)]() mutable {
                watcher->deleteLater();
                const QDBusPendingReply<uint> reply = *watcher;
                if (reply.isValid())
                    actions_[reply.value()] = Action{key, std::move(run)};
            });
}

void DesktopNotifications::actionInvoked(uint id, const QString& actionKey) {
    const auto found = actions_.find(id);
    if (found == actions_.end() || found->second.key != actionKey)
        return;
    // A copy: the action may show another notice, or the service may close this one first.
    const std::function<void()> run = found->second.run;
    if (run)
        run();
}

void DesktopNotifications::closed(uint id, uint) {
    actions_.erase(id);
}

}  // namespace gw::ui
