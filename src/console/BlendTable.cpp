#include "console/BlendTable.h"

namespace {

inline quint32 blendChannel(quint32 under, quint32 over, quint32 alpha)
{
    return (under * (255 - alpha) + over * alpha + 127) / 255;
}

} // namespace

QRgb BlendTable::blend(QRgb under, QRgb over, quint32 coverage)
{
    if (coverage == 0)
        return under;
    if (coverage == 255)
        return over;
    return qRgb(blendChannel(qRed(under), qRed(over), coverage),
                blendChannel(qGreen(under), qGreen(over), coverage),
                blendChannel(qBlue(under), qBlue(over), coverage));
}

const QRgb *BlendTable::from(QRgb under, QRgb over)
{
    if (!m_made || under != m_under || over != m_over) {
        for (quint32 coverage = 0; coverage < m_table.size(); ++coverage)
            m_table[coverage] = blend(under, over, coverage);
        m_under = under;
        m_over = over;
        m_made = true;
    }
    return m_table.data();
}
