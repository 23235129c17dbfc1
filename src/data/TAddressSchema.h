// The layout of an address file: its 23 stored fields with their labels and browse widths, the
// five calculated fields and the 26 index tags. Static data; nobody owns an instance.
#pragma once

#include "Field.h"
#include "Table.h"

#include <QString>
#include <QStringList>

#include <vector>

class TFieldLengths;

// One field as the program shows it.
struct TAddressField {
    QString name;        // "LNAME" ...
    char type = 'C';     // C, L or M for stored fields; C or L for calculated ones
    int width = 0;       // the fixed width, or the default width of a field that takes its length
                         // from the field-length settings
    bool sized = false;  // true: the width of a new file comes from TFieldLengths
    QString label;       // column title ("Last Name"); empty for TAG and MEMO
    int browseWidth = 0; // characters shown in the browse grid
    bool browseVisible = true;
};

class TAddressSchema
{
public:
    static constexpr int kStoredCount = 23;
    static constexpr int kTagCount = 26;

    // The 23 stored fields in the order a new file is created.
    static const std::vector<TAddressField> &storedFields();
    // Tagged, DisplayDate, FullName, FullNameWithPrefix, CityStateZip.
    static const std::vector<TAddressField> &calculatedFields();
    // A stored or calculated field by name (any case); nullptr when there is none.
    static const TAddressField *field(const QString &name);

    // The descriptors of a new file: the sized fields take their width from `lengths`.
    static std::vector<xbase::FieldDescriptor> descriptors(const TFieldLengths &lengths);
    // The 26 tags in creation order.
    static const std::vector<xbase::TagDefinition> &tags();
    // The tag names in the order the index check asks for them.
    static const QStringList &checkedTagNames();
};
