#include <gtest/gtest.h>
#include <unistd.h>

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <functional>
#include <span>

#include "app/Quit.h"
#include "app/WizardState.h"
#include "app/WizardTransfer.h"
#include "harvest/Messages.h"
#include "retrieval/Messages.h"
#include "retrieval/PageFetch.h"
#include "retrieval/TempFolder.h"
#include "support/FakeDialup.h"
#include "support/HttpServer.h"
#include "support/Pages.h"
#include "support/WizardFixture.h"
#include "ui/AddressPage.h"
#include "ui/FileSpecPage.h"
#include "ui/Navigation.h"

using gw::test::control;
namespace fs = std::filesystem;

namespace {

void serve(httplib::Server& server, std::stop_token stop) {
    server.Get(R"(/files/?)", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("<a href=\"a.zip\">x</a>\r\ny\nz", "text/html");
    });
    server.Get("/old", [](const httplib::Request&, httplib::Response& res) {
        res.set_redirect("/files/");
    });
    server.Get("/line-breaks", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("\r\n\r\n\r", "text/html");
    });
    server.Get("/empty", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("", "text/html");
    });
    server.Get("/missing", [](const httplib::Request&, httplib::Response& res) {
        res.status = 404;
        res.set_content("<a href=\"not-found.zip\">404</a>", "text/html");
    });
    server.Get("/broken", [](const httplib::Request&, httplib::Response& res) {
        res.status = 500;
        res.set_content("oops", "text/plain");
    });
    server.Get("/to-file", [](const httplib::Request&, httplib::Response& res) {
        res.set_redirect("file:///etc/passwd");
    });
    server.Get("/slow", [stop](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("text/html", [stop](size_t, httplib::DataSink& sink) {
            if (!gw::test::SleepUnlessStopped(std::chrono::milliseconds(50), stop))
                return false;
            return sink.write("x", 1);
        });
    });
}

// Time that moves on at every look, so that a fetch lets events run as it goes.
struct SteppingClock final : gw::platform::Clock {
    std::chrono::steady_clock::time_point current{};
    std::chrono::steady_clock::time_point now() override {
        return current += std::chrono::milliseconds(5);
    }
    void sleepFor(std::chrono::milliseconds duration) override { current += duration; }
};

struct PageFetchTest : gw::test::WizardFixture {
    gw::test::HttpServer server{serve};
    void TearDown() override {
        WizardFixture::TearDown();
        // Drops the kept-alive connection so the server can stop at once.
        gw::app::setTransferOptions({});
    }

    // Types the address on Step 1 and presses Enter; returns the error page's message.
    QString fetch(const std::string& address, QWidget** addressPage = nullptr) {
        auto* page = gw::ui::showPage<gw::ui::AddressPage>();
        if (addressPage)
            *addressPage = page;
        control<QComboBox>(page, "addressBox")->setEditText(QString::fromStdString(address));
        gw::test::ErrorPageAnswerer answerer;
        QTest::keyClick(control<QComboBox>(page, "addressBox"), Qt::Key_Return);
        gw::test::settle();
        return answerer.message();
    }
};

}  // namespace

TEST_F(PageFetchTest, FetchedPageGoesToStep2WithItsTextAndAddress) {
    EXPECT_EQ(fetch(server.url("/files")), "");
    const auto& state = gw::app::wizardState();
    EXPECT_NE(gw::ui::loadedPage<gw::ui::FileSpecPage>(), nullptr);
    EXPECT_EQ(gw::ui::loadedPage<gw::ui::AddressPage>(), nullptr);
    EXPECT_EQ(state.PageAddress, server.url("/files/"));
    EXPECT_EQ(state.PageText, "<a href=\"a.zip\">x</a>y\nz");
    EXPECT_EQ(state.FetchedAddress, server.url("/files"));
    EXPECT_FALSE(fs::exists(gw::retrieval::WizardTempFile()));
    EXPECT_EQ(state.HangUpOnQuit, false);
}

TEST_F(PageFetchTest, RedirectedPageKnowsWhereItCameFrom) {
    EXPECT_EQ(fetch(server.url("/old")), "");
    EXPECT_EQ(gw::app::wizardState().PageAddress, server.url("/old/"));
    EXPECT_EQ(gw::app::wizardState().FetchedAddress, server.url("/files/"));
}

