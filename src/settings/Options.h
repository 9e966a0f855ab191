#pragma once
// The option table: 19 texts with fixed meanings, persisted per user between runs.

#include <QString>
#include <array>
#include <optional>

class QSettings;

class Options
{
public:
    static constexpr int kCount = 19;

    // Indexes with a meaning of their own.
    enum Index {
        ShowNowPlaying = 0,
        PendingDeletion = 1,
        LastCommand = 3,
        Database = 4,
        PlaylistPosition = 5,
        PlayState = 6,
        PlayPosition = 7,
        RandomPlaylists = 8,
        ResetBeforeSearch = 9,
        Background = 10,
        TemporaryFiles = 11,
        PlayerInUse = 12,
        RandomDrawing = 13,
        LastBatchFile = 14,
        TextColour = 15,
        LogSize = 16,
        Version = 17,
        TextBackground = 18,
    };

    // opt(i); an index outside 0..18 raises "Subscript out of range (9)".
    QString &operator[](int index);
    const QString &operator[](int index) const;

    // The defaults of the options that have one; the others keep their values.
    void ResetOpts();
    // The program's version as "major.minor.revision".
    static QString CV();
    // A text colour that is not a number in 0..16777215 becomes white.
    void repairTextColour();

    // The text colour and the text background (none when empty) as colour values.
    qint32 textColour() const;
    bool hasTextBackground() const { return !m_values[TextBackground].isEmpty(); }
    qint32 textBackground() const;

    // The playlist players' volume, 0 (silent) to 100 (full): no option slot of its own, but
    // kept beside them, as the value Volume.
    static constexpr int kFullVolume = 100;
    int playerVolume() const { return m_playerVolume; }
    void setPlayerVolume(int volume);
    // A whole number 0..100 in the text, or none.
    static std::optional<int> volumeFromText(const QString &text);

    // Opt0..Opt18 and Volume of group "i2kCmd"; an absent option reads as the empty text, an
    // absent or unreadable volume as full.
    void load(QSettings &settings);
    void save(QSettings &settings) const;

private:
    std::array<QString, kCount> m_values;
    int m_playerVolume = kFullVolume;
    // Colours are read for every cell drawn: remember the last conversion.
    struct CachedColour
    {
        QString text;
        qint32 value = 0;
    };
    mutable CachedColour m_textColour;
    mutable CachedColour m_textBackground;
    static qint32 colourOf(const QString &text, CachedColour &cache);
};
