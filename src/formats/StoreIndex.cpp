#include "formats/StoreIndex.h"

#include <QHash>

#include <bit>

namespace {

std::uint32_t hashOf(QStringView folded)
{
    return static_cast<std::uint32_t>(qHash(folded, QHashSeed::globalSeed()));
}

} // namespace

void StoreIndex::reserve(qsizetype count)
{
    // At most half the slots in use keeps the runs of taken slots short.
    const std::size_t wanted = std::bit_ceil(std::size_t(qMax<qsizetype>(count, 8)) * 2);
    if (wanted > m_slots.size())
        rebuild(wanted);
    m_entries.reserve(std::size_t(count));
}

std::size_t StoreIndex::slotOf(QStringView folded, std::uint32_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot &slot = m_slots[i];
        if (slot.place == 0)
            return i;
        if (slot.hash == hash) {
            const Entry &entry = m_entries[slot.place - 1];
            if (!entry.key.isNull() && entry.folded == folded)
                return i;
        }
    }
}

const StoreIndex::Entry *StoreIndex::find(QStringView folded) const
{
    if (m_slots.empty())
        return nullptr;
    const Slot &slot = m_slots[slotOf(folded, hashOf(folded))];
    return slot.place == 0 ? nullptr : &m_entries[slot.place - 1];
}

StoreIndex::Entry *StoreIndex::find(QStringView folded)
{
    return const_cast<Entry *>(std::as_const(*this).find(folded));
}

StoreIndex::Entry &StoreIndex::insert(QStringView folded)
{
    // Erased entries still hold their slots: they count until the next rebuild drops them.
    if ((m_entries.size() + 1) * 2 > m_slots.size())
        rebuild(std::bit_ceil(std::max<std::size_t>(std::size_t(m_count + 1) * 4, 16)));
    const std::uint32_t hash = hashOf(folded);
    Slot &slot = m_slots[slotOf(folded, hash)];
    if (slot.place != 0)
        return m_entries[slot.place - 1];
    m_entries.push_back({folded, {}, {}});
    slot = {hash, std::uint32_t(m_entries.size())};
    ++m_count;
    return m_entries.back();
}

void StoreIndex::erase(Entry &entry)
{
    entry.key = QStringView();
    entry.value = QStringView();
    --m_count;
}

void StoreIndex::rebuild(std::size_t slotCount)
{
    std::vector<Entry> live;
    live.reserve(std::max(std::size_t(m_count), m_entries.capacity()));
    forEach([&](const Entry &entry) { live.push_back(entry); });
    m_entries = std::move(live);
    m_slots.assign(slotCount, Slot{0, 0});
    const std::size_t mask = slotCount - 1;
    for (std::size_t place = 0; place < m_entries.size(); ++place) {
        const std::uint32_t hash = hashOf(m_entries[place].folded);
        std::size_t i = hash & mask;
        while (m_slots[i].place != 0)
            i = (i + 1) & mask;
        m_slots[i] = {hash, std::uint32_t(place + 1)};
    }
}
