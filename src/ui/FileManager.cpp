#include "ui/FileManager.h"

#include <QByteArray>
#include <QDesktopServices>
#include <QFile>
#include <QUrl>

namespace gw::ui {
namespace {
std::function<void(const std::string&)>& opener() {
    static std::function<void(const std::string&)> installed;
    return installed;
}
}  // namespace

void OpenFolderInFileManager(const std::string& folder) {
    if (opener()) {
        opener()(folder);
        return;
    }
    // The folder's bytes as the file system holds them, whatever their encoding.
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(folder))));
}

void setFolderOpener(std::function<void(const std::string&)> newOpener) {
    opener() = std::move(newOpener);
}

}  // namespace gw::ui
