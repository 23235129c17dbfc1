// The filter criteria: one text per address field (18 in all) and the two flags Tagged and
// Reverse, and the engine expression built from them. The main window owns one value for the
// whole run (it survives opening another file); the filter window edits a copy.
#pragma once

#include <QString>
#include <QStringList>

#include <array>

class TFilterCriteria
{
public:
    // The criteria in their fixed order.
    enum Criterion {
        qLName,
        qFName,
        qTitle,
        qOrg,
        qStreet,
        qstreet2,
        qZip,
        qCity,
        qState,
        qCountry,
        qPhone,
        qphone2,
        qFax,
        qEmail,
        qDate,
        qCodes,
        quser1,
        quser2,
    };
    static constexpr int kCount = 18;

    // What criterion `index` (0-based) tests: a field name or, for City, "CITY+STATE".
    static QString fieldExpression(int index);
    // The object name of its box ("qLName" ...).
    static QString boxName(int index);
    // The label its box carries unless the record form says otherwise ("Last" ...).
    static QString defaultLabel(int index);

    // The text of criterion `index` exactly as typed. Requires: 0 <= index < kCount.
    const QString &text(int index) const { return m_texts[static_cast<size_t>(index)]; }
    void setText(int index, const QString &text) { m_texts[static_cast<size_t>(index)] = text; }

    bool isTagged() const { return m_tagged; }
    void setTagged(bool on) { m_tagged = on; }
    bool isReverse() const { return m_reverse; }
    void setReverse(bool on) { m_reverse = on; }

    // Empties every criterion and both flags.
    void ClearQueryVars();

    // True when the filter expression is not empty: a criterion holds more than blanks, or
    // Tagged is set. Reverse alone sets no filter.
    bool isSet() const;

    // The filter expression: the expression of each criterion that holds more than blanks,
    // in order, joined by " and "; then, with Tagged, the test of TAG against `globalTagId`;
    // with Reverse the whole is negated. Empty when no filter is set.
    QString BuildQueryString(const QString &globalTagId) const;

    // The expression of one criterion text `value` (used untrimmed) on `field`. A value
    // holding ";" is split there into parts joined by ".or."; else at "+" joined by ".and.";
    // else at "^" joined by ".and..not."; every part follows the same rules. A single value
    // may start with >= > <= < or $; at most 99 characters after such an operator count.
    // Values are compared in capitals; a value holding double quotes is quoted with another
    // delimiter so that it selects what it says.
    static QString criterionExpression(const QString &field, const QString &value);

    // `text` as a string constant of the expression dialect: in double quotes, or single
    // quotes or brackets when it holds double quotes, or several constants joined by "+"
    // (in parentheses) when it holds every delimiter.
    static QString quoted(const QString &text);

    // The 20 lines of a filter file: the 18 criteria, then "T"/"F" for Tagged and Reverse.
    QStringList toLines() const;
    // The reverse: missing lines count as empty; a flag is set only by a line that is
    // exactly "T".
    static TFilterCriteria fromLines(const QStringList &lines);

    bool operator==(const TFilterCriteria &other) const;
    bool operator!=(const TFilterCriteria &other) const { return !(*this == other); }

private:
    std::array<QString, kCount> m_texts;
    bool m_tagged = false;
    bool m_reverse = false;
};
