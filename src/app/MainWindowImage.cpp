// The disc image: the data folder, with the saved menu file, written as one ISO file that any
// burning program takes.

#include "app/MainWindow.h"

#include "app/Texts.h"
#include "core/DiscCheck.h"
#include "core/DiscImage.h"
#include "core/PolishText.h"
#include "dialogs/ImageProgressDialog.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "platform/Shell.h"
#include "widgets/FolderTree.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QLocale>

namespace {

// A file name made of the label: characters no file system takes become "_".
QString imageFileName(const QString &label)
{
    QString name;
    for (const QChar c : label) {
        const bool refused = c.unicode() < 32 || QStringLiteral("/\\:*?\"<>|").contains(c);
        name += refused ? QLatin1Char('_') : c;
    }
    name = name.trimmed();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        name = QStringLiteral("plyta");
    return name + QStringLiteral(".iso");
}

QString problemText(const DiscImageProblem &problem)
{
    using Kind = DiscImageProblem::Kind;
    const QString why =
        problem.reason.isEmpty() ? QString() : QStringLiteral(" (") + problem.reason + QLatin1Char(')');
    QString text;
    switch (problem.kind) {
    case Kind::None:
    case Kind::Cancelled:
        break;
    case Kind::MissingFolder:
        text = Texts::imageDataFolder() + problem.subject + Texts::imageFolderMissing();
        break;
    case Kind::MissingTarget:
        text = Texts::imageTargetFolder() + problem.subject
            + Texts::imageTargetMissing();
        break;
    case Kind::InsideFolder:
        text = Texts::imageInsideFolder();
        break;
    case Kind::Unreadable:
        text = Texts::imageUnreadableFile() + problem.subject + why + QStringLiteral(" !!!");
        break;
    case Kind::TooLarge:
        text = Texts::theFile() + problem.subject
            + Texts::imageTooLarge();
        break;
    case Kind::CannotAdd:
        text = Texts::imageCannotAdd() + problem.subject + why
            + QStringLiteral(" !!!");
        break;
    case Kind::CannotWrite:
        text = Texts::imageCannotWrite() + problem.subject + why
            + Texts::imageCannotWriteEnd();
        break;
    case Kind::CannotLayOut:
        text = Texts::imageCannotLayOut() + why + QStringLiteral(" !!!");
        break;
    case Kind::UnreadableFolder:
        text = Texts::imageUnreadableFolder() + problem.subject + why + QStringLiteral(" !!!");
        break;
    case Kind::Changed:
        text = Texts::theFile() + problem.subject
            + Texts::imageFileChanged();
        break;
    case Kind::DiskFull:
        text = Texts::imageDiskFull() + problem.subject
            + Texts::imageDiskFullEnd();
        break;
    }
    return text + Texts::imageNotCreated();
}

QString sizeText(qint64 bytes)
{
    const QLocale polish(QLocale::Polish, QLocale::Poland);
    return polish.formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat) + QStringLiteral(" (")
        + polishNumber(bytes) + QStringLiteral(" B)");
}

// Links that lead out of the folder are not on the disc; the user may have counted on them.
QString skippedText(const QStringList &skipped)
{
    if (skipped.isEmpty())
        return {};
    return Texts::skippedLinks()
        + skipped.join(QLatin1Char('\r'));
}

} // namespace

void MainWindow::makeDiscImage()
{
    if (panelOpen())
        return;
    const QString folder = QDir::cleanPath(dataFolder());
    // A menu that is not on disc, or differs from it, would not be the one on the disc.
    const bool unsaved = differsFromFile();
    if (!saveChangesFirst(
            unsaved,
            Texts::askSaveBeforeImage()))
        return;

    const QString label = m_labelEdit->text();
    // What the image will be, laid out as it will be written: its size goes in the chooser's
    // title, and files stored in parts are told before anything is written.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const DiscImagePlan plan = planDiscImage({folder, {}, label});
    QGuiApplication::restoreOverrideCursor();
    if (!plan.largeFiles.isEmpty()) {
        QStringList files;
        for (const DiscImagePlan::LargeFile &file : plan.largeFiles)
            files << file.path;
        if (m_services.messages.show(this, Texts::largeFileQuestion().arg(files.join(QLatin1Char('\r'))),
                                     Texts::captionWarning(), Messages::Buttons::YesNo, Messages::Icon::Warning)
            != Messages::Answer::Yes)
            return;
    }
    QString title = Texts::saveImageTitle();
    if (plan.problem.kind == DiscImageProblem::Kind::None) {
        const QStringList media = mediaFitting(plan.bytes);
        title = media.isEmpty() ? Texts::imageSizeFitsNone().arg(title, sizeText(plan.bytes))
                                : Texts::imageSizeFits().arg(title, sizeText(plan.bytes), media.first());
    }
    const QString proposed = QFileInfo(folder).dir().filePath(
        imageFileName(label.trimmed().isEmpty() ? QFileInfo(folder).fileName() : label));
    const QString image = m_services.dialogs.saveFileName(this, title,
                                                          Texts::imageFilter(),
                                                          QStringLiteral("iso"), proposed);
    if (image.isEmpty())
        return;

    ImageProgressDialog progress(this);
    const DiscImageResult result = progress.run({folder, image, label});
    if (result.cancelled) {
        m_services.messages.show(
            this,
            Texts::imageCancelled(),
            Texts::captionInformation(), Messages::Buttons::Ok, Messages::Icon::Information);
    } else if (!result.ok) {
        m_services.messages.show(this, problemText(result.problem), Texts::captionError(), Messages::Buttons::Ok,
                                 Messages::Icon::Error);
    } else if (m_services.messages.show(this,
                                        Texts::imageSaved() + image
                                            + Texts::imageSize() + sizeText(result.bytes)
                                            + skippedText(result.skipped)
                                            + Texts::askShowImage(),
                                        Texts::captionInformation(), Messages::Buttons::YesNo,
                                        Messages::Icon::Question)
               == Messages::Answer::Yes) {
        m_services.shell.showInFolder(this, image);
    }
    m_folderTree->setFocus();
}
