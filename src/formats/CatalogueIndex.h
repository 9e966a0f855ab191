#pragma once
// The index of a loaded catalogue: one 32-bit slot per key, holding where the key's line
// starts in the catalogue's text. A catalogue of 600,000 keys needs 3.6 MB of it, where an
// index of views and hashes would need ten times that. The bits a place does not need (7 of
// them in a text of 20 MB) hold bits of the key's hash, so that a slot tried is checked
// against the key in the text (a cache miss) only when they agree; the table is kept at most
// two thirds full to keep the runs short. The hash is Qt's seeded one, so a crafted catalogue
// cannot pile its keys onto one slot.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

class CatalogueIndex
{
public:
    // What a free slot holds, and what find answers for a key that is absent.
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    std::size_t size() const { return m_count; }

    // Room for this many keys in a text of this many bytes without growing; hashOf(place)
    // is the hash of the key whose line starts at place.
    template <typename HashOf> void reserve(std::size_t keys, std::uint32_t bytes, HashOf hashOf)
    {
        const std::size_t wanted = std::max<std::size_t>(keys + keys / 2, 16);
        const int bits = std::max(m_placeBits, int(std::bit_width(bytes)));
        if (wanted > m_slots.size() || bits != m_placeBits)
            rebuild(std::max(wanted, m_slots.size()), bits, hashOf);
    }

    // The place of the key with this hash for which isKey(place) holds, or kNone.
    template <typename IsKey> std::uint32_t find(std::uint32_t hash, IsKey isKey) const
    {
        if (m_slots.empty())
            return kNone;
        const std::uint32_t slot = m_slots[slotOf(hash, isKey)];
        return slot == kNone ? kNone : slot & placeMask();
    }

    // The line at place becomes the key's: it replaces the key's earlier place (answered), or
    // adds the key (kNone is answered).
    template <typename IsKey, typename HashOf>
    std::uint32_t put(std::uint32_t hash, std::uint32_t place, IsKey isKey, HashOf hashOf)
    {
        // A place all ones in its bits could make a slot read as free.
        const int bits = place >= placeMask() ? int(std::bit_width(place + 1ull)) : m_placeBits;
        if ((m_count + 1) * 3 > m_slots.size() * 2 || bits != m_placeBits)
            rebuild(std::max<std::size_t>((m_count + 1) * 2, 16), bits, hashOf);
        std::uint32_t &slot = m_slots[slotOf(hash, isKey)];
        const std::uint32_t earlier = slot == kNone ? kNone : slot & placeMask();
        if (earlier == kNone)
            ++m_count;
        slot = place | tagOf(hash);
        return earlier;
    }

    // Every place in use, in no particular order.
    template <typename Visit> void forEach(Visit visit) const
    {
        for (const std::uint32_t place : m_slots) {
            if (place != kNone)
                visit(place & placeMask());
        }
    }

    // The slot a hash starts looking at, for fetching it ahead of the lookup.
    const std::uint32_t *homeOf(std::uint32_t hash) const
    {
        return m_slots.empty() ? nullptr : &m_slots[home(hash)];
    }

private:
    std::uint32_t placeMask() const
    {
        return m_placeBits >= 32 ? kNone : (std::uint32_t(1) << m_placeBits) - 1;
    }
    // The hash's bits a slot holds beside the place.
    std::uint32_t tagOf(std::uint32_t hash) const
    {
        return m_placeBits >= 32 ? 0 : hash << m_placeBits;
    }

    // Spreads the hash over a table of any size, not only a power of two.
    std::size_t home(std::uint32_t hash) const
    {
        return std::size_t((std::uint64_t(hash) * m_slots.size()) >> 32);
    }

    // The slot that holds the key, or the free slot where it belongs.
    template <typename IsKey> std::size_t slotOf(std::uint32_t hash, IsKey isKey) const
    {
        const std::size_t n = m_slots.size();
        for (std::size_t i = home(hash);; i = i + 1 == n ? 0 : i + 1) {
            const std::uint32_t slot = m_slots[i];
            if (slot == kNone ||
                ((slot & ~placeMask()) == tagOf(hash) && isKey(slot & placeMask())))
                return i;
        }
    }

    template <typename HashOf> void rebuild(std::size_t slotCount, int placeBits, HashOf hashOf)
    {
        std::vector<std::uint32_t> old(slotCount, kNone);
        old.swap(m_slots);
        const std::uint32_t oldMask = placeMask();
        m_placeBits = placeBits;
        const std::size_t n = m_slots.size();
        for (const std::uint32_t slot : old) {
            if (slot == kNone)
                continue;
            const std::uint32_t place = slot & oldMask;
            const std::uint32_t hash = hashOf(place);
            std::size_t i = home(hash);
            while (m_slots[i] != kNone)
                i = i + 1 == n ? 0 : i + 1;
            m_slots[i] = place | tagOf(hash);
        }
    }

    std::vector<std::uint32_t> m_slots;
    std::size_t m_count = 0;
    // How many low bits of a slot hold the place.
    int m_placeBits = 1;
};
