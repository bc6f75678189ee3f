#pragma once

#include <QString>

class QWidget;

// The file and folder choosers, behind an interface so that tests can answer them.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    // An existing file, or empty when the user cancels.
    virtual QString openFileName(QWidget *parent, const QString &title, const QString &filter,
                                 const QString &defaultSuffix, const QString &fileName) = 0;
    // An existing folder, or empty when the user cancels.
    virtual QString existingDirectory(QWidget *parent, const QString &title, const QString &start) = 0;
    // A file to write, starting at proposedPath; the chooser asks before an existing file is
    // replaced. Empty when the user cancels.
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &filter,
                                 const QString &defaultSuffix, const QString &proposedPath) = 0;
};

class QtFileDialogs : public FileDialogs
{
public:
    QString openFileName(QWidget *parent, const QString &title, const QString &filter,
                         const QString &defaultSuffix, const QString &fileName) override;
    QString existingDirectory(QWidget *parent, const QString &title, const QString &start) override;
    QString saveFileName(QWidget *parent, const QString &title, const QString &filter,
                         const QString &defaultSuffix, const QString &proposedPath) override;
};
