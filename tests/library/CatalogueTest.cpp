// The loaded catalogue against the keyed store it must read exactly as: the same pairs, the
// same lookups (by Unicode case folding) and the same errors, whatever the pieces its bytes
// come in; a reload that checks the new text before it drops the old catalogue; and the
// walk over every track that the searches make.

#include "formats/Catalogue.h"
#include "formats/KeyValueStore.h"
#include "foundation/RuntimeError.h"
#include "foundation/TextFile.h"
#include "library/CatalogueReader.h"
#include "library/TrackDetails.h"

#include <QMap>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

Catalogue::ByteSource inPieces(const QByteArray &bytes, qsizetype pieceSize)
{
    return [bytes, pieceSize](const Catalogue::ByteSink &sink) {
        for (qsizetype at = 0; at < bytes.size(); at += pieceSize)
            sink(bytes.mid(at, pieceSize), bytes.size());
    };
}

} // namespace

// Cut anywhere (inside a character, between CR and LF, in the header), a text loads exactly
// as the settings store loads the whole text decoded at once, errors included; blocks of
// blank lines are dropped and the pairs among them still load; a text that fails leaves the
// catalogue as it was.
TEST(Catalogue, LoadsAsTheStoreLoadsTheWholeText)
{
    const QByteArray blanks(300000, '\n');
    const std::vector<QByteArray> texts = {
        "#i2kCmd-store 1\r\nArtist1=Caf\xC3\xA9 \xE2\x82\xAC\r\nk\\=ey=a\\nb\r\nlast=no end",
        "\xEF\xBB\xBF#i2kCmd-store 1\nA=1\n",
        "\xEF\xBB\xBF\xEF\xBB\xBF#i2kCmd-store 1\nA=1\n",
        // Not UTF-8 only far into the text: all of it is Windows-1252.
        "#i2kCmd-store 1\r\nA=\xC3\xA9\r\n" + blanks + "B=\xE9\r\n",
        "#i2kCmd-store 1\r\nArtist1=Caf\xE9\r\n\xAC"
        "F5=x\r\n", // Windows-1252
        "#i2kCmd-store 1\r\n" + blanks + "Artists=1\r\n" + blanks + "Artist1=x\r\n" + blanks,
        "#i2kCmd-store 1\r\n" + QByteArray(100000, 'n') + "=" + QByteArray(200000, 'v') + "\r\n",
        // Keys beyond ASCII fold as Unicode does (the Kelvin sign is a k, a long s an s); a
        // later line of a key, in any spelling, replaces the earlier; escapes decode.
        "#i2kCmd-store 1\r\n\xE2\x84\xAA"
        "ey=kelvin\r\nKEY=later\r\n\xC5\xBF"
        "ong=long s\r\nSTRA\xC3\x9F"
        "E=street\r\n"
        "a\\u00C4=escaped\r\n\xC3\xA4=plain\r\nlone=\\uD800!\r\nempty=\r\n  \t\r\n=no key\r\n",
        "",
        "a=b\r\n",
        "#i2kCmd-store 2\r\n",
        "#i2kCmd-store 1\r\na=1\r\n" + blanks + "no separator\r\n",
        "#i2kCmd-store 1\r\na=b\rc\r\n",
        "#i2kCmd-store 1\r\nok=1\r\nbad=\\q\r\n",
    };
    const QStringList lookups = {QStringLiteral("artist1"),
                                 QStringLiteral("K=EY"),
                                 QStringLiteral("key"),
                                 QStringLiteral("KEY"),
                                 QStringLiteral("song"),
                                 QStringLiteral("STRASSE"),
                                 QStringLiteral("straße"),
                                 QStringLiteral("aä"),
                                 QStringLiteral("AÄ"),
                                 QStringLiteral("Ä"),
                                 QStringLiteral("lone"),
                                 QStringLiteral("empty"),
                                 QString(),
                                 QStringLiteral("b"),
                                 QStringLiteral("ok"),
                                 QStringLiteral("none")};
    for (const QByteArray &bytes : texts) {
        KeyValueStore whole;
        QString wholeError;
        try {
            whole.LoadText(TextFile::decode(bytes));
        } catch (const RuntimeError &error) {
            wholeError = error.description();
        }
        for (const qsizetype pieceSize :
             {qsizetype(1), qsizetype(2), qsizetype(7), qsizetype(1 << 20)}) {
            if (pieceSize < 7 && bytes.size() > 1000)
                continue;
            Catalogue pieces;
            pieces.SetValue(QStringLiteral("before"), QStringLiteral("kept on failure"));
            const QString before = pieces.ListAll();
            QString error;
            try {
                pieces.LoadPieces(inPieces(bytes, pieceSize));
            } catch (const RuntimeError &e) {
                error = e.description();
            }
            const QByteArray what =
                bytes.left(40) + " in pieces of " + QByteArray::number(pieceSize);
            EXPECT_EQ(error, wholeError) << what.constData();
            if (!wholeError.isEmpty()) {
                EXPECT_EQ(pieces.ListAll(), before) << what.constData();
                continue;
            }
            EXPECT_EQ(pieces.ListAll(), whole.ListAll()) << what.constData();
            EXPECT_EQ(pieces.count(), whole.count()) << what.constData();
            QString decoded;
            for (const QString &key : lookups) {
                EXPECT_EQ(pieces.GetValue(key), whole.GetValue(key))
                    << what.constData() << " " << key.toStdString();
                const QAnyStringView view = pieces.valueView(key, decoded);
                EXPECT_EQ(view.isNull() ? KeyValueStore::kNotFound : view.toString(),
                          whole.GetValue(key));
            }
        }
    }
}

