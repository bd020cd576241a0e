#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <map>

namespace gw::ui {

// "&", "<" and ">" as the notification service's markup writes them.
QString MarkupEscaped(const QString& text);

// Notices through the desktop's notification service (org.freedesktop.Notifications on the
// session bus). A session without a bus, or a bus without the service, shows nothing and
// says nothing: a notice is a courtesy, never a failure of the program.
class DesktopNotifications : public QObject {
    Q_OBJECT
  public:
    // The one that lives as long as the program, so an action can come long after the notice.
    static DesktopNotifications& instance();

    // One notice with one action button; `onAction` runs when the user presses the button.
    // `body` is plain text.
    void show(const QString& summary, const QString& body, const QString& actionKey,
              const QString& actionLabel, std::function<void()> onAction);

  private slots:
    void actionInvoked(uint id, const QString& actionKey);
    void closed(uint id, uint reason);

  private:
    DesktopNotifications() = default;
    bool listen();
    void notify(const QString& summary, const QString& body, const QString& actionKey,
                const QString& actionLabel, std::function<void()> onAction);

    struct Action {
        QString key;
        std::function<void()> run;
    };
    // By the id the service gave each notice: its signals reach every client on the bus.
    std::map<uint, Action> actions_;
    bool listening_ = false;
};

}  // namespace gw::ui
