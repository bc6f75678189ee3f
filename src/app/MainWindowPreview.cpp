// The preview: the saved menu file is tried from a temporary drive letter that stands for the
// data folder, with a variant of the file that works from there, and is put back afterwards.

#include "app/MainWindow.h"
#include "app/ItemDelegates.h"
#include "app/MenuItemModel.h"

#include "app/Texts.h"
#include "core/AtomicFile.h"
#include "core/AutorunWriter.h"
#include "core/PreviewVariant.h"
#include "core/ProfileFile.h"
#include "platform/Messages.h"
#include "platform/PreviewDrive.h"
#include "platform/PreviewJournal.h"
#include "platform/StateFolder.h"
#include "core/RegularFile.h"
#include "core/DiscPath.h"
#include "core/IconSource.h"
#include "widgets/FolderTree.h"
#include "widgets/IconList.h"
#include "widgets/OwnPictures.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

namespace {

QString longQuestion(const QString &folder, const QString &label, const QString &drive,
                     const QString &volume, const QString &letter)
{
    const QChar quote(u'"');
    return Texts::askPreview()
        + quote + folder + quote + QLatin1Char(' ')
        + Texts::askPreviewDriveIcon()
        + drive + QStringLiteral(") ")
        + Texts::askPreviewLabel()
        + quote + label + quote + Texts::askPreviewVolume() + drive
        + QStringLiteral(" - ") + quote + volume + quote
        + Texts::askPreviewLetters()
        + Texts::askPreviewLettersEnd() + QStringLiteral("\r")
        + Texts::askPreviewBenefit()
        + QStringLiteral("\r\r") + Texts::askPreviewMakeDrive() + letter
        + Texts::askPreviewMakeDriveEnd();
}

QString waitMessage(const QString &letter, const QString &folder)
{
    return Texts::previewWait()
        + letter + Texts::previewWaitFolder() + folder
        + Texts::previewWaitTemporary()
        + Texts::previewWaitWorks()
        + Texts::previewWaitReplaced()
        + Texts::previewWaitOk();
}

QString noWinePrefix(const QString &prefix)
{
    return Texts::noWinePrefix()
        + prefix + Texts::noWinePrefixEnd();
}

} // namespace

void MainWindow::previewOnDrive()
{
    if (differsFromFile()
        && m_services.messages.show(
               this,
               Texts::askSaveBeforePreview(),
               Texts::captionWarning(), Messages::Buttons::YesNo, Messages::Icon::Question)
            == Messages::Answer::Yes)
        save();

    const QString folder = dataFolder();
    // The variant is never written through a link that leads out of the folder: said at once,
    // before the questions of a preview that cannot happen.
    if (const QString outside = linkLeavingFolder(autorunPath(folder), folder); !outside.isEmpty()) {
        m_services.messages.show(this, Texts::linkNotPreviewed().arg(outside), Texts::captionWarning(),
                                 Messages::Buttons::Ok, Messages::Icon::Warning);
        m_folderTree->setFocus();
        return;
    }
    const PreviewDrive drives;
    const QString letter = drives.freeLetter();
    const QString volume = PreviewDrive::volumeLabel(folder);
    if (m_document.items.isEmpty()) {
        m_services.messages.show(
            this,
            Texts::previewListEmpty(),
            Texts::captionWarning(), Messages::Buttons::Ok, Messages::Icon::Warning);
    } else if (!drives.hasPrefix()) {
        // The drive letters are those of Wine; without a prefix there is nowhere to make one.
        m_services.messages.show(this, noWinePrefix(drives.prefix()), Texts::captionWarning(),
                                 Messages::Buttons::Ok, Messages::Icon::Warning);
    } else if (m_services.messages.show(this,
                                        longQuestion(folder, m_labelEdit->text(), PreviewDrive::volumeRoot(folder),
                                                     volume, letter),
                                        Texts::captionWarning(), Messages::Buttons::YesNo,
                                        Messages::Icon::Question)
               == Messages::Answer::Yes) {
        previewRun(folder, letter);
    }
    m_folderTree->setFocus();
}

