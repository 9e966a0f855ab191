#include "settings/Options.h"

#include "foundation/Colours.h"
#include "foundation/NumericText.h"
#include "foundation/RuntimeError.h"

#include "Version.h"

#include <QSettings>
#include <algorithm>

namespace {
const QString kGroup = QStringLiteral("i2kCmd");
const QString kVolumeKey = QStringLiteral("Volume");
} // namespace

QString &Options::operator[](int index)
{
    if (index < 0 || index >= kCount)
        throw RuntimeError::subscriptOutOfRange();
    return m_values[index];
}

const QString &Options::operator[](int index) const
{
    if (index < 0 || index >= kCount)
        throw RuntimeError::subscriptOutOfRange();
    return m_values[index];
}

void Options::ResetOpts()
{
    m_values[ShowNowPlaying] = QStringLiteral("0");
    m_values[PlayState] = QStringLiteral("6");
    m_values[PlayPosition] = QStringLiteral("-1");
    m_values[RandomPlaylists] = QStringLiteral("0");
    m_values[ResetBeforeSearch] = QStringLiteral("1");
    m_values[PlayerInUse] = QStringLiteral("0");
    m_values[RandomDrawing] = QStringLiteral("0");
    m_values[TextColour] = QString::number(Colours::kWhite);
    m_values[LogSize] = QStringLiteral("1048576");
    m_values[Version] = CV();
}

QString Options::CV()
{
    return QStringLiteral("%1.%2.%3")
        .arg(I2KCMD_VERSION_MAJOR)
        .arg(I2KCMD_VERSION_MINOR)
        .arg(I2KCMD_VERSION_PATCH);
}

void Options::repairTextColour()
{
    QString &colour = m_values[TextColour];
    const QString white = QString::number(Colours::kWhite);
    if (!Numeric::isNumeric(colour))
        colour = white;
    if (Numeric::toDouble(colour) < 0)
        colour = white;
    if (Numeric::toDouble(colour) > Colours::kWhite)
        colour = white;
}

qint32 Options::colourOf(const QString &text, CachedColour &cache)
{
    if (text != cache.text) {
        cache.value = Numeric::toLong(text);
        cache.text = text;
    }
    return cache.value;
}

qint32 Options::textColour() const
{
    return colourOf(m_values[TextColour], m_textColour);
}

qint32 Options::textBackground() const
{
    return colourOf(m_values[TextBackground], m_textBackground);
}

void Options::load(QSettings &settings)
{
    settings.beginGroup(kGroup);
    for (int i = 0; i < kCount; ++i)
        m_values[i] = settings.value(QStringLiteral("Opt%1").arg(i), QString()).toString();
    m_playerVolume =
        volumeFromText(settings.value(kVolumeKey, QString()).toString()).value_or(kFullVolume);
    settings.endGroup();
}

void Options::save(QSettings &settings) const
{
    settings.beginGroup(kGroup);
    for (int i = 0; i < kCount; ++i)
        settings.setValue(QStringLiteral("Opt%1").arg(i), m_values[i]);
    settings.setValue(kVolumeKey, QString::number(m_playerVolume));
    settings.endGroup();
    settings.sync();
}

void Options::setPlayerVolume(int volume)
{
    m_playerVolume = std::clamp(volume, 0, kFullVolume);
}

std::optional<int> Options::volumeFromText(const QString &text)
{
    bool whole = false;
    const int volume = text.trimmed().toInt(&whole);
    if (!whole || volume < 0 || volume > kFullVolume)
        return std::nullopt;
    return volume;
}
