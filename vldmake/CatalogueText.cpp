#include "CatalogueText.h"

#include <QString>

#include <algorithm>
#include <atomic>
#include <numeric>
#include <thread>
#include <vector>

namespace CatalogueText {

namespace {

// Artists to a piece: small stores, and pieces enough to share among the threads.
constexpr int kArtistsPerPiece = 16;

// The text without the store's first line, its header: only the first piece keeps it.
QByteArray withoutHeader(const QByteArray &text)
{
    const qsizetype end = text.indexOf("\r\n");
    return end < 0 ? QByteArray() : text.sliced(end + 2);
}

} // namespace

QByteArray make(int artists, const FillArtist &fillArtist, const FillRest &fillRest, int threads)
{
    // A track key is the artist's number, a word and the track's number. Case-folded, the
    // word's letters sort after every digit, so each artist's keys are one run of the store's
    // order, and the runs follow the order of the numbers as texts with a letter after them
    // ("10a" before "1a"). The other keys start with a letter: they come after all of them.
    std::vector<int> order(size_t(std::max(artists, 0)));
    std::iota(order.begin(), order.end(), 1);
    std::vector<QString> sortKeys(order.size() + 1);
    for (int a : order)
        sortKeys[size_t(a)] = QString::number(a) + u'a';
    std::sort(order.begin(), order.end(),
              [&](int a, int b) { return sortKeys[size_t(a)] < sortKeys[size_t(b)]; });

    const int artistPieces = (artists + kArtistsPerPiece - 1) / kArtistsPerPiece;
    std::vector<QByteArray> pieces(size_t(artistPieces) + 1);
    std::atomic<int> next{0};
    const auto work = [&] {
        for (int p = next++; p <= artistPieces; p = next++) {
            KeyValueStore store;
            if (p == artistPieces) {
                fillRest(store);
            } else {
                const int end = std::min(artists, (p + 1) * kArtistsPerPiece);
                for (int i = p * kArtistsPerPiece; i < end; ++i)
                    fillArtist(store, order[size_t(i)]);
            }
            pieces[size_t(p)] = p == 0 ? store.utf8Text() : withoutHeader(store.utf8Text());
        }
    };
    {
        std::vector<std::jthread> helpers;
        for (int n = 1; n < threads && n <= artistPieces; ++n)
            helpers.emplace_back(work);
        work();
    }
    qsizetype size = 0;
    for (const QByteArray &piece : pieces)
        size += piece.size();
    QByteArray text;
    text.reserve(size);
    for (QByteArray &piece : pieces)
        text += std::exchange(piece, QByteArray());
    return text;
}

} // namespace CatalogueText
