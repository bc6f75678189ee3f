#include "platform/Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

void DesktopShell::open(QWidget *, const QString &target, const QString &, Show)
{
    // The desktop decides how a document's window is shown, and "open" is its only verb.
    const QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(target) : QUrl(target);
    QDesktopServices::openUrl(url);
}
