#include "core/PathShortening.h"

namespace {

const QString ellipsis = QStringLiteral("...");

bool isSeparator(QChar c)
{
    return c == QLatin1Char('\\') || c == QLatin1Char('/');
}

// "...\" (or ".../"): where folders were dropped before.
bool startsWithMark(const QString &folders)
{
    return folders.size() >= 4 && folders.startsWith(ellipsis) && isSeparator(folders[3]);
}

// "\...\": nothing left of the folders but the mark after the root.
bool isRootMark(const QString &folders)
{
    return folders.size() == 5 && isSeparator(folders[0]) && startsWithMark(folders.mid(1));
}

// Replaces the first folder left in `folders` with the mark; a leading separator (the root)
// stays in front. The result is shorter every time once a mark is in place, so repeated calls
// end with an empty text.
void dropFirstFolder(QString &folders)
{
    if (folders.size() == 1 && isSeparator(folders[0])) {
        folders.clear();
        return;
    }
    QString root;
    if (!folders.isEmpty() && isSeparator(folders[0])) {
        root = folders.left(1);
        folders.remove(0, 1);
    }
    // Only our own mark is skipped: a real folder named "." or ".." is dropped like any other.
    if (startsWithMark(folders))
        folders.remove(0, 4);
    qsizetype cut = -1;
    for (qsizetype i = 0; i < folders.size(); ++i) {
        if (isSeparator(folders[i])) {
            cut = i;
            break;
        }
    }
    if (cut < 0)
        folders.clear();
    else
        folders = ellipsis + folders[cut] + folders.mid(cut + 1);
    folders.prepend(root);
}

} // namespace

QString shortenPath(const QString &path, int width,
                    const std::function<int(const QString &)> &textWidth)
{
    qsizetype lastSeparator = path.size() - 1;
    while (lastSeparator >= 0 && !isSeparator(path[lastSeparator]))
        --lastSeparator;
    QString folders = path.left(lastSeparator + 1);
    const QString name = path.mid(lastSeparator + 1);
    QString drive;
    if (folders.size() > 1 && folders[1] == QLatin1Char(':') && !isSeparator(folders[0])) {
        drive = folders.left(2);
        folders.remove(0, 2);
    }

    QString candidate = path;
    while (!drive.isEmpty() || !folders.isEmpty()) {
        if (textWidth(candidate) <= width)
            break;
        if (isRootMark(folders)) {
            drive.clear();
            folders = folders.mid(1);
        } else if (!folders.isEmpty()) {
            dropFirstFolder(folders);
        } else {
            drive.clear();
        }
        candidate = drive + folders + name;
    }
    return candidate;
}
