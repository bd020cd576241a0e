#include "transfer/ShortcutFile.h"

#include "platform/FileWriter.h"
#include "transfer/FileName.h"

namespace gw::transfer {

std::string ShortcutText(const std::string& address) {
    std::string text = "[InternetShortcut]\r\nURL=";
    for (const char c : address) {
        if (c == '\r')
            text += "%0D";
        else if (c == '\n')
            text += "%0A";
        else
            text += c;
    }
    text += "\r\n";
    return text;
}

bool WriteShortcut(const std::string& folder, const std::string& address) {
    platform::FileWriter file(folder, FileNameFromAddress(address) + ".url");
    const std::string text = ShortcutText(address);
    return file.write(text.data(), text.size()) && file.commit();
}

}  // namespace gw::transfer
