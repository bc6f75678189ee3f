#include "core/DiscImage.h"

#include "core/DiscImageLayout.h"
#include "core/DiscImageNames.h"
#include "core/DiscImageTree.h"

#include "os/LinkTarget.h"
#include "os/NativePath.h"
#include "os/ReplacementFile.h"

#include <QFileInfo>
#include <QRandomGenerator>

namespace {

// The data folder as the image takes it: its real path, and its status when it is a folder.
std::optional<FileStatus> dataRoot(const DiscImageJob &job, QByteArray *root)
{
    *root = realPath(nativePath(job.dataFolder));
    const std::optional<FileStatus> status = root->isEmpty() ? std::nullopt : fileStatus(*root, Links::Follow);
    return status && status->kind == FileKind::Folder ? status : std::nullopt;
}

// Names the image after job's label (else the folder's name), reads the folder's tree into it
// and lays it out: what writing the image and planning it share.
DiscImageProblem layOutFolder(const DiscImageJob &job, const QByteArray &root, const FileStatus &rootStatus,
                              DiscImageLayout &image, DiscImageResult &result)
{
    const QString label = job.label.isEmpty() ? discNameOf(root.mid(root.lastIndexOf('/') + 1)).text : job.label;
    result.volumeId = isoVolumeId(label);
    result.jolietVolumeId = jolietVolumeId(label);
    if (const DiscImageProblem problem = image.readTree(job, root, rootStatus, result);
        problem.kind != DiscImageProblem::Kind::None)
        return problem;
    return image.layOut(job.imagePath, result.volumeId);
}

// Fills result and says why it failed; Kind::None when the image was written.
DiscImageProblem makeImage(const DiscImageJob &job, DiscImageResult &result)
{
    using Kind = DiscImageProblem::Kind;
    QByteArray root;
    const std::optional<FileStatus> rootStatus = dataRoot(job, &root);
    if (!rootStatus) {
        return {Kind::MissingFolder, job.dataFolder};
    }
    const QFileInfo target(job.imagePath);
    const QByteArray targetName = nativePath(target.fileName());
    const auto writeProblem = [&](const SystemError &error) {
        if (error.cause == SystemError::Cause::NoRoom)
            return DiscImageProblem{Kind::DiskFull, target.absolutePath()};
        return DiscImageProblem{Kind::CannotWrite, job.imagePath, error.text};
    };
    // The image is written to a file of its own beside the target and put in its place at the
    // end: the target is whole or untouched. The target is the name itself; a link there is
    // replaced, never followed. The file is unnamed until it is whole where the file system
    // allows (a kill then leaves nothing); a name it has is this program's.
    ReplacementFile out;
    // The folder is taken as named, links and all; the name in it is not.
    if (const SystemError error = out.openFolder(nativePath(target.absolutePath()))) {
        const bool missing =
            error.cause == SystemError::Cause::Missing || error.cause == SystemError::Cause::NotFolder;
        return missing ? DiscImageProblem{Kind::MissingTarget, job.imagePath} : writeProblem(error);
    }
    if (out.folderWithin(rootStatus->id)) {
        return {Kind::InsideFolder, job.imagePath};
    }
    std::optional<FileStatus> existing;
    if (const SystemError error = out.mayReplace(targetName, &existing)) {
        return writeProblem(error);
    }
    DiscImageContext context;
    context.cancel = job.cancel;
    DiscImageLayout image(&context);
    if (const DiscImageProblem problem = layOutFolder(job, root, *rootStatus, image, result);
        problem.kind != Kind::None)
        return problem;

    const auto partName = [] {
        return ".pelmora-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".iso.part";
    };
    if (const SystemError error = out.create(0666, ReplacementFile::Naming::UnnamedWherePossible, partName)) {
        image.cancel();
        return writeProblem(error);
    }
    // A file replaced keeps its permissions.
    if (existing && existing->kind == FileKind::File)
        out.setPermissions(existing->permissions & 0777);
    const qint64 total = image.size();
    qint64 done = 0;
    int lastPercent = -1;
    QString lastFile;
    // Writes bytes; false when the disk will not take them.
    const auto writeOut = [&](const QByteArray &bytes, qsizetype size) {
        if (const SystemError error = out.write(bytes.constData(), size)) {
            const DiscImageProblem problem = writeProblem(error);
            context.fail(problem.kind, problem.subject, problem.reason);
            return false;
        }
        done += size;
        if (job.progress) {
            QString file;
            {
                std::lock_guard<std::mutex> lock(context.mutex);
                file = context.currentFile;
            }
            const int percent = total > 0 ? int(done * 100 / total) : 100;
            if (percent != lastPercent || file != lastFile)
                job.progress(percent, file);
            lastPercent = percent;
            lastFile = file;
        }
        return true;
    };
    QByteArray buffer(256 * 2048, Qt::Uninitialized); // 256 blocks
    bool written = writeOut(image.head(), image.head().size());
    image.head() = QByteArray();
    while (written && done < total) {
        // A read asking past the end returns nothing at all, so the last one asks for the rest.
        const int wanted = int(qMin<qint64>(buffer.size(), total - done));
        const int n = image.read(buffer.data(), wanted);
        if (n <= 0 || context.cancelled() || context.failed().kind != Kind::None)
            break;
        written = writeOut(buffer, n);
    }
    if (done < total || context.failed().kind != Kind::None)
        return image.stop(job.imagePath);
    if (const SystemError error = out.commit(targetName))
        return writeProblem(error);
    result.bytes = done;
    return {};
}

} // namespace

