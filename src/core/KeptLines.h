#pragma once

#include "core/MenuDocument.h"

#include <QByteArray>
#include <QByteArrayView>

// The bytes of autorun.inf for doc, written over a file that holds existing. The comments
// before the first section head the file; Pelmora's own lines follow, then the key lines of
// [autorun] that the reader does not turn into the document, in their order, then every
// other section whole (a second [autorun] included). Other lines before the first section
// and the comments of [autorun] are dropped.
// Kept lines are the bytes they were, in the file's own encoding (the code page, or UTF-8 or
// UTF-16 after a byte-order mark), which Pelmora's lines take as well; every line ends with
// CR LF.
// A "shell=" default verb that named an entry names the entry's new number: the first item
// of doc with the caption and command the entry had; without one the line is dropped.
// With nothing to keep (an empty existing) the bytes are exactly autorunBytes(doc).
QByteArray autorunBytesKeeping(const MenuDocument &doc, QByteArrayView existing);