// The new text is read through once before anything is dropped; a good one is then read
// again with the old catalogue already gone, so that two are never held.
TEST(Catalogue, ReloadDropsTheOldOnlyAfterTheNewProvesSound)
{
    Catalogue catalogue;
    catalogue.LoadPieces(inPieces("#i2kCmd-store 1\r\nArtists=3\r\nold=1\r\n", 4));
    ASSERT_EQ(catalogue.count(), 2);

    std::vector<qsizetype> heldAtEachReading;
    const auto watched = [&](const QByteArray &bytes) {
        heldAtEachReading.clear();
        return [&, bytes](const Catalogue::ByteSink &sink) {
            heldAtEachReading.push_back(catalogue.count());
            inPieces(bytes, 5)(sink);
        };
    };
    EXPECT_THROW(catalogue.LoadPieces(watched("#i2kCmd-store 1\r\nArtists=1\r\nbroken\r\n")),
                 RuntimeError);
    EXPECT_EQ(heldAtEachReading, std::vector<qsizetype>{2});
    EXPECT_EQ(catalogue.GetValue(QStringLiteral("OLD")), QStringLiteral("1"));

    catalogue.LoadPieces(watched("#i2kCmd-store 1\r\nArtists=1\r\n"));
    EXPECT_EQ(heldAtEachReading, (std::vector<qsizetype>{2, 0}));
    EXPECT_EQ(catalogue.GetValue(QStringLiteral("artists")), QStringLiteral("1"));
    EXPECT_EQ(catalogue.GetValue(QStringLiteral("old")), KeyValueStore::kNotFound);
}

