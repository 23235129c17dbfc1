// What data-bound layout objects read from the open address data set: its fields in order,
// with name, display label, type, tag, visibility and the current record's text, and the
// memo fields' texts. The window that owns a data surface adapts its open table to this and
// keeps it alive while the surface uses it.
#pragma once

#include <QString>

class TGDataSource
{
public:
    virtual ~TGDataSource() = default;
    virtual bool isOpen() const = 0;
    virtual int fieldCount() const = 0;
    virtual QString fieldName(int index) const = 0;
    virtual QString displayLabel(int index) const = 0;
    // The current record's value as text.
    virtual QString fieldText(int index) const = 0;
    virtual bool isTextField(int index) const = 0;
    virtual int fieldTag(int index) const = 0;
    virtual bool isFieldVisible(int index) const = 0;

    // --- Memo fields. A source without memo fields keeps these defaults.
    virtual bool isMemoField(int /*index*/) const { return false; }
    // True when the current record's memo holds no text (also for a field that is no memo).
    virtual bool isMemoEmpty(int index) const { return memoText(index).isEmpty(); }
    // The current record's memo text, lines separated by "\r\n" or "\n"; empty when none.
    virtual QString memoText(int /*index*/) const { return QString(); }

    // The field named `name` (letter case ignored), or -1.
    int indexOfName(const QString &name) const
    {
        for (int i = 0; i < fieldCount(); ++i)
            if (fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
    // The field whose display label is `label`; the last one when several have it; -1.
    int indexOfDisplayLabel(const QString &label) const
    {
        int found = -1;
        for (int i = 0; i < fieldCount(); ++i)
            if (displayLabel(i) == label)
                found = i;
        return found;
    }
};
