#pragma once
// The index of the keyed store: case-folded keys to their pairs, in one flat table. A music
// catalogue holds over half a million keys; keeping each key's hash beside its slot, a lookup
// or an insert reads one small slot array and touches an entry only when the hashes agree.
// The hash is Qt's seeded one, so a crafted catalogue cannot pile its keys onto one slot.

#include <QStringView>

#include <cstdint>
#include <vector>

class StoreIndex
{
public:
    // Views into the store's pieces. An entry whose key is null has been erased.
    struct Entry
    {
        QStringView folded;
        QStringView key;
        QStringView value;
    };

    void reserve(qsizetype count);
    const Entry *find(QStringView folded) const;
    Entry *find(QStringView folded);
    // The entry of the folded key; a new one has a null key and value for the caller to set.
    // The reference is good until the index next changes.
    Entry &insert(QStringView folded);
    void erase(Entry &entry);
    qsizetype size() const { return m_count; }

    // Every entry, in the order the keys came.
    template <typename Visit> void forEach(Visit visit) const
    {
        for (const Entry &entry : m_entries) {
            if (!entry.key.isNull())
                visit(entry);
        }
    }

private:
    struct Slot
    {
        std::uint32_t hash;
        // 1 + the entry's place; 0 for a free slot.
        std::uint32_t place;
    };
    // The slot that holds the key, or the free slot where it belongs.
    std::size_t slotOf(QStringView folded, std::uint32_t hash) const;
    void rebuild(std::size_t slotCount);

    std::vector<Slot> m_slots;
    std::vector<Entry> m_entries;
    qsizetype m_count = 0;
};
