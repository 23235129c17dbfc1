#include "TContactColumns.h"

#include <QHash>

namespace {

struct Heading {
    const char *text;
    const char *field;
};

// Lower-case headings. Where several name the same field (home and work address), the first
// column of a file that carries one takes the field; later ones stay unmatched.
const Heading kHeadings[] = {
    // Names.
    {"first name", "FNAME"},
    {"given name", "FNAME"},
    {"last name", "LNAME"},
    {"family name", "LNAME"},
    {"surname", "LNAME"},
    {"middle name", "MIDDLE"},
    {"additional name", "MIDDLE"},
    {"name prefix", "PREFIX"},
    {"prefix", "PREFIX"},
    {"title", "PREFIX"}, // the courtesy title column of desktop mail programs
    {"job title", "TITLE"},
    {"organization 1 - title", "TITLE"},
    {"organization title", "TITLE"},
    {"company", "ORG"},
    {"organization", "ORG"},
    {"organization 1 - name", "ORG"},
    {"organization name", "ORG"},
    // Addresses.
    {"business street", "STREET"},
    {"home street", "STREET"},
    {"work address", "STREET"},
    {"home address", "STREET"},
    {"address 1 - street", "STREET"},
    {"street", "STREET"},
    {"business street 2", "STREET2"},
    {"home street 2", "STREET2"},
    {"work address 2", "STREET2"},
    {"home address 2", "STREET2"},
    {"address 1 - extended address", "STREET2"},
    {"business city", "CITY"},
    {"home city", "CITY"},
    {"work city", "CITY"},
    {"address 1 - city", "CITY"},
    {"city", "CITY"},
    {"business state", "STATE"},
    {"home state", "STATE"},
    {"work state", "STATE"},
    {"address 1 - region", "STATE"},
    {"state", "STATE"},
    {"business postal code", "ZIP"},
    {"home postal code", "ZIP"},
    {"work zipcode", "ZIP"},
    {"home zipcode", "ZIP"},
    {"address 1 - postal code", "ZIP"},
    {"zip", "ZIP"},
    {"postal code", "ZIP"},
    {"business country/region", "COUNTRY"},
    {"home country/region", "COUNTRY"},
    {"work country", "COUNTRY"},
    {"home country", "COUNTRY"},
    {"address 1 - country", "COUNTRY"},
    {"country", "COUNTRY"},
    // Telephones and mail.
    {"business phone", "PHONE"},
    {"work phone", "PHONE"},
    {"phone 1 - value", "PHONE"},
    {"home phone", "PHONE2"},
    {"mobile phone", "PHONE2"},
    {"mobile number", "PHONE2"},
    {"business phone 2", "PHONE2"},
    {"phone 2 - value", "PHONE2"},
    {"business fax", "FAX"},
    {"home fax", "FAX"},
    {"fax number", "FAX"},
    {"e-mail address", "EMAIL"},
    {"e-mail 1 - value", "EMAIL"},
    {"primary email", "EMAIL"},
    {"email address", "EMAIL"},
    {"email", "EMAIL"},
    // The rest.
    {"birthday", "DATE"},
    {"categories", "CODES"},
    {"group membership", "CODES"},
    {"custom 1", "USER1"},
    {"custom 2", "USER2"},
};

const QHash<QString, QString> &table()
{
    static const QHash<QString, QString> map = [] {
        QHash<QString, QString> m;
        for (const Heading &h : kHeadings)
            m.insert(QString::fromLatin1(h.text), QString::fromLatin1(h.field));
        return m;
    }();
    return map;
}

} // namespace

QString TContactColumns::fieldFor(const QString &heading)
{
    return table().value(heading.trimmed().toLower());
}

bool TContactColumns::isHeading(const QStringList &line)
{
    int known = 0;
    for (const QString &field : line)
        if (!fieldFor(field).isEmpty())
            ++known;
    return known >= 2;
}
