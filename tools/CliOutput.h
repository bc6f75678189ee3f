#pragma once

#include "core/RegularFile.h"

#include <QString>

class JsonText;
class QJsonObject;

// What pelmora-cli's commands share: the exit codes, JSON on stdout, one line of error on
// stderr, and the words for a file that could not be read.

enum Exit { Ok = 0, Failure = 1, Usage = 2 };

// Prints the message on stderr; Failure.
int fail(const QString &message);
// Prints the message on stderr; Usage: the input was not what the command takes.
int refuse(const QString &message);
// "no folder FOLDER" or "FOLDER is not a folder" when FOLDER names no folder; empty when it does.
QString whyNoFolder(const QString &folder);
// Prints the object as one line of compact JSON; Ok.
int print(const QJsonObject &object);
// The outputs that can hold hundreds of thousands of values are written as they are made.
void print(const JsonText &json);

// The folder as the program holds it: absolute, ending with the separator.
QString dataFolderOf(const QString &folder);
// Why a file was not read, as one line.
QString readErrorText(FileReadError error, const QString &file);
// Why FILE cannot be read, asked of the opened file itself (a FIFO is never waited on, a file
// swapped after a check is not the one judged); empty when it can.
QString whyUnreadable(const QString &file);
