#include "core/UpdateCheck.h"

#include "core/ProfileFile.h"

#include <QList>
#include <QUrl>

#include <limits>

namespace {

// A whole decimal number in the signed 32-bit range, leading blanks and a sign allowed.
bool versionPart(QStringView text, qint64 *value)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    if (i == text.size())
        return false;
    qint64 n = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return false;
        n = n * 10 + (text[i].unicode() - u'0');
        if (n > qint64(std::numeric_limits<qint32>::max()) + 1)
            return false;
    }
    n = negative ? -n : n;
    if (n > std::numeric_limits<qint32>::max())
        return false;
    *value = n;
    return true;
}

// Four parts: up to the first three dots, the fourth is all the rest.
bool versionParts(const QString &version, QList<qint64> *parts)
{
    QStringView rest(version);
    for (int i = 0; i < 4; ++i) {
        const qsizetype dot = i < 3 ? rest.indexOf(u'.') : rest.size();
        if (dot < 0)
            return false;
        qint64 value = 0;
        if (!versionPart(rest.left(dot), &value))
            return false;
        parts->append(value);
        rest = i < 3 ? rest.mid(dot + 1) : QStringView();
    }
    return true;
}

} // namespace

bool isNewerVersion(const QString &current, const QString &published)
{
    QList<qint64> mine, theirs;
    if (!versionParts(current, &mine) || !versionParts(published, &theirs))
        return false;
    for (int i = 0; i < 4; ++i) {
        if (theirs[i] != mine[i])
            return theirs[i] > mine[i];
    }
    return false;
}

bool isOpenableAddress(const QString &address)
{
    const QUrl url(address);
    const QString scheme = url.scheme(); // QUrl keeps schemes in lower case
    return url.isValid()
        && (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto"));
}

void applyUpdateData(const ProfileFile &data, const QString &defaultHomePage, UpdateState &state)
{
    const QString common = QStringLiteral("dane");
    if (data.hasSection(common)) {
        state.homePage = data.hasKey(common, u"QuorvaleHomePage") ? data.value(common, u"QuorvaleHomePage")
                                                                  : defaultHomePage;
        state.noticeTarget = data.value(common, u"CV_File");
    } else {
        state.homePage = defaultHomePage;
        state.noticeTarget.clear();
    }
    const QString product = QStringLiteral("Pelmora");
    if (data.hasSection(product)) {
        if (data.hasKey(product, u"version"))
            state.publishedVersion = data.value(product, u"version");
        if (data.hasKey(product, u"url"))
            state.downloadAddress = data.value(product, u"url");
        if (data.hasKey(product, u"new"))
            state.news = data.value(product, u"new");
    } else {
        state.downloadAddress.clear();
        state.news.clear();
    }
}

void applyNoUpdateData(const QString &defaultHomePage, UpdateState &state)
{
    state.homePage = defaultHomePage;
    state.noticeTarget.clear();
    state.downloadAddress.clear();
    state.news.clear();
}
