#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <utility>

// What to put on the disc image and where. Plain data and callbacks only, so the whole job can
// run on a worker thread (QThread, QtConcurrent::run) while the window shows progress.
struct DiscImageJob {
    QString dataFolder;
    QString imagePath;
    QString label; // empty: the folder's name
    // Called on the thread running writeDiscImage, whenever the percentage or the file changes.
    std::function<void(int percent, const QString &file)> progress = {};
    // Set from any thread to stop; the image is then not written at all.
    const std::atomic_bool *cancel = nullptr;
};

// Why an image was not made, for a message in the user's language.
struct DiscImageProblem {
    enum class Kind { None, MissingFolder, MissingTarget, InsideFolder, Unreadable, TooLarge, CannotAdd,
                      CannotWrite, CannotLayOut, Cancelled, UnreadableFolder, Changed, DiskFull };
    DiscImageProblem(Kind kind = Kind::None, QString subject = {}, QString reason = {})
        : kind(kind), subject(std::move(subject)), reason(std::move(reason)) {}

    Kind kind;
    // The file or folder concerned: a path in the data folder, the image's path, or for DiskFull
    // the folder the image was to be written in.
    QString subject;
    QString reason;  // the system's words, if any

    QString englishText() const; // one line
};

struct DiscImageResult {
    bool ok = false;
    bool cancelled = false;
    DiscImageProblem problem;
    QString error; // problem.englishText()
    qint64 bytes = 0;
    int files = 0;
    // Links left out because they lead out of the data folder, as paths in it.
    QStringList skipped;
    QString volumeId;
    QString jolietVolumeId;
};

// What the image of a folder will be, laid out as writeDiscImage lays it out, without writing it.
struct DiscImagePlan {
    DiscImageProblem problem; // why it could not be laid out; Kind::None when it was
    qint64 bytes = 0;         // the image's size
    struct LargeFile {
        QString path; // in the image, folders joined with "\"
        qint64 size = 0;
    };
    // Files of 4 GiB and more, which ISO 9660 stores in parts (extents).
    QList<LargeFile> largeFiles;
    struct HiddenNames {
        QString folder;    // in the image, folders joined with "\"; "" for the root
        QStringList names; // as the folder holds them
    };
    // Per folder, the names Windows will not open or tell apart (namesNotOnWindows).
    QList<HiddenNames> notOnWindows;
};

// job.imagePath is not used; job.cancel is heeded.
DiscImagePlan planDiscImage(const DiscImageJob &job);

// The ISO 9660 volume name for label: upper-case d-characters, Polish letters as their plain
// Latin letters, anything else "_", at most 32.
QString isoVolumeId(const QString &label);

// The Joliet volume name: the label as Windows shows it, at most 16 characters.
QString jolietVolumeId(const QString &label);

// Writes the whole of job.dataFolder as an ISO 9660 level 3 image with Joliet and Rock Ridge
// names. Its ISO 9660 names, and the volume set name, are made as the volume name is (ż as Z,
// other characters as "_"); names that come out alike in a folder are numbered (ZOLW0.ICO,
// ZOLW1.ICO). A name that is not UTF-8 is read in CodePage::system(). All or nothing: on failure or
// cancel no file is left at job.imagePath, and a file that changes while it is copied is a
// failure. job.imagePath is taken as the name itself: a link of that name is replaced, and what
// it leads to is left alone.
DiscImageResult writeDiscImage(const DiscImageJob &job);
