#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include "app/Navigation.h"
#include "app/WizardState.h"
#include "support/FileManagerRecorder.h"
#include "support/HttpServer.h"
#include "support/TempEnvironment.h"
#include "support/WizardFixture.h"
#include "ui/ReadyPage.h"

namespace {

const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kName = QStringLiteral("org.freedesktop.Notifications");
QStringList printed;

// The desktop's notification service as far as the program uses it: it notes each notice.
struct NoticeService : QDBusVirtualObject {
    QList<QVariantList> notices;
    static void print(QtMsgType, const QMessageLogContext&, const QString& t) { printed << t; }
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
        notices.append(message.arguments());
        return bus.send(message.createReply(uint(notices.size())));
    }
};

}  // namespace

using RunEndNoticeTest = gw::test::WizardFixture;

TEST_F(RunEndNoticeTest, OnlyALongRunOutOfSightIsAnnouncedAndItsButtonOpensTheFolder) {
    struct Case {
        int seconds;
        bool behind, service;
        std::vector<std::string> files;
        const char* body;  // nullptr: no notice
    } const cases[] = {
        {12, true, true, {"/a", "/b", "/c"}, "2 files downloaded to downloads, 1 failed."},
        {12, true, true, {"/a"}, "1 file downloaded to downloads."},
        {9, true, true, {"/a"}, nullptr},
        {12, false, true, {"/a"}, nullptr},
        {12, true, false, {"/a"}, nullptr},
    };
    // A private session bus, there before the program first asks for the bus.
    QProcess daemon;
    daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
    ASSERT_TRUE(daemon.waitForReadyRead(10000)) << "no dbus-daemon";
    const QByteArray address = daemon.readLine().trimmed();
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    QDBusConnection bus = QDBusConnection::connectToBus(QString::fromLatin1(address), "service");
    gw::test::HttpServer server{[](httplib::Server& s, std::stop_token) {
        s.Get("/(a|b)", [](const auto&, auto& res) { res.set_content("zip", "x/zip"); });
    }};
    const std::string folder = gw::test::TestRoot() + "/downloads/";
    NoticeService service;
    bus.registerVirtualObject(kPath, &service);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds * 10 + c.behind * 2 + c.service);
        service.notices.clear();
        ASSERT_TRUE(!c.service || bus.registerService(kName));
        gw::test::FileManagerRecorder fileManager;
        auto& state = gw::app::wizardState();
        state.DestinationFolder = folder;
        state.SelectedCount = std::int16_t(c.files.size());
        for (std::size_t i = 0; i < c.files.size(); ++i)
            state.SelectedFiles[i + 1] = server.url(c.files[i]);
        auto* ready = gw::app::showPage<gw::ui::ReadyPage>();
        if (c.behind) {
            auto* other = new QWidget;  // closeAllWindows() takes it
            other->show();
            ASSERT_TRUE(QTest::qWaitForWindowActive(other));
        }
        // The clock moves on while the files arrive, as the run lets events through.
        QTimer::singleShot(0, [&] { fakes.clock.current += std::chrono::seconds(c.seconds); });
        qInstallMessageHandler(NoticeService::print);
        ready->findChild<QPushButton*>("nextButton")->click();
        QTest::qWait(300);
        qInstallMessageHandler(nullptr);
        EXPECT_EQ(printed, QStringList());
        ASSERT_EQ(service.notices.size(), c.body ? 1 : 0);
        if (c.body) {
            const QVariantList n = service.notices.front();
            EXPECT_EQ(QStringList({n[0].toString(), n[3].toString(), n[4].toString(),
                                   n[5].toStringList().join(',')}),
                      QStringList({"GrabWright Plus", "GrabWright Plus", c.body,
                                   "open-folder,Open Folder"}));
            bus.send(QDBusMessage::createSignal(kPath, kName, "ActionInvoked")
                     << uint(1) << QStringLiteral("open-folder"));
            EXPECT_TRUE(QTest::qWaitFor([&] { return !fileManager.opened.empty(); }));
            EXPECT_EQ(fileManager.opened, std::vector<std::string>{folder});
            EXPECT_EQ(ended, 0);
        }
        bus.unregisterService(kName);
        gw::test::closeAllWindows();
    }
    daemon.kill();
    daemon.waitForFinished();
}