// A catalogue made in memory (as the tests make theirs) keeps what the store would keep.
TEST(Catalogue, SetValueKeepsWhatTheStoreKeeps)
{
    Catalogue catalogue;
    KeyValueStore store;
    const QList<std::pair<QString, QString>> pairs = {
        {QStringLiteral("Artist1"), QStringLiteral("Plain")},
        {QStringLiteral("ARTIST1"), QStringLiteral("replaced, spelling kept")},
        {QStringLiteral("k=y\\"), QStringLiteral("two\r\nlines \\ and = signs")},
        {QStringLiteral("Ärger"), QString(QChar(0xDC00)) + QStringLiteral("lone")},
        {QStringLiteral("empty"), QString()},
    };
    for (int round = 0; round < 300; ++round) { // enough keys to grow the index a few times
        for (const auto &[key, value] : pairs) {
            const QString suffix = round ? QString::number(round) : QString();
            catalogue.SetValue(key + suffix, value);
            store.SetValue(key + suffix, value);
        }
    }
    EXPECT_EQ(catalogue.ListAll(), store.ListAll());
    EXPECT_EQ(catalogue.count(), store.count());
    QString decoded;
    const QAnyStringView empty = catalogue.valueView(QStringLiteral("EMPTY"), decoded);
    EXPECT_FALSE(empty.isNull());
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(catalogue.valueView(QStringLiteral("ärger7"), decoded).toString(),
              store.GetValue(QStringLiteral("ärger7")));
    EXPECT_TRUE(catalogue.valueView(QStringLiteral("artist"), decoded).isNull());
}

// The matching tracks of each artist in order, whether they are read from the text in one
// pass or each title is looked up some keys after its slot was asked for (as in a catalogue
// with a line replaced, one written with escapes, or when a missing title matches): every
// value reaches the right track, with it, so that the line made of it reads as TDetails's;
// a missing title reads "[NOT FOUND]", tracks beyond the counts are left out, and a visit
// that answers false ends the walk there.
TEST(Catalogue, MatchingTracksComeInOrderHoweverTheyAreFound)
{
    QByteArray text = "#i2kCmd-store 1\r\nArtists=2\r\nTracks1=20\r\ntracks2=3\r\n"
                      "3Track1=beyond the artists 1\r\n2TRACK4=beyond the tracks 1\r\n";
    QMap<std::pair<int, int>, QString> titles;
    for (int t = 20; t >= 1; --t) { // in no numeric order, as a catalogue sorts its keys
        if (t != 13)
            titles[{1, t}] = QStringLiteral("Title %1").arg(t);
    }
    titles[{2, 1}] = QStringLiteral("Ä first");
    titles[{2, 3}] = QString();
    for (auto it = titles.cbegin(); it != titles.cend(); ++it)
        text += QStringLiteral("%1Track%2=%3\r\n")
                    .arg(it.key().first)
                    .arg(it.key().second)
                    .arg(it.value())
                    .toUtf8();
    const QList<std::pair<const char *, QByteArray>> catalogues = {
        {"plain", text},
        {"a line replaced", text + "1track5=Title 5\r\n"},
        {"a line with escapes", text + "2track2=back\\\\slash\r\n"},
    };
    const QList<std::pair<const char *, std::function<bool(QAnyStringView)>>> predicates = {
        {"with a 1", [](QAnyStringView v) { return v.toString().contains(u'1'); }},
        {"any", [](QAnyStringView) { return true; }},
    };
    for (const auto &[name, bytes] : catalogues) {
        Catalogue catalogue;
        catalogue.LoadPieces(inPieces(bytes, 1 << 20));
        for (const auto &[which, matches] : predicates) {
            QStringList expected;
            for (const auto &[a, tracks] : {std::pair(1, 20), std::pair(2, 3)}) {
                for (int t = 1; t <= tracks; ++t) {
                    const QString value =
                        catalogue.GetValue(QStringLiteral("%1Track%2").arg(a).arg(t));
                    if (matches(value))
                        expected << TDetails(catalogue, QString::number(a), QString::number(t));
                }
            }
            ASSERT_GT(expected.size(), 3);
            for (const qsizetype stopAfter : {qsizetype(100), qsizetype(3)}) {
                QStringList seen;
                forEachMatchingTrack(
                    catalogue, u"Track", matches,
                    [&](const QString &artist, QStringView track, QAnyStringView title) {
                        // No Artist keys: a null name reads as TDetails's.
                        seen << trackLine(artist, track, {}, title);
                        return seen.size() < stopAfter;
                    });
                EXPECT_EQ(seen, expected.mid(0, stopAfter)) << name << ", " << which;
            }
        }
    }
}
