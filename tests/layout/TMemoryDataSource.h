// A small in-memory data set for the layout objects: the address fields with their display
// labels, MEMO a memo field, one current record set field by field or taken from the shared
// address fixture.
#pragma once

#include "TGDataSource.h"

#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

class TMemoryDataSource : public TGDataSource
{
public:
    TMemoryDataSource()
    {
        const char *const fields[][2] = {
            {"LNAME", "Last Name"},  {"FNAME", "First Name"},  {"MIDDLE", "Middle"},
            {"PREFIX", "Prefix"},    {"TITLE", "Title"},       {"ORG", "Organization"},
            {"STREET", "Address 1"}, {"STREET2", "Address 2"}, {"CITY", "City"},
            {"STATE", "State"},      {"ZIP", "Zip"},           {"COUNTRY", "Country"},
            {"PHONE", "Phone #1"},   {"MEMO", "MEMO"},         {"NOTES", "Notes"}};
        for (const auto &f : fields) {
            m_names << QLatin1String(f[0]);
            m_labels << QLatin1String(f[1]);
        }
    }
    // The record `recno` (from 1) of the shared address fixture.
    bool loadFixtureRecord(int recno)
    {
        QFile f(QStringLiteral(CORVANTIS_SHARED_DIR "/fixtures/xbase/ADD0001.records.jsonl"));
        if (!f.open(QIODevice::ReadOnly))
            return false;
        for (int i = 1; !f.atEnd(); ++i) {
            const QByteArray line = f.readLine();
            if (i != recno)
                continue;
            const QJsonObject record = QJsonDocument::fromJson(line).object();
            m_values.clear();
            for (const QString &name : m_names)
                m_values.insert(name, record.value(name).toString());
            return true;
        }
        return false;
    }
    void set(const QString &name, const QString &value) { m_values.insert(name, value); }
    // Takes the field out of the data set, as in a table that lacks it.
    void drop(const QString &name)
    {
        const int i = static_cast<int>(m_names.indexOf(name));
        if (i >= 0) {
            m_names.removeAt(i);
            m_labels.removeAt(i);
        }
    }

    bool isOpen() const override { return true; }
    int fieldCount() const override { return static_cast<int>(m_names.size()); }
    QString fieldName(int i) const override { return m_names[i]; }
    QString displayLabel(int i) const override { return m_labels[i]; }
    QString fieldText(int i) const override
    {
        return isMemoField(i) ? QString() : m_values.value(m_names[i]);
    }
    bool isTextField(int i) const override { return !isMemoField(i); }
    int fieldTag(int) const override { return 0; }
    bool isFieldVisible(int) const override { return true; }
    bool isMemoField(int i) const override
    {
        return m_names[i] == QLatin1String("MEMO") || m_names[i] == QLatin1String("NOTES");
    }
    QString memoText(int i) const override { return isMemoField(i) ? m_values.value(m_names[i]) : QString(); }

private:
    QStringList m_names;
    QStringList m_labels;
    QHash<QString, QString> m_values;
};
