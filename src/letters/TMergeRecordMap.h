// An address record held in memory for the letter merge: field name to value text. Used by
// tests and by callers that already hold the values.
#pragma once

#include "TMergeRecord.h"

#include <QHash>

#include <initializer_list>
#include <utility>

class TMergeRecordMap : public TMergeRecord
{
public:
    TMergeRecordMap() = default;
    TMergeRecordMap(std::initializer_list<std::pair<QString, QString>> values)
    {
        for (const auto &v : values)
            m_values.insert(v.first, v.second);
    }

    void set(const QString &name, const QString &value) { m_values.insert(name, value); }
    QString fieldText(const QString &name) const override { return m_values.value(name); }

private:
    QHash<QString, QString> m_values;
};
