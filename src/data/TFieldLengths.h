// The widths of the character fields of a new address file (section "NewFileFieldLengths").
// A value object held by the main window for the run and by the field-length window.
#pragma once

#include <QString>

#include <array>

class TIniFile;

class TFieldLengths
{
public:
    static constexpr int kCount = 18;
    static constexpr int kMinimum = 5;
    static constexpr int kMaximum = 80;

    // The settings-file defaults.
    TFieldLengths();

    // The field names, in the order of the settings keys ("LNAME", "FNAME", ...).
    static QString fieldName(int index);
    // The settings key of a field: "Field" + its name.
    static QString key(int index);
    // Index of a field name (any case), or -1.
    static int indexOf(const QString &fieldName);
    static int defaultLength(int index);

    // Requires: 0 <= index < kCount.
    int length(int index) const { return m_lengths[size_t(index)]; }
    void setLength(int index, int length) { m_lengths[size_t(index)] = length; }
    // By field name; 0 for a name that is not one of the 18.
    int length(const QString &fieldName) const;

    // Any value below kMinimum or above kMaximum is replaced by its default.
    void limit();

    // All 18 keys, limited; missing keys and numbers that do not parse give the defaults.
    static TFieldLengths load(const TIniFile &ini);
    // Writes all 18 values, limited first, in one write.
    bool save(TIniFile &ini) const;

    // The values the field-length window's "Defaults" button shows: the settings defaults
    // except FAX, which is 30 there.
    static TFieldLengths windowDefaults();

    friend bool operator==(const TFieldLengths &a, const TFieldLengths &b)
    {
        return a.m_lengths == b.m_lengths;
    }

private:
    std::array<int, kCount> m_lengths;
};
