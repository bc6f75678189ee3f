#pragma once

#include "core/MenuDocument.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

// The bytes of autorun.inf for doc, written over a file that holds existing. The comments
// before the first section head the file; Pelmora's own lines follow, then the key lines of
// [autorun] that the reader does not turn into the document together with the comments of
// [autorun], in their order (a comment before a key the reader takes stays where it was
// among the kept lines), then every other section whole (a second [autorun] included).
// Other lines before the first section are dropped.
// Kept lines are the bytes they were, in the file's own encoding (the code page, or UTF-8 or
// UTF-16 after a byte-order mark), which Pelmora's lines take as well; every line ends with
// CR LF.
// The entries are numbered 00000, 00001, ... past every verb a kept key uses, so that the
// written file reads back as doc; verbs (when given) receives the name each item got.
// A "shell=" default verb that named an entry names the new verb of the first item of doc
// read under that verb (MenuItem::verb); without one the line is dropped. One that named no
// entry is kept as it is.
// With nothing to keep (an empty existing) the bytes are exactly autorunBytes(doc).
QByteArray autorunBytesKeeping(const MenuDocument &doc, QByteArrayView existing, QStringList *verbs = nullptr);
