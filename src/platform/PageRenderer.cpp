#include "platform/PageRenderer.h"

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "platform/CurlSetup.h"
#include "platform/PrivateFolder.h"
#include "platform/ProcessGroup.h"
#include "platform/WholeFile.h"

namespace gw::platform {
namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kTurn = std::chrono::milliseconds(20);
constexpr auto kMemoryCheck = std::chrono::milliseconds(250);
// Starting the engine and writing the document come on top of the page's own time.
constexpr auto kHangMargin = std::chrono::seconds(30);
constexpr const char* kHelperName = "grabwright-render";
constexpr const char* kMessageMark = "grabwright-render: ";
// What the helper's exit status says.
constexpr int kSettledStatus = 0;
constexpr int kNotSettledStatus = 3;

bool IsProgram(const std::string& path) {
    return ::access(path.c_str(), X_OK) == 0 && std::filesystem::is_regular_file(path);
}

RenderedPage Failure(std::string why) {
    RenderedPage page;
    page.error = std::move(why);
    return page;
}

// The helper's own last word on its standard error; the engine's chatter is passed over.
std::string HelperMessage(const std::string& errorFile) {
    const std::string text = ReadWholeFile(errorFile, 1 << 20).bytes;
    std::string message;
    for (std::size_t at = text.find(kMessageMark); at != std::string::npos;
         at = text.find(kMessageMark, at + 1)) {
        const std::size_t start = at + std::string(kMessageMark).size();
        message = text.substr(start, text.find('\n', start) - start);
    }
    return message;
}

std::string MiB(std::uint64_t bytes) {
    return std::to_string(bytes >> 20) + " MiB";
}

// Waits for the helper to end by itself; "" when it did, with `status` set, else why it was
// ended.
std::string Watch(int helper, const RenderRequest& request, const RenderProgress& progress,
                  int& status) {
    const auto start = Clock::now();
    const auto deadline = start + std::chrono::seconds(request.renderSeconds) + kHangMargin;
    auto nextMemoryCheck = start;
    for (;;) {
        if (LeaderEnded(helper, status))
            return {};
        std::string why;
        const auto now = Clock::now();
        if (progress && !progress())
            why = "the render was stopped";
        else if (now > deadline)
            why = "the page renderer did not finish within " +
                  std::to_string(request.renderSeconds) + " s and was ended";
        else if (now >= nextMemoryCheck) {
            nextMemoryCheck = now + kMemoryCheck;
            if (GroupResidentBytes(helper) > request.maxResidentBytes)
                why = "the page took more than " + MiB(request.maxResidentBytes) +
                      " of memory to render and was ended";
        }
        if (!why.empty()) {
            KillGroup(helper);
            ReapLeader(helper);
            return why;
        }
        std::this_thread::sleep_for(kTurn);
    }
}

RenderedPage ReadRendered(const std::string& folder, int exitStatus) {
    RenderedPage page;
    const FileBytes document = ReadWholeFile(folder + "/page.html");
    const FileBytes address = ReadWholeFile(folder + "/address.txt", 1 << 20);
    const FileBytes cookies = ReadWholeFile(folder + "/cookies.txt");
    if (!document.complete || !address.complete || !cookies.complete)
        return Failure("the page renderer's document could not be read");
    page.outcome =
        exitStatus == kSettledStatus ? RenderOutcome::Settled : RenderOutcome::NotSettled;
    page.document = document.bytes;
    page.finalAddress = address.bytes;
    page.cookies = cookies.bytes;
    return page;
}

RenderedPage RenderIn(const std::string& folder, const std::string& helper,
                      const RenderRequest& request, const RenderProgress& progress) {
    std::vector<std::string> arguments = {helper,
                                          "--address",
                                          request.address,
                                          "--out",
                                          folder,
                                          "--user-agent",
                                          kUserAgent,
                                          "--render-time",
                                          std::to_string(request.renderSeconds),
                                          "--heap-mb",
                                          std::to_string(request.heapMegabytes)};
    if (!request.cookiesFile.empty()) {
        arguments.push_back("--cookies");
        arguments.push_back(request.cookiesFile);
    }
    const std::string errorFile = folder + "/errors.txt";
    std::string why;
    const int pid = StartGroupLeader(arguments, errorFile, why);
    if (pid < 0)
        return Failure(why);
    int status = 0;
    why = Watch(pid, request, progress, status);
    // The engine's own processes outlive a helper that crashed or was killed.
    KillGroup(pid);
    WaitGroupGone(pid);
    if (!why.empty())
        return Failure(why);
    int signal = 0;
    const int exitStatus = ExitStatusOf(status, signal);
    if (exitStatus == kSettledStatus || exitStatus == kNotSettledStatus)
        return ReadRendered(folder, exitStatus);
    const std::string message = HelperMessage(errorFile);
    if (signal != 0)
        return Failure("the page renderer was ended by signal " + std::to_string(signal));
    if (!message.empty())
        return Failure(message);
    return Failure("the page renderer failed with exit status " + std::to_string(exitStatus));
}

}  // namespace

std::string FindRenderHelper() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    const std::filesystem::path folder = self.parent_path();
    for (const std::filesystem::path& candidate :
         {folder / kHelperName,
          folder.parent_path() / GW_INSTALL_LIBEXECDIR / "grabwright" / kHelperName}) {
        if (IsProgram(candidate.string()))
            return candidate.lexically_normal().string();
    }
    return {};
}

RenderedPage RenderPage(const std::string& helper, const RenderRequest& request,
                        const RenderProgress& progress) {
    std::string why;
    const std::string runFolder = RunFolder(&why);
    if (runFolder.empty())
        return Failure(why);
    std::string pattern = runFolder + "/render-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr)
        return Failure("no private folder could be made for the page renderer");
    RenderedPage page = RenderIn(pattern, helper, request, progress);
    std::error_code ignored;
    std::filesystem::remove_all(pattern, ignored);
    return page;
}

}  // namespace gw::platform
