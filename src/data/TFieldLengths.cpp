#include "TFieldLengths.h"

#include "TIniFile.h"

namespace {

const QString kSection = QStringLiteral("NewFileFieldLengths");

struct FieldDefault {
    const char *name;
    int length;
};

const FieldDefault kFields[TFieldLengths::kCount] = {
    {"LNAME", 30},   {"FNAME", 30}, {"PREFIX", 12}, {"TITLE", 30}, {"ORG", 30},     {"STREET", 40},
    {"STREET2", 40}, {"CITY", 30},  {"STATE", 20},  {"ZIP", 10},   {"COUNTRY", 30}, {"PHONE", 30},
    {"PHONE2", 30},  {"FAX", 40},   {"EMAIL", 40},  {"CODES", 30}, {"USER1", 40},   {"USER2", 40},
};

} // namespace

TFieldLengths::TFieldLengths()
{
    for (int i = 0; i < kCount; ++i)
        m_lengths[size_t(i)] = kFields[i].length;
}

QString TFieldLengths::fieldName(int index)
{
    return QLatin1String(kFields[index].name);
}

QString TFieldLengths::key(int index)
{
    return QStringLiteral("Field") + fieldName(index);
}

int TFieldLengths::indexOf(const QString &name)
{
    for (int i = 0; i < kCount; ++i) {
        if (name.compare(QLatin1String(kFields[i].name), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int TFieldLengths::defaultLength(int index)
{
    return kFields[index].length;
}

int TFieldLengths::length(const QString &name) const
{
    const int index = indexOf(name);
    return index < 0 ? 0 : length(index);
}

void TFieldLengths::limit()
{
    for (int i = 0; i < kCount; ++i) {
        int &value = m_lengths[size_t(i)];
        if (value < kMinimum || value > kMaximum)
            value = kFields[i].length;
    }
}

TFieldLengths TFieldLengths::load(const TIniFile &ini)
{
    const TIniDocument settings = ini.document();
    TFieldLengths lengths;
    for (int i = 0; i < kCount; ++i)
        lengths.setLength(i, settings.integer(kSection, key(i), kFields[i].length));
    lengths.limit();
    return lengths;
}

bool TFieldLengths::save(TIniFile &ini) const
{
    TFieldLengths limited = *this;
    limited.limit();
    QList<std::pair<QString, QString>> values;
    for (int i = 0; i < kCount; ++i)
        values.append({key(i), QString::number(limited.length(i))});
    return ini.writeStrings(kSection, values);
}

TFieldLengths TFieldLengths::windowDefaults()
{
    TFieldLengths lengths;
    lengths.setLength(indexOf(QStringLiteral("FAX")), 30);
    return lengths;
}
