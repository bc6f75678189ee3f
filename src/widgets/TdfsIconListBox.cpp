#include "widgets/TdfsIconListBox.h"

#include <QFileIconProvider>
#include <QFileInfo>

TdfsIconListBox::TdfsIconListBox(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void TdfsIconListBox::setFileName(const QString &fileName)
{
    if (fileName == m_fileName)
        return;
    m_fileName = fileName;
    Reload();
}

void TdfsIconListBox::Reload()
{
    clear();
    const QFileInfo info(m_fileName);
    if (!info.isFile())
        return;
    static const QFileIconProvider provider;
    addItem(new QListWidgetItem(provider.icon(info), QString()));
    setCurrentRow(0);
}

void TdfsIconListBox::Clear()
{
    m_fileName.clear();
    clear();
}
