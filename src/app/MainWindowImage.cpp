// The disc image: the data folder, with the saved menu file, written as one ISO file that any
// burning program takes.

#include "app/MainWindow.h"

#include "app/Texts.h"
#include "core/DiscImage.h"
#include "core/PolishText.h"
#include "dialogs/ImageProgressDialog.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "platform/Shell.h"
#include "widgets/FolderTree.h"

#include <QDir>
#include <QFileInfo>
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
        text = QStringLiteral("Folder z danymi ") + problem.subject + QStringLiteral(" nie istnieje !!!");
        break;
    case Kind::MissingTarget:
        text = QStringLiteral("Folder, w którym ma być zapisany plik ") + problem.subject
            + QStringLiteral(", nie istnieje !!!");
        break;
    case Kind::InsideFolder:
        text = QStringLiteral("Obrazu płyty nie można zapisać w folderze z danymi płyty ani w żadnym z jego "
                              "podfolderów (obraz znalazłby się sam w sobie), wskaż inny folder !!!");
        break;
    case Kind::Unreadable:
        text = QStringLiteral("Nie można odczytać pliku ") + problem.subject + why + QStringLiteral(" !!!");
        break;
    case Kind::TooLarge:
        text = QStringLiteral("Plik ") + problem.subject
            + QStringLiteral(" jest za duży, aby umieścić go w obrazie płyty !!!");
        break;
    case Kind::CannotAdd:
        text = QStringLiteral("Nie można dodać do obrazu płyty pliku ") + problem.subject + why
            + QStringLiteral(" !!!");
        break;
    case Kind::CannotWrite:
        text = QStringLiteral("Nie można zapisać pliku ") + problem.subject + why
            + QStringLiteral(
                   ", sprawdź czy na dysku jest wystarczająco dużo miejsca i czy masz prawo zapisu w tym "
                   "folderze !!!");
        break;
    case Kind::CannotLayOut:
        text = QStringLiteral("Nie można ułożyć obrazu płyty") + why + QStringLiteral(" !!!");
        break;
    case Kind::UnreadableFolder:
        text = QStringLiteral("Nie można odczytać folderu ") + problem.subject + why + QStringLiteral(" !!!");
        break;
    case Kind::Changed:
        text = QStringLiteral("Plik ") + problem.subject
            + QStringLiteral(" zmienił się w trakcie tworzenia obrazu płyty, spróbuj ponownie, gdy nic go nie "
                             "zmienia !!!");
        break;
    case Kind::DiskFull:
        text = QStringLiteral("Na dysku zabrakło miejsca na obraz płyty w folderze ") + problem.subject
            + QStringLiteral(", zwolnij miejsce albo wskaż inny folder !!!");
        break;
    }
    return text + QStringLiteral("\r\rObraz płyty nie został utworzony.");
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
    return QStringLiteral("\r\rPominięto dowiązania prowadzące poza folder z danymi:\r")
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
            QStringLiteral("W tworzonym menu wprowadzono zmiany, które nie zostały zapisane "
                           "i nie znajdą się w obrazie płyty.\r\rCzy chcesz teraz zapisać ???")))
        return;

    const QString label = m_labelEdit->text();
    const QString proposed = QFileInfo(folder).dir().filePath(
        imageFileName(label.trimmed().isEmpty() ? QFileInfo(folder).fileName() : label));
    const QString image = m_services.dialogs.saveFileName(this, QStringLiteral("Zapisz obraz płyty"),
                                                          QStringLiteral("obrazy płyt (*.iso)"),
                                                          QStringLiteral("iso"), proposed);
    if (image.isEmpty())
        return;

    ImageProgressDialog progress(this);
    const DiscImageResult result = progress.run({folder, image, label});
    if (result.cancelled) {
        m_services.messages.show(
            this,
            QStringLiteral("Tworzenie obrazu płyty zostało przerwane, plik obrazu nie został "
                           "zapisany."),
            Texts::captionInformation(), Messages::Buttons::Ok, Messages::Icon::Information);
    } else if (!result.ok) {
        m_services.messages.show(this, problemText(result.problem), Texts::captionError(), Messages::Buttons::Ok,
                                 Messages::Icon::Error);
    } else if (m_services.messages.show(this,
                                        QStringLiteral("Obraz płyty został zapisany w pliku:\r") + image
                                            + QStringLiteral("\r\rRozmiar: ") + sizeText(result.bytes)
                                            + skippedText(result.skipped)
                                            + QStringLiteral("\r\rCzy chcesz zobaczyć go teraz w menedżerze "
                                                             "plików ???"),
                                        Texts::captionInformation(), Messages::Buttons::YesNo,
                                        Messages::Icon::Question)
               == Messages::Answer::Yes) {
        m_services.shell.showInFolder(this, image);
    }
    m_folderTree->setFocus();
}
