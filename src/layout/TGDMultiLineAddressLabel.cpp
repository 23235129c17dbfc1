#include "TGDMultiLineAddressLabel.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"

namespace {
struct AddressFlag {
    const char *name;
    bool TGDMultiLineAddressLabel::*member;
};
constexpr AddressFlag kAddressFlags[] = {
    {"UseName", &TGDMultiLineAddressLabel::UseName},
    {"UseTitle", &TGDMultiLineAddressLabel::UseTitle},
    {"UseCompany", &TGDMultiLineAddressLabel::UseCompany},
    {"UseStreet", &TGDMultiLineAddressLabel::UseStreet},
    {"UseStreet2", &TGDMultiLineAddressLabel::UseStreet2},
    {"UseCityState", &TGDMultiLineAddressLabel::UseCityState},
    {"UseZip", &TGDMultiLineAddressLabel::UseZip},
    {"UsePhone", &TGDMultiLineAddressLabel::UsePhone},
    {"UseCountry", &TGDMultiLineAddressLabel::UseCountry},
};
} // namespace

void TGDMultiLineAddressLabel::WriteProperties(LayoutStreamWriter &w) const
{
    TGMultiLineBaseLabel::WriteProperties(w);
    for (const AddressFlag &f : kAddressFlags)
        w.booleanProperty(f.name, this->*f.member);
    w.identProperty("ZipOptions", TZipOptionsNames[ZipOptions]);
    w.booleanProperty("UpperCase", UpperCase);
}

bool TGDMultiLineAddressLabel::ReadProperty(const QByteArray &name, LayoutStreamReader &r)
{
    for (const AddressFlag &f : kAddressFlags)
        if (name == f.name) {
            this->*f.member = r.readBoolean();
            return true;
        }
    if (name == "ZipOptions")
        ZipOptions = static_cast<TZipOptions>(r.readEnum(TZipOptionsNames, TZipOptionsCount));
    else if (name == "UpperCase")
        UpperCase = r.readBoolean();
    else
        return TGMultiLineBaseLabel::ReadProperty(name, r);
    return true;
}
