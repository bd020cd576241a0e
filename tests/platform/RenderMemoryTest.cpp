// The page renderer's memory bound, in a real browser engine: the bound is the platform's alone
// (no front end sets it), so it is shown here, through the renderer's own interface.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>

#include "platform/PageRenderer.h"
#include "platform/PrivateFolder.h"
#include "support/DownloadServer.h"
#include "support/RenderEngine.h"

namespace {

TEST(RenderMemory, AHelperPastItsBoundIsEndedWholeAndTheRenderFails) {
    if (!gw::test::RenderEngineMissing().empty())
        GTEST_SKIP() << gw::test::RenderEngineMissing();
    // The engine alone holds some 300 MiB; the page holds 1.5 GiB more until it settles, well
    // after the renderer's next look at it.
    gw::test::DownloadServer server;
    server.serve("/text/page.html",
                 "<script>const kept = []; while (kept.length < 48)"
                 " kept.push(new Uint8Array(32 << 20).fill(1));</script>");
    gw::platform::RenderRequest request;
    request.address = server.url("/text/page.html");
    request.maxResidentBytes = std::uint64_t{768} << 20;
    qint64 helper = 0;
    const gw::platform::RenderedPage page =
        gw::platform::RenderPage(gw::test::RenderHelperPath().toStdString(), request, [&helper] {
            if (helper == 0)
                helper = gw::test::ChildOf(QCoreApplication::applicationPid());
            return true;
        });
    EXPECT_EQ(page.outcome, gw::platform::RenderOutcome::Failed);
    EXPECT_EQ(page.error, "the page took more than 768 MiB of memory to render and was ended");
    ASSERT_GT(helper, 0);
    EXPECT_TRUE(gw::test::GroupLeft(helper).isEmpty())
        << "left: " << gw::test::GroupLeft(helper).join(' ').toStdString();
    EXPECT_TRUE(QDir(QString::fromStdString(gw::platform::RunFolder()))
                    .entryList({"render-*"}, QDir::AllEntries | QDir::Hidden)
                    .isEmpty());
}

}  // namespace
