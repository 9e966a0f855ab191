// The catalogue's text made in pieces is byte for byte the text of one store of all its pairs,
// whatever the number of threads, across the artist numbers whose texts sort out of numeric
// order ("10" before "2", "100" before "11").

#include "CatalogueText.h"

#include <gtest/gtest.h>

TEST(CatalogueText, PiecesMakeTheTextOfOneStore)
{
    const int artists = 130;
    const auto fillArtist = [](KeyValueStore &store, int a) {
        for (int t = 1; t <= a % 13 + 1; ++t) {
            const QString n = QString::number(a);
            const QString m = QString::number(t);
            store.SetValue(n + QStringLiteral("Track") + m,
                           QStringLiteral("Title %1/%2 \u00e4=\r\nnext").arg(a).arg(t));
            store.SetValue(n + QStringLiteral("Filename") + m,
                           QStringLiteral("L/music/%1/%2.mp3").arg(a).arg(t));
            store.SetValue(n + QStringLiteral("Lyrics") + m, QString());
            store.SetValue(n + QStringLiteral("Genre") + m, QString::number(t * a % 151));
        }
    };
    const auto fillRest = [](KeyValueStore &store) {
        for (int a = 1; a <= artists; ++a)
            store.SetValue(QStringLiteral("Artist%1").arg(a), QStringLiteral("Band \\ %1").arg(a));
        store.SetValue(QStringLiteral("Artists"), QString::number(artists));
        store.SetValue(QStringLiteral("BN1"), QStringLiteral("Mix"));
    };
    KeyValueStore whole;
    for (int a = 1; a <= artists; ++a)
        fillArtist(whole, a);
    fillRest(whole);
    const QByteArray expected = whole.utf8Text();
    for (int threads : {1, 3})
        EXPECT_EQ(CatalogueText::make(artists, fillArtist, fillRest, threads), expected) << threads;

    KeyValueStore rest;
    fillRest(rest);
    EXPECT_EQ(CatalogueText::make(0, fillArtist, fillRest, 2), rest.utf8Text());
}
