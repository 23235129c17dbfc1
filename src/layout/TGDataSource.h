// What data-bound layout objects read from the open address data set: its fields in order,
// with name, display label, type, tag, visibility and the current record's text. The window
// that owns a data surface adapts its open table to this and keeps it alive while the
// surface uses it.
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
};