void MainWindow::previewRun(const QString &folder, const QString &letter)
{
    const QString path = autorunPath(folder);
    if (stateFolder().isEmpty()) {
        m_services.messages.show(
            this,
            Texts::theFolder() + stateFolderPath()
                + Texts::stateFolderNotPrivate(),
            Texts::captionError(), Messages::Buttons::Ok, Messages::Icon::Error);
        return;
    }
    PreviewJournal journal(path);
    if (journal.leftBehind()) {
        // An earlier preview could not put the file back: that comes first, and its journal is
        // never written over.
        const std::optional<PreviewJournal::Restored> restored = PreviewJournal::restore(journal.journalFile());
        if (restored)
            reportRestored({*restored});
        if (!restored || !restored->ok)
            return;
    }
    // The file exactly as saved, to be put back byte for byte.
    QByteArray saved;
    if (readRegularFile(path, ProfileFile::maxFileSize, &saved) != FileReadError::None) {
        generalError(Texts::cannotOpenFile().arg(path));
        return;
    }
    const QByteArray variant = autorunBytes(previewLines(ProfileFile::fromBytes(saved), folder));
    // The user's bytes are safe in the journal before the variant takes their place.
    if (!journal.keep(saved, variant)) {
        generalError(Texts::cannotCreateFile().arg(journal.journalFile()));
        return;
    }
    if (!writeFileAtomically(path, variant)) {
        journal.release();
        generalError(Texts::cannotCreateFile().arg(path));
        return;
    }

    const PreviewDrive drives;
    drives.map(letter, folder);
    m_services.messages.show(this, waitMessage(letter, folder), Texts::captionWarning(), Messages::Buttons::Ok,
                             Messages::Icon::Warning);
    // Put back over the variant only: a file changed while the preview was up is kept.
    const PreviewJournal::Restored restored = journal.putBack(saved, variant);
    if (!restored.ok) {
        generalError(Texts::cannotCreateFile().arg(path)); // the journal stays for the next start
        return;
    }
    journal.release();
    if (!restored.keptAs.isEmpty())
        m_services.messages.show(this, Texts::changedDuringPreview().arg(path, restored.keptAs), Texts::captionWarning(),
                                 Messages::Buttons::Ok, Messages::Icon::Warning);
    if (m_services.messages.show(
            this,
            Texts::askRemoveDrive()
                + letter + QStringLiteral(" ???"),
            Texts::captionQuestion(), Messages::Buttons::YesNo, Messages::Icon::Question)
        == Messages::Answer::Yes)
        drives.unmap(letter);
}

void MainWindow::restoreAfterInterruption()
{
    PreviewDrive::removeLinksOfEarlierBoots();
    reportRestored(PreviewJournal::restoreLeftBehind());
}

void MainWindow::reportRestored(const QList<PreviewJournal::Restored> &restored)
{
    if (restored.isEmpty())
        return;
    QStringList back, keptAside, failed;
    for (const PreviewJournal::Restored &r : restored) {
        if (r.ok && r.keptAs.isEmpty())
            back << r.file;
        else if (r.ok)
            keptAside << r.file + Texts::keptAsideAs() + r.keptAs + QLatin1Char(')');
        else
            failed << (r.file.isEmpty() ? QString() : r.file + QStringLiteral(": ")) + r.error
                    + Texts::journalCopy() + r.journal + QLatin1Char(')');
    }
    QString text;
    if (!back.isEmpty())
        text = Texts::restoredBack()
            + back.join(QLatin1Char('\r'));
    if (!keptAside.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral("\r\r"))
            + Texts::restoredKeptAside()
            + keptAside.join(QLatin1Char('\r'));
    if (!failed.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral("\r\r"))
            + Texts::restoreFailed()
            + failed.join(QLatin1Char('\r'));
    if (!failed.isEmpty())
        m_services.messages.show(this, text, Texts::captionError(), Messages::Buttons::Ok, Messages::Icon::Error);
    else if (!keptAside.isEmpty())
        m_services.messages.show(this, text, Texts::captionWarning(), Messages::Buttons::Ok,
                                 Messages::Icon::Warning);
    else
        m_services.messages.show(this, text, Texts::captionInformation(), Messages::Buttons::Ok,
                                 Messages::Icon::Information);
}

void MainWindow::showDriveInPreview()
{
    const QString folder = dataFolder();
    QStringList sections;
    for (const ArchitectureSection &section : std::as_const(m_document.kept.sections))
        sections << QLatin1Char('[') + section.name + QLatin1Char(']');
    const QString shown = folder + QLatin1Char('\n') + m_document.iconFile + QLatin1Char('\n')
        + QString::number(m_document.iconIndex.value_or(0)) + QLatin1Char('\n') + m_document.autoStartProgram
        + QLatin1Char('\n') + sections.join(QLatin1Char(' '));
    if (shown == m_shownDrive)
        return;
    m_sectionsLabel->setText(sections.isEmpty() ? QString() : Texts::alsoSections().arg(sections.join(QStringLiteral(", "))));
    m_sectionsLabel->setVisible(!sections.isEmpty());
    m_shownDrive = shown;
    QPixmap icon;
    if (!folder.isEmpty() && !m_document.iconFile.isEmpty()) {
        const IconSource source(nativePathOf(folder, m_document.iconFile));
        icon = IconList::largePicture(source.icoFile(m_document.iconIndex.value_or(0)));
        if (!icon.isNull())
            icon = icon.scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    m_drivePicture->setPixmap(icon.isNull() ? ownPicture(QStringLiteral(":/pictures/drive.pam")) : icon);
    const QString program = m_document.autoStartProgram;
    const QString text = program.isEmpty() ? QString() : Texts::startsProgram().arg(program);
    m_autoStartLabel->setToolTip(text);
    m_autoStartLabel->setText(m_autoStartLabel->fontMetrics().elidedText(text, Qt::ElideMiddle,
                                                                          qMax(40, m_previewArea->width() - 8)));
}
