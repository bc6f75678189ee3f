#include "platform/FileDialogs.h"

#include <QFileDialog>

namespace {

QString chosenFile(QWidget *parent, const QString &title, const QString &filter, const QString &defaultSuffix,
                   const QString &fileName, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setAcceptMode(mode);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString QtFileDialogs::openFileName(QWidget *parent, const QString &title, const QString &filter,
                                    const QString &defaultSuffix, const QString &fileName)
{
    return chosenFile(parent, title, filter, defaultSuffix, fileName, QFileDialog::AcceptOpen);
}

QString QtFileDialogs::existingDirectory(QWidget *parent, const QString &title, const QString &start)
{
    return QFileDialog::getExistingDirectory(parent, title, start);
}

QString QtFileDialogs::saveFileName(QWidget *parent, const QString &title, const QString &filter,
                                    const QString &defaultSuffix, const QString &proposedPath)
{
    // The save chooser asks itself before an existing file is replaced.
    return chosenFile(parent, title, filter, defaultSuffix, proposedPath, QFileDialog::AcceptSave);
}
