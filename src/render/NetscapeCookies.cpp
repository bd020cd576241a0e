#include "render/NetscapeCookies.h"

#include <QDateTime>
#include <QFile>

namespace gw::render {
namespace {

const QByteArray kHttpOnlyMark = "#HttpOnly_";

bool ReadLine(QByteArray line, QNetworkCookie& cookie) {
    if (line.endsWith('\r'))
        line.chop(1);
    const bool httpOnly = line.startsWith(kHttpOnlyMark);
    if (httpOnly)
        line.remove(0, kHttpOnlyMark.size());
    else if (line.isEmpty() || line.startsWith('#'))
        return false;
    const QList<QByteArray> fields = line.split('\t');
    if (fields.size() != 7)
        return false;
    QByteArray domain = fields[0];
    // A host-only cookie has no leading dot; one for the subdomains too needs it.
    if (fields[1] == "TRUE" && !domain.startsWith('.'))
        domain.prepend('.');
    cookie.setDomain(QString::fromLatin1(domain));
    cookie.setPath(QString::fromLatin1(fields[2]));
    cookie.setSecure(fields[3] == "TRUE");
    const qint64 expires = fields[4].toLongLong();
    if (expires > 0)
        cookie.setExpirationDate(QDateTime::fromSecsSinceEpoch(expires));
    cookie.setName(fields[5]);
    cookie.setValue(fields[6]);
    cookie.setHttpOnly(httpOnly);
    return !cookie.name().isEmpty();
}

}  // namespace

QList<QNetworkCookie> ReadNetscapeCookies(const QString& path, bool& readable) {
    QList<QNetworkCookie> cookies;
    QFile file(path);
    readable = file.open(QIODevice::ReadOnly);
    if (!readable)
        return cookies;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        QNetworkCookie cookie;
        if (ReadLine(line, cookie))
            cookies.append(cookie);
    }
    return cookies;
}

QByteArray NetscapeCookieText(const QList<QNetworkCookie>& cookies) {
    QByteArray text = "# Netscape HTTP Cookie File\n";
    for (const QNetworkCookie& cookie : cookies) {
        const QByteArray domain = cookie.domain().toLatin1();
        if (cookie.isHttpOnly())
            text += kHttpOnlyMark;
        text += domain + '\t' + (domain.startsWith('.') ? "TRUE" : "FALSE") + '\t' +
                (cookie.path().isEmpty() ? QByteArray("/") : cookie.path().toLatin1()) + '\t' +
                (cookie.isSecure() ? "TRUE" : "FALSE") + '\t' +
                QByteArray::number(
                    cookie.isSessionCookie() ? 0 : cookie.expirationDate().toSecsSinceEpoch()) +
                '\t' + cookie.name() + '\t' + cookie.value() + '\n';
    }
    return text;
}

}  // namespace gw::render
