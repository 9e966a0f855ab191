#include "system/GetArg.h"

#include "foundation/RuntimeError.h"
#include "interpreter/CommandArgs.h"

namespace {

constexpr int kLastSlot = 1000;

} // namespace

QString GetArg(const QString &text, int n)
{
    if (n < 0 || n > kLastSlot)
        throw RuntimeError::subscriptOutOfRange();
    int slot = 0;
    QString current;
    QString wanted;
    bool inQuotes = false;
    const auto nextSlot = [&] {
        if (trimBlanks(current).isEmpty())
            return;
        if (slot == n)
            wanted = current;
        ++slot;
        current.clear();
    };
    for (const QChar c : text) {
        if (c == u'"') {
            if (inQuotes)
                nextSlot();
            inQuotes = !inQuotes;
        } else if (c == u' ' && !inQuotes) {
            nextSlot();
        } else {
            if (slot > kLastSlot)
                throw RuntimeError::subscriptOutOfRange();
            current += c;
        }
    }
    return slot == n ? current : wanted;
}
