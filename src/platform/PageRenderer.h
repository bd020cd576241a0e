#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace gw::platform {

struct RenderRequest {
    std::string address;      // http or https only
    std::string cookiesFile;  // Netscape format, only read; "" for none
    int renderSeconds = 20;   // the page is taken as it stands after this long
    // Resident memory of the helper and the engine's processes together; not address space,
    // of which the engine reserves gigabytes it never uses.
    std::uint64_t maxResidentBytes = std::uint64_t{2} << 30;
    int heapMegabytes = 512;  // the page's JavaScript heap
};

enum class RenderOutcome {
    Settled,     // the page settled within its time
    NotSettled,  // the time ran out; the document is the one that stood then
    Failed,      // see `error`
};

struct RenderedPage {
    RenderOutcome outcome = RenderOutcome::Failed;
    std::string document;      // document.documentElement.outerHTML, UTF-8
    std::string finalAddress;  // where the page ended up
    std::string cookies;       // the engine's cookies, Netscape format
    std::string error;
};

// Called about every 20 ms while the helper works; false ends it (the user closed the window,
// a signal came).
using RenderProgress = std::function<bool()>;

// The page renderer beside the running program, else where the package installs it; "" when it
// is not installed.
std::string FindRenderHelper();

// The name of the package that holds the page renderer, for a message saying what to install.
inline constexpr const char* kRenderPackage = "grabwright-render";

// Renders one page in the helper `helper`, in a private folder that is gone afterwards. The
// helper runs in a process group of its own, which is ended whole: nothing of the engine stays
// behind, whether the helper finished, failed, crashed, was killed or passed its memory bound.
RenderedPage RenderPage(const std::string& helper, const RenderRequest& request,
                        const RenderProgress& progress = {});

}  // namespace gw::platform
