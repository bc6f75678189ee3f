#pragma once

// Stand-ins for what a test cannot do for real: modal message boxes, the desktop's opening
// of files, and the file choosers.

#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "platform/Shell.h"

#include <QList>
#include <functional>
#include <QString>
#include <QStringList>

// Records every message and answers with the scripted answers in order; a question that has
// no scripted answer gets the most cautious one (Cancel, else No).
class FakeMessages : public Messages
{
public:
    struct Shown
    {
        QString text;
        QString caption;
        Buttons buttons;
        Icon icon;
    };

    QList<Shown> shown;
    QList<Answer> answers;
    // Runs while each message is "open", before it is answered.
    std::function<void(const Shown &)> whileShown;

    Answer show(QWidget *, const QString &text, const QString &caption, Buttons buttons,
                Icon icon) override
    {
        shown.append({text, caption, buttons, icon});
        if (whileShown)
            whileShown(shown.last());
        if (!answers.isEmpty())
            return answers.takeFirst();
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        return buttons == Buttons::YesNoCancel ? Answer::Cancel : Answer::No;
    }

    QStringList texts() const
    {
        QStringList list;
        for (const Shown &s : shown)
            list << s.text;
        return list;
    }
};

class RecordingShell : public Shell
{
public:
    struct Opened
    {
        QString target;
        QString verb;
        Show show;
    };

    QList<Opened> opened;

    void open(QWidget *, const QString &target, const QString &verb, Show show) override
    {
        opened.append({target, verb, show});
    }
    QStringList shownInFolder;
    void showInFolder(QWidget *, const QString &file) override { shownInFolder.append(file); }
};

// Answers the choosers with the scripted paths in order; none left means the user cancelled.
class ScriptedFileDialogs : public FileDialogs
{
public:
    QStringList files;
    QStringList folders;
    int asked = 0;
    // What each folder chooser was opened with.
    QStringList titles;
    QStringList starts;

    QString openFileName(QWidget *, const QString &, const QString &, const QString &,
                         const QString &) override
    {
        ++asked;
        return files.isEmpty() ? QString() : files.takeFirst();
    }
    QString existingDirectory(QWidget *, const QString &title, const QString &start) override
    {
        ++asked;
        titles.append(title);
        starts.append(start);
        return folders.isEmpty() ? QString() : folders.takeFirst();
    }
    // What each save chooser proposed; saves answers the next one.
    QStringList proposed;
    QStringList saves;
    QStringList saveTitles;
    QString saveFileName(QWidget *, const QString &title, const QString &, const QString &,
                         const QString &proposedPath) override
    {
        ++asked;
        saveTitles.append(title);
        proposed.append(proposedPath);
        return saves.isEmpty() ? QString() : saves.takeFirst();
    }
};
