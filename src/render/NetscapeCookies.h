#pragma once

#include <QList>
#include <QNetworkCookie>
#include <QString>

namespace gw::render {

// The cookies of a file in the Netscape format (curl's and browsers' export add-ons'), the
// "#HttpOnly_" lines included; lines that cannot be read are passed over.
QList<QNetworkCookie> ReadNetscapeCookies(const QString& path, bool& readable);

// `cookies` in the same format, for libcurl to read back.
QByteArray NetscapeCookieText(const QList<QNetworkCookie>& cookies);

}  // namespace gw::render
