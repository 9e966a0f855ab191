// vldtones OUT.wav NOTES: writes a short tune as a WAV file, for the sample database that
// the build makes (NOTES as ToneFile::parseNotes reads them).

#include "ToneFile.h"

#include <QString>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fputs("usage: vldtones OUT.wav HERTZ:MS[,HERTZ:MS]...\n", stderr);
        return 2;
    }
    const QList<ToneFile::Note> notes = ToneFile::parseNotes(QString::fromLocal8Bit(argv[2]));
    if (notes.isEmpty()) {
        std::fprintf(stderr, "vldtones: cannot read the notes \"%s\"\n", argv[2]);
        return 2;
    }
    if (!ToneFile::writeWav(QString::fromLocal8Bit(argv[1]), notes)) {
        std::fprintf(stderr, "vldtones: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
