#include "render/RenderArguments.h"

namespace gw::render {
namespace {

bool ReadNumber(const QString& text, int low, int high, int& number) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return false;
    number = value;
    return true;
}

}  // namespace

std::optional<RenderArguments> ReadArguments(int argc, char** argv, QString& why) {
    RenderArguments arguments;
    for (int i = 1; i < argc; i += 2) {
        const QString name = QString::fromLocal8Bit(argv[i]);
        if (i + 1 >= argc) {
            why = name + QStringLiteral(" needs a value");
            return std::nullopt;
        }
        const QString value = QString::fromLocal8Bit(argv[i + 1]);
        bool taken = true;
        if (name == QLatin1String("--address"))
            arguments.address = value;
        else if (name == QLatin1String("--out"))
            arguments.outFolder = value;
        else if (name == QLatin1String("--cookies"))
            arguments.cookiesFile = value;
        else if (name == QLatin1String("--user-agent"))
            arguments.userAgent = value;
        else if (name == QLatin1String("--render-time"))
            taken = ReadNumber(value, 1, 31536000, arguments.renderSeconds);
        else if (name == QLatin1String("--heap-mb"))
            taken = ReadNumber(value, 16, 1 << 20, arguments.heapMegabytes);
        else
            taken = false;
        if (!taken) {
            why = QStringLiteral("cannot take ") + name + QLatin1Char(' ') + value;
            return std::nullopt;
        }
    }
    if (arguments.address.isEmpty() || arguments.outFolder.isEmpty()) {
        why = QStringLiteral("--address and --out are needed");
        return std::nullopt;
    }
    return arguments;
}

}  // namespace gw::render
