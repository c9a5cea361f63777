#pragma once
// A check that a file is a whole Word 97-2003 document: a compound file whose
// header, sector tables, directory and every stream lie inside the file, with
// a WordDocument stream that starts with a Word 97 information block and the
// table stream that block names. The bytes come from outside: every read is
// bounds-checked and every chain bounded.
#include <QByteArray>
#include <QString>

// Empty when the bytes are such a document, else what is wrong with them.
QString CheckWord97Document(const QByteArray& bytes);
