#include "TAddressSchema.h"

#include "TFieldLengths.h"

namespace {

TAddressField stored(const char *name, char type, int width, bool sized, const char *label, int browseWidth,
                     bool visible = true)
{
    TAddressField f;
    f.name = QLatin1String(name);
    f.type = type;
    f.width = width;
    f.sized = sized;
    f.label = QString::fromUtf8(label);
    f.browseWidth = browseWidth == 0 ? width : browseWidth;
    f.browseVisible = visible;
    return f;
}

} // namespace

const std::vector<TAddressField> &TAddressSchema::storedFields()
{
    static const std::vector<TAddressField> fields = {
        stored("LNAME", 'C', 30, true, "Last Name", 20),
        stored("FNAME", 'C', 30, true, "First Name", 15),
        stored("MIDDLE", 'C', 1, false, "Middle", 0),
        stored("PREFIX", 'C', 12, true, "Prefix", 4),
        stored("TITLE", 'C', 30, true, "Title", 20),
        stored("ORG", 'C', 30, true, "Organization", 20),
        stored("STREET", 'C', 40, true, "Address 1", 0),
        stored("STREET2", 'C', 40, true, "Address 2", 20),
        stored("CITY", 'C', 30, true, "City", 15),
        stored("STATE", 'C', 20, true, "State", 5),
        stored("ZIP", 'C', 10, true, "Zip/Postal Code", 10),
        stored("COUNTRY", 'C', 30, true, "Country", 15),
        stored("DATE", 'C', 15, false, "Actual Date", 0, false),
        stored("PHONE", 'C', 30, true, "Phone 1", 15),
        stored("PHONE2", 'C', 30, true, "Phone 2", 15),
        stored("FAX", 'C', 40, true, "Fax", 0),
        stored("EMAIL", 'C', 40, true, "Email", 0),
        stored("CODES", 'C', 30, true, "Codes", 0),
        stored("USER1", 'C', 40, true, "Comment 1", 15),
        stored("USER2", 'C', 40, true, "Comment 2", 15),
        stored("ISDEL", 'L', 1, false, "Deleted", 0, false),
        stored("TAG", 'C', 8, false, "", 0, false),
        stored("MEMO", 'M', 10, false, "", 0, false),
    };
    return fields;
}

const std::vector<TAddressField> &TAddressSchema::calculatedFields()
{
    static const std::vector<TAddressField> fields = {
        stored("Tagged", 'L', 1, false, "Tagged", 0),
        stored("DisplayDate", 'C', 12, false, "Date", 0),
        stored("FullName", 'C', 35, false, "Full Name", 0, false),
        stored("FullNameWithPrefix", 'C', 35, false, "Full Name & Prefix", 0, false),
        stored("CityStateZip", 'C', 35, false, "City, State & Zip", 0, false),
    };
    return fields;
}

const TAddressField *TAddressSchema::field(const QString &name)
{
    for (const auto *list : {&storedFields(), &calculatedFields()}) {
        for (const TAddressField &f : *list) {
            if (f.name.compare(name, Qt::CaseInsensitive) == 0)
                return &f;
        }
    }
    return nullptr;
}

std::vector<xbase::FieldDescriptor> TAddressSchema::descriptors(const TFieldLengths &lengths)
{
    std::vector<xbase::FieldDescriptor> out;
    for (const TAddressField &f : storedFields()) {
        xbase::FieldDescriptor d;
        d.name = f.name.toStdString();
        d.type = f.type;
        d.length = uint8_t(f.sized ? lengths.length(f.name) : f.width);
        out.push_back(d);
    }
    return out;
}

const std::vector<xbase::TagDefinition> &TAddressSchema::tags()
{
    static const std::vector<xbase::TagDefinition> tags = {
        {"NAME", "UPPER(LNAME-FNAME)", ""},
        {"LNAME", "UPPER(LNAME)+UPPER(FNAME)", ""},
        {"FNAME", "UPPER(FNAME)", ""},
        {"TITLE", "UPPER(TITLE)", ""},
        {"ORG", "UPPER(ORG)", ""},
        {"STREET", "UPPER(STREET)", ""},
        {"STREET2", "UPPER(STREET2)", ""},
        {"CITY", "UPPER(CITY+STATE)", ""},
        {"STATE", "UPPER(STATE)", ""},
        {"ZIP", "UPPER(ZIP)", ""},
        {"COUNTRY", "UPPER(COUNTRY)", ""},
        {"PHONE", "UPPER(PHONE)", ""},
        {"PHONE2", "UPPER(PHONE2)", ""},
        {"EMAIL", "UPPER(EMAIL)", ""},
        {"FAX", "UPPER(FAX)", ""},
        {"USER1", "UPPER(USER1)", ""},
        {"USER2", "UPPER(USER2)", ""},
        {"DATE", "UPPER(DATE)", ""},
        {"TAG", "UPPER(TAG)", ""},
        {"CODES", "UPPER(CODES)", ""},
        {"PREFIX", "UPPER(PREFIX)", ""},
        {"MIDDLE", "UPPER(MIDDLE)", ""},
        {"DELETED", "DELETED()", ""},
        {"STATEZIP", "UPPER(STATE-ZIP)", ""},
        {"ISDEL", "ISDEL", ""},
        {"NOTISDEL", "!ISDEL", ""},
    };
    return tags;
}

const QStringList &TAddressSchema::checkedTagNames()
{
    static const QStringList names = {
        QStringLiteral("NAME"),     QStringLiteral("LNAME"),    QStringLiteral("FNAME"),
        QStringLiteral("TITLE"),    QStringLiteral("ORG"),      QStringLiteral("STREET"),
        QStringLiteral("STREET2"),  QStringLiteral("CITY"),     QStringLiteral("STATE"),
        QStringLiteral("ZIP"),      QStringLiteral("COUNTRY"),  QStringLiteral("PHONE"),
        QStringLiteral("PHONE2"),   QStringLiteral("EMAIL"),    QStringLiteral("FAX"),
        QStringLiteral("DATE"),     QStringLiteral("CODES"),    QStringLiteral("PREFIX"),
        QStringLiteral("MIDDLE"),   QStringLiteral("USER1"),    QStringLiteral("USER2"),
        QStringLiteral("DELETED"),  QStringLiteral("STATEZIP"), QStringLiteral("ISDEL"),
        QStringLiteral("NOTISDEL"), QStringLiteral("TAG"),
    };
    return names;
}
