// The folder contents group: what the lines under the tree show for the selected entry, the
// programs-only filter, and the tree's context menu.

#include "app/TForm1.h"

#include "core/DiscPath.h"
#include "platform/FileInfo.h"
#include "widgets/TXPathLabel.h"
#include "widgets/TdfsSystemTreeView.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QString TForm1::selectedPath() const
{
    return dfsSystemTreeView1->Selection();
}

QString TForm1::relativeSelectedPath() const
{
    return discPathOf(dataFolder(), selectedPath());
}

bool TForm1::isProgramSelected() const
{
    return isProgramPath(selectedPath());
}

void TForm1::dfsSystemTreeView1Change()
{
    const QString label = e_Etykieta->text();
    Label4->setText(label.isEmpty() ? relativeSelectedPath()
                                    : QLatin1Char('[') + label + QStringLiteral("]\\") + relativeSelectedPath());
    if (!isProgramSelected()) {
        Label7->clear();
        Label5->clear();
        enable(sb_Dodaj, false);
        dfsSystemTreeView1->setPopupMenu(nullptr);
        return;
    }
    const TFileInfo file(selectedPath());
    TFileVersionInfo info;
    file.ReadVersionInfo(info);
    Label5->setText(info.fileDescription.isEmpty() ? file.DisplayName() : info.fileDescription);
    Label5->adjustSize();
    Label7->setText(QStringLiteral("Nazwa pliku:"));
    Label7->adjustSize();
    Label6->setText(QStringLiteral("Ścieżka i nazwa pliku:"));
    Label6->adjustSize();
    enable(sb_Dodaj, true);
    dfsSystemTreeView1->setPopupMenu(pm_Lista);
}

void TForm1::dfsSystemTreeView1DblClick()
{
    if (sb_Dodaj->isEnabled())
        sb_DodajClick();
}

void TForm1::dfsSystemTreeView1KeyDown(int key)
{
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && sb_Dodaj->isEnabled())
        sb_DodajClick();
    de_FolderKeyDown(key);
}

void TForm1::CheckBox1Click()
{
    dfsSystemTreeView1->setFileMask(CheckBox1->isChecked() ? QStringLiteral("*.exe") : QString());
}

// Only the field changes: none of the button rules runs, as this was always a quiet shortcut.
void TForm1::Ustawjakoautomatycznieuruchomiany1Click()
{
    l_Program->setText(relativeSelectedPath());
    m_edited = true;
}
