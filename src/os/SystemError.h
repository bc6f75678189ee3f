#pragma once

#include <QString>

// Why the system refused: the cause, where callers tell causes apart, and the system's own
// words for the message.
struct SystemError {
    enum class Cause {
        None,
        Missing,   // nothing at the path
        NotFolder, // a part of the path that should be a folder is none
        IsFolder,  // a folder where a file is wanted
        Link,      // a link where none may be followed
        Special,   // a socket, or a device with nothing behind it
        Exists,    // the name is taken
        NoRoom,    // the disk, or the user's share of it, is full
        Other,
    };

    Cause cause = Cause::None;
    QString text;

    explicit operator bool() const { return cause != Cause::None; }
};
