#pragma once

#include <QListWidget>

// The icons held in one file, one row each; loading a file selects its first icon.
// For now every existing file shows one row; reading the icons out of the file follows.
class TdfsIconListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit TdfsIconListBox(QWidget *parent = nullptr);

    QString FileName() const { return m_fileName; }
    // Refills the list when the name differs from the one loaded; the same name changes nothing.
    void setFileName(const QString &fileName);
    int NumberOfIcons() const { return count(); }
    void Reload();
    void Clear();

private:
    QString m_fileName;
};
