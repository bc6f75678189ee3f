// The created file and the files of the folder handed to the desktop, deleting the created
// file, the recent folders, and the drive's context menu as the disc will show it.

#include "app/TForm1.h"

#include "app/MruList.h"
#include "app/Texts.h"
#include "core/AutorunWriter.h"
#include "core/DiscPath.h"
#include "platform/Messages.h"
#include "platform/Shell.h"
#include "widgets/TDirectoryEdit.h"
#include "widgets/TdfsSystemTreeView.h"

#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTextDocument>
#include <QToolButton>
#include <QTreeWidget>

void TForm1::sb_UruchomPlikClick()
{
    if (!fileOnDisc())
        return;
    if (m_modified
        && m_services.messages.show(this,
                                    QStringLiteral("W tworzonym pliku wprowadzono zmiany, czy chcesz je "
                                                   "przed otwarciem zapisć ???"),
                                    Texts::captionWarning, Messages::Buttons::YesNo, Messages::Icon::Question)
               == Messages::Answer::Yes)
        sb_ZapiszClick();
    m_services.messages.show(this,
                             QStringLiteral("Tak wygląda utworzony przez Ciebie plik z danymi dla menu. "
                                            "Jeżeli chcesz aby menu, które stworzyłeś działało poprawnie, "
                                            "w otwartym pliku, PROPONUJĘ NIC NIE ZMIENIAĆ !!!"),
                             Texts::captionInformation, Messages::Buttons::Ok, Messages::Icon::Information);
    m_services.shell.open(this, autorunPath(dataFolder()), QStringLiteral("open"), Shell::Show::Normal);
    dfsSystemTreeView1->setFocus();
}

void TForm1::sb_UsunPlikClick()
{
    if (m_services.messages.show(this, QStringLiteral("Czy na pewno chcesz usunąć plik ???"),
                                 Texts::captionWarning, Messages::Buttons::YesNo, Messages::Icon::Question)
            == Messages::Answer::Yes
        && !QFile::remove(autorunPath(dataFolder())))
        m_services.messages.show(
            this,
            QStringLiteral("Nie można usunąć pliku, sprawdź czy folder jest folderem zabezpieczonym przed "
                           "jakimikolwiek modyfikacjami lub czy nie usuwasz pliku z dysku chronionego przed "
                           "zapisem lub z takiego gdzie zapis jest niemożliwy ???"),
            Texts::captionError, Messages::Buttons::Ok, Messages::Icon::Error);
    const bool onDisc = fileOnDisc();
    for (QPushButton *b : {sb_UsunPlik, sb_UruchomPlik, sb_Podglad, sb_Odswiez})
        enable(b, onDisc);
    sb_Zapisz->setVisible(onDisc);
    sb_Utworz->setVisible(!onDisc);
    if (!onDisc)
        clearItems();
    dfsSystemTreeView1->setFocus();
}

void TForm1::Uruchom1Click()
{
    m_services.shell.open(this, selectedPath(), QString(), Shell::Show::Normal);
}

bool TForm1::fillRecentFolders()
{
    pm_Wybierane->clear();
    for (const QString &folder : MruList(MruList::foldersKey).entries()) {
        // Stored with the separator at the end; the root is the separator alone.
        if (!QFileInfo(folder.size() > 1 ? folder.chopped(1) : folder).isDir())
            continue;
        pm_Wybierane->addAction(folder, this, [this, folder] {
            de_Folder->setFolder(folder);
            if (dfsSystemTreeView1->isEnabled() && dfsSystemTreeView1->isVisible())
                dfsSystemTreeView1->setFocus();
        });
    }
    return !pm_Wybierane->isEmpty();
}

void TForm1::SpeedButton2Click()
{
    if (fillRecentFolders())
        pm_Wybierane->popup(QCursor::pos());
}

void TForm1::pm_MenuPopup()
{
    pm_Menu->clear();
    pm_Menu->setToolTipsVisible(true);
    const QString folder = dataFolder();
    const auto opening = [&](const QString &caption, const QString &file) {
        const QString path = nativePathOf(folder, file);
        QAction *action = pm_Menu->addAction(caption, this, [this, path] {
            m_services.shell.open(this, path, QStringLiteral("open"), Shell::Show::Normal);
        });
        // A path from the menu file is shown as it is, never taken for markup.
        action->setToolTip(Qt::mightBeRichText(path) ? QStringLiteral("<p style='white-space:pre'>")
                                                           + path.toHtmlEscaped() + QStringLiteral("</p>")
                                                     : path);
        action->setStatusTip(path);
        return action;
    };
    const auto greyed = [&](const QString &caption) {
        QAction *action = pm_Menu->addAction(caption);
        action->setEnabled(false);
        return action;
    };

    const QString program = l_Program->text();
    if (!program.isEmpty()) {
        pm_Menu->setDefaultAction(opening(QStringLiteral("Autoodtwarzanie"), program));
    } else {
        pm_Menu->setDefaultAction(greyed(QStringLiteral("&Otwórz")));
        greyed(QStringLiteral("Eksplo&ruj"));
        greyed(QStringLiteral("W&yszukaj"));
    }
    for (const MenuItem &item : document().items)
        opening(item.label, item.file);
    if (!program.isEmpty()) {
        greyed(QStringLiteral("W&yszukaj"));
        greyed(QStringLiteral("&Otwórz"));
        greyed(QStringLiteral("Eksplo&ruj"));
    }
    for (const char *caption : {"U&dostępnianie i zabezpieczenia", "W&ysuń", "&Kopiuj", "Utwórz &skrót", "&Właściwości"}) {
        pm_Menu->addSeparator();
        greyed(QString::fromUtf8(caption));
    }
}
