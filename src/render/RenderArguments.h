#pragma once

#include <QString>
#include <optional>

namespace gw::render {

// What the front end asks of one render; every path is one it made for this render alone.
struct RenderArguments {
    QString address;
    QString outFolder;    // receives page.html, address.txt and cookies.txt
    QString cookiesFile;  // Netscape format, only read; "" for none
    QString userAgent;
    int renderSeconds = 20;
    int heapMegabytes = 512;
};

// The arguments of `grabwright-render --address URL --out FOLDER [--cookies FILE]
// [--user-agent TEXT] [--render-time SECONDS] [--heap-mb N]`; nothing, with `why`, when they
// cannot be taken.
std::optional<RenderArguments> ReadArguments(int argc, char** argv, QString& why);

}  // namespace gw::render
