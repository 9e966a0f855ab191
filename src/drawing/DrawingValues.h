#pragma once
// The comma-separated values of the drawing commands, numbered from 1, and the rules for
// reading them as numbers, colours and line widths.

#include <QString>
#include <QStringList>

class DrawingValues
{
public:
    // Split at every comma; more than limit values raise "Subscript out of range (9)".
    static DrawingValues atEveryComma(const QString &allArgs, int limit);
    // Split into at most limit values; the last keeps any further commas.
    static DrawingValues upTo(const QString &allArgs, int limit);

    // Value n (from 1); empty when missing.
    QString operator[](int n) const { return n >= 1 && n <= m_values.size() ? m_values[n - 1] : QString(); }
    bool isEmpty(int n) const { return (*this)[n].isEmpty(); }
    // A number by the numeric-text rules: "Type mismatch (13)" otherwise, an empty value too.
    double number(int n) const;
    // A whole number rounded half to even, 32 bits.
    qint32 whole(int n) const;
    // A colour; empty or unknown is white.
    qint32 colour(int n) const;
    // A pen width: a 16-bit number of pixels, 1 or more ("Invalid property value (380)").
    int lineWidth(int n) const;

private:
    explicit DrawingValues(QStringList values) : m_values(std::move(values)) {}
    QStringList m_values;
};