QString DiscImageProblem::englishText() const
{
    const QString why = reason.isEmpty() ? QString() : QStringLiteral(": ") + reason;
    switch (kind) {
    case Kind::None:
        return {};
    case Kind::MissingFolder:
        return QStringLiteral("the data folder %1 does not exist").arg(subject);
    case Kind::MissingTarget:
        return QStringLiteral("the folder for %1 does not exist").arg(subject);
    case Kind::InsideFolder:
        return QStringLiteral("the image cannot be written inside the data folder");
    case Kind::Unreadable:
        return QStringLiteral("cannot read %1").arg(subject) + why;
    case Kind::TooLarge:
        return QStringLiteral("%1 is too large for the image").arg(subject);
    case Kind::CannotAdd:
        return QStringLiteral("cannot add %1 to the image").arg(subject) + why;
    case Kind::CannotWrite:
        return QStringLiteral("cannot write %1").arg(subject) + why;
    case Kind::CannotLayOut:
        return QStringLiteral("cannot lay out the image") + why;
    case Kind::Cancelled:
        return QStringLiteral("cancelled");
    case Kind::UnreadableFolder:
        return QStringLiteral("cannot read the folder %1").arg(subject) + why;
    case Kind::Changed:
        return QStringLiteral("%1 changed while the image was written; try again when nothing changes it")
            .arg(subject);
    case Kind::DiskFull:
        return QStringLiteral("the disk is full: no room for the image in %1").arg(subject);
    }
    return {};
}

DiscImagePlan planDiscImage(const DiscImageJob &job)
{
    using Kind = DiscImageProblem::Kind;
    DiscImagePlan plan;
    QByteArray root;
    const std::optional<FileStatus> rootStatus = dataRoot(job, &root);
    if (!rootStatus) {
        plan.problem = {Kind::MissingFolder, job.dataFolder};
        return plan;
    }
    DiscImageResult result;
    DiscImageContext context;
    context.cancel = job.cancel;
    DiscImageLayout image(&context);
    plan.problem = layOutFolder(job, root, *rootStatus, image, result);
    if (plan.problem.kind != Kind::None)
        return plan;
    image.cancel();
    plan.bytes = image.size();
    constexpr qint64 extentLimit = qint64(4) * 1024 * 1024 * 1024;
    image.forEachFolder([&](const QString &folder, const QList<DiscImageLayout::TreeEntry> &entries) {
        QString shownFolder = folder;
        shownFolder.replace(QLatin1Char('/'), QLatin1Char('\\'));
        QList<std::pair<QString, bool>> names;
        names.reserve(entries.size());
        for (const DiscImageLayout::TreeEntry &entry : entries) {
            names.append({entry.name, entry.folder});
            if (entry.size >= extentLimit)
                plan.largeFiles.append(
                    {shownFolder.isEmpty() ? entry.name : shownFolder + QLatin1Char('\\') + entry.name, entry.size});
        }
        if (const QStringList hidden = namesNotOnWindows(names); !hidden.isEmpty())
            plan.notOnWindows.append({shownFolder, hidden});
    });
    return plan;
}

DiscImageResult writeDiscImage(const DiscImageJob &job)
{
    DiscImageResult result;
    result.problem = makeImage(job, result);
    result.ok = result.problem.kind == DiscImageProblem::Kind::None;
    result.cancelled = result.problem.kind == DiscImageProblem::Kind::Cancelled;
    result.error = result.problem.englishText();
    if (!result.ok) {
        result.files = 0;
        result.bytes = 0;
        result.skipped.clear();
    }
    return result;
}
