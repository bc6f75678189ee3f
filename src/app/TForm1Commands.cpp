// The commands on the whole document: the "Menu ..." pop-up with New, Open, the check of the
// disc, the disc image and the recent files, and Refresh.

#include "app/TForm1.h"

#include "app/MruList.h"
#include "app/Texts.h"
#include "core/AutorunReader.h"
#include "core/AutorunWriter.h"
#include "core/DiscCheck.h"
#include "dialogs/TF_Sprawdz.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "widgets/Placement.h"
#include "widgets/TDirectoryEdit.h"
#include "widgets/TdfsSystemTreeView.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QStandardPaths>
#include <QToolButton>
#include <QTreeWidget>

void TForm1::sb_NoweClick()
{
    pm_Nowe->clear();
    pm_Nowe->addAction(QIcon(QStringLiteral(":/pictures/small/nowe.png")), QStringLiteral("Nowe"),
                       this, &TForm1::Nowe1Click)
        ->setObjectName(QStringLiteral("Nowe1"));
    pm_Nowe->addSeparator();
    pm_Nowe->addAction(QIcon(QStringLiteral(":/pictures/small/otworz.png")), QStringLiteral("Otwórz"),
                       this, &TForm1::Otwrz1Click);
    QAction *check = pm_Nowe->addAction(QStringLiteral("Sprawdź płytę..."), this, &TForm1::Sprawdzplyte1Click);
    check->setObjectName(QStringLiteral("Sprawdzplyte1"));
    check->setEnabled(sb_AutoRun->isEnabled()); // while a folder is taken
    QAction *image = pm_Nowe->addAction(QStringLiteral("Utwórz obraz płyty (ISO)..."), this,
                                        &TForm1::Obrazplyty1Click);
    image->setObjectName(QStringLiteral("Obrazplyty1"));
    image->setEnabled(sb_AutoRun->isEnabled());
    QAction *separator = pm_Nowe->addSeparator();
    separator->setObjectName(QStringLiteral("N4"));
    QMenu *recent = pm_Nowe->addMenu(QIcon(QStringLiteral(":/pictures/small/ostatnie.png")),
                                     QStringLiteral("Ostatnio wybierane"));
    for (const QString &path : MruList(MruList::filesKey).entries()) {
        if (QFileInfo(path).isFile())
            recent->addAction(path, this, [this, path] {
                OpenMenuFile(path);
                dfsSystemTreeView1->setFocus();
            });
    }
    recent->menuAction()->setVisible(!recent->isEmpty());
    separator->setVisible(!recent->isEmpty());
    pm_Nowe->popup(sb_Nowe->mapToGlobal(QPoint(sb_Nowe->width(), sb_Nowe->height() - 10)));
}

void TForm1::Nowe1Click()
{
    // Unsaved changes get the question that offers to save them; otherwise New is confirmed.
    if (hasUnsavedChanges()) {
        if (!saveChangesFirst(true, Texts::askSaveChanges))
            return;
    } else if (m_services.messages.show(this, QStringLiteral("Czy na pewno chcesz rozpocząć tworzenie nowego menu ???"),
                                        Texts::captionWarning, Messages::Buttons::YesNo,
                                        Messages::Icon::Question)
               != Messages::Answer::Yes) {
        return;
    }
    FormCreate();
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    de_Folder->setInitialDir(documents);
    if (!documents.endsWith(QLatin1Char('/')))
        documents += QLatin1Char('/');
    de_Folder->setFolder(documents);
    m_modified = false;
    dfsSystemTreeView1->setFocus();
}

void TForm1::Otwrz1Click()
{
    const QString path = m_services.dialogs.openFileName(
        this, QStringLiteral("Otwórz plik z menu"), QStringLiteral("pliki autouruchamiania (*.inf)"),
        QStringLiteral("inf"), QStringLiteral("autorun.inf"));
    if (path.isEmpty())
        return;
    const QString name = QFileInfo(path).fileName();
    QString error;
    if (!QFileInfo(path).isFile())
        error = QStringLiteral("Wskazany plik nie istnieje !!!");
    else if (fileExtension(name).toLower() != QLatin1String(".inf"))
        error = QStringLiteral("Wskazany plik ma nieprawidłowe rozszerzenie (nie jest plikiem "
                               "zawierającym dane autouruchomiania) !!!");
    else if (name.toLower() != QLatin1String("autorun.inf"))
        error = QStringLiteral("Wskazany plik ma nieprawidłową nazwę !!!");
    if (!error.isEmpty()) {
        m_services.messages.show(this, error, Texts::captionError, Messages::Buttons::Ok,
                                 Messages::Icon::Error);
        return;
    }
    OpenMenuFile(QFileInfo(path).absoluteFilePath());
    dfsSystemTreeView1->setFocus();
}

void TForm1::Sprawdzplyte1Click()
{
    const QList<DiscFinding> findings = checkDisc(document(), dataFolder());
    if (findings.isEmpty()) {
        if (m_check)
            m_check->close();
        m_services.messages.show(this, QStringLiteral("Nie znaleziono problemów."),
                                 Texts::captionInformation, Messages::Buttons::Ok,
                                 Messages::Icon::Information);
        return;
    }
    if (!m_check) {
        m_check = new TF_Sprawdz(this);
        connect(m_check, &TF_Sprawdz::findingChosen, this, &TForm1::showFinding);
    }
    m_check->setFindings(findings);
    m_check->show();
    m_check->raise();
    m_check->activateWindow();
}

void TForm1::showFinding(const DiscFinding &finding)
{
    if (panelOpen())
        return;
    activateWindow();
    QRect place; // what the findings window must leave in view
    if (finding.key == QLatin1String("label")) {
        e_Etykieta->setFocus();
        e_Etykieta->selectAll();
        place = QRect(e_Etykieta->mapToGlobal(QPoint()), e_Etykieta->size());
    } else if (finding.item >= 0) {
        // The list may have changed since the check: a row that is gone is not looked for.
        if (QTreeWidgetItem *row = lv_Lista->topLevelItem(finding.item)) {
            lv_Lista->setCurrentItem(row);
            lv_Lista->scrollToItem(row);
            lv_Lista->setFocus();
            const QRect rect = lv_Lista->visualItemRect(row);
            place = QRect(lv_Lista->viewport()->mapToGlobal(rect.topLeft()), rect.size());
        }
    } else {
        sb_AutoRunClick();
        place = QRect(p_Autorun->mapToGlobal(QPoint()), p_Autorun->size());
    }
    if (m_check && m_check->isVisible() && place.isValid())
        moveOutOf(m_check, place);
}

void TForm1::sb_OdswiezClick()
{
    if (!fileOnDisc() || panelOpen())
        return;
    if (m_modified
        && m_services.messages.show(
               this,
               QStringLiteral("W pliku wprowadzono zmiany, odświeżenie pliku dysku, czyli ponowne "
                              "załadowanie spowoduje utratę wprowadzonych zmian.\rKontynuować "
                              "odświeżanie teraz ???"),
               Texts::captionWarning, Messages::Buttons::YesNo, Messages::Icon::Question)
               != Messages::Answer::Yes)
        return;
    if (ReadAutorunFile(autorunPath(dataFolder())))
        m_modified = false;
}
