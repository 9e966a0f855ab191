#pragma once
// The bytes a catalogue entry points at in the loaded database (opt(4)): a track's file
// and the lyrics and notes texts. The catalogue keys are described in docs/formats.md.

#include <QString>

class Archive;
class Catalogue;
class PrivateTempFolder;

// What the loaded database's files are read with: its catalogue, its file (opt(4)) and the
// archive reader, and the private folder embedded tracks are copied to, with the list of the
// copies the shut-down deletes (opt(11)).
struct LoadedDatabase
{
    const Catalogue &catalogue;
    const QString &file;
    Archive &archive;
    PrivateTempFolder &temp;
    QString &copies;
};

// The file to play for artist a, track t. A linked track ("L" + path) answers its path and
// makes nothing. An embedded track (any other flag, then offset|length|extension) is copied
// to a new file tmpN.extension (N = 1, 2, ... the first name free) in the program's private
// temporary folder, listed in opt(11) so that the shut-down deletes it; each call makes a new
// copy. Fields that are missing ("Subscript out of range (9)") or not numbers ("Type mismatch
// (13)"), a range outside the database ("Input past end of file (62)"), an extension that is
// no file name ("Bad file name or number (52)") or a failed write raise a run-time error, and
// then nothing is left in the folder or added to opt(11).
QString vldFN(const LoadedDatabase &db, qint16 a, qint16 t);

// The byte range of a reference: one flag character, which is not looked at, then
// offset|length (more fields may follow). Raises as vldFN does.
struct ByteRange
{
    qint32 offset = 0;
    qint32 length = 0;
};
ByteRange rangeOf(const QString &reference);

// The text a range reference (a lyrics or notes value) points at in the loaded database; one
// longer than TextFile::kMaxReadSize raises "File too large (7)".
QString rangeText(const LoadedDatabase &db, const QString &reference);