TEST_F(PageFetchTest, FailuresShowTheErrorPageThenStep1AsItWas) {
    const std::string cases[] = {
        server.url("/missing"), server.url("/broken"), server.url("/to-file"),
        "file:///etc/passwd",   "http://127.0.0.1:1/", "gopher://127.0.0.1/",
    };
    for (const std::string& address : cases) {
        gw::app::wizardState().PageText = "old";
        gw::app::wizardState().FetchedAddress = "http://previous/page/";
        QWidget* page = nullptr;
        EXPECT_EQ(fetch(address, &page), gw::retrieval::kFetchFailedMessage) << address;
        ASSERT_EQ(gw::ui::loadedPage<gw::ui::AddressPage>(), page);
        EXPECT_TRUE(page->isVisible());
        EXPECT_EQ(control<QComboBox>(page, "addressBox")->currentText().toStdString(), address);
        EXPECT_EQ(gw::ui::loadedPage<gw::ui::FileSpecPage>(), nullptr);
        EXPECT_EQ(gw::app::wizardState().PageAddress, gw::retrieval::PageAddressFor(address));
        EXPECT_EQ(gw::app::wizardState().PageText, "");
        EXPECT_EQ(gw::app::wizardState().FetchedAddress, "");
        gw::ui::unloadPage(page);
        gw::test::settle();
    }
}

TEST_F(PageFetchTest, EmptyPageLeavesAnEmptyTempFile) {
    EXPECT_EQ(fetch(server.url("/empty")), gw::retrieval::kEmptyPageMessage);
    const std::string temp = gw::retrieval::WizardTempFile();
    ASSERT_TRUE(fs::exists(temp));
    EXPECT_EQ(fs::file_size(temp), 0u);
    EXPECT_TRUE(gw::ui::loadedPage<gw::ui::AddressPage>()->isVisible());
}

TEST_F(PageFetchTest, UnusableTempFileShowsTheFetchFailedPage) {
    const std::string temp = gw::retrieval::WizardTempFile();
    const fs::path folder = fs::path(temp).parent_path();
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"a folder at the name", [&] { fs::create_directories(fs::path(temp) / "kept"); }},
        {"a folder of another user", [&] { ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0); }},
    };
    // Only root can give a folder away.
    for (const auto& [name, spoil] : std::span(cases).first(::geteuid() == 0 ? 2 : 1)) {
        SCOPED_TRACE(name);
        gw::retrieval::WizardTempFile();  // makes the folder
        spoil();
        EXPECT_EQ(fetch(server.url("/files/")), gw::retrieval::kFetchFailedMessage);
        QWidget* step1 = gw::ui::loadedPage<gw::ui::AddressPage>();
        ASSERT_NE(step1, nullptr);
        EXPECT_TRUE(step1->isVisible());
        gw::test::closeAllWindows();
        fs::remove_all(folder);
    }
}

TEST_F(PageFetchTest, PageOfLineBreaksOnlyFindsNothing) {
    EXPECT_EQ(fetch(server.url("/line-breaks")), "");
    EXPECT_EQ(gw::app::wizardState().PageText, "");
    auto* step2 = gw::ui::loadedPage<gw::ui::FileSpecPage>();
    ASSERT_NE(step2, nullptr);
    gw::test::ErrorPageAnswerer answerer;
    QTest::mouseClick(control<QPushButton>(step2, "nextButton"), Qt::LeftButton);
    EXPECT_EQ(answerer.message(), gw::harvest::kNothingFoundMessage);
    EXPECT_TRUE(step2->isVisible());
}

TEST_F(PageFetchTest, HangUpOnQuitOnlyWhenTheFetchBroughtTheLineUp) {
    struct Case {
        bool upBefore;
        int comesUpAtCall;
        bool expected;
    };
    const Case cases[] = {{false, 0, false}, {true, 0, false}, {false, 2, true}};
    for (const Case& c : cases) {
        fakes.dialup = gw::test::FakeDialup{};
        fakes.dialup.up = c.upBefore;
        fakes.dialup.comesUpAtCall = c.comesUpAtCall;
        fetch(server.url("/missing"));  // a failed fetch samples the line too
        EXPECT_EQ(gw::app::wizardState().HangUpOnQuit, c.expected);
        gw::test::closeAllWindows();
    }
}

TEST_F(PageFetchTest, ClosingTheWaitDialogAbortsAHangingFetch) {
    SteppingClock clock;
    gw::platform::setClock(&clock);
    QTimer closer;
    closer.setInterval(100);
    QWidget* closed = nullptr;
    QObject::connect(&closer, &QTimer::timeout, [&closed] {
        if (QWidget* wait = gw::test::visibleWindow("WaitDialog")) {
            closed = wait->window();
            closed->close();
        }
    });
    closer.start();
    EXPECT_EQ(fetch(server.url("/slow")), gw::retrieval::kFetchFailedMessage);
    auto* step1 = gw::ui::loadedPage<gw::ui::AddressPage>();
    EXPECT_TRUE(step1->isVisible());
    EXPECT_EQ(closed, step1->window()) << "the wait dialog is a view of the wizard's window";
    EXPECT_EQ(ended, 0);
}
