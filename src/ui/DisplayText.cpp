#include "ui/DisplayText.h"

#include <QStringDecoder>

namespace gw::ui {

QString displayText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

}  // namespace gw::ui
