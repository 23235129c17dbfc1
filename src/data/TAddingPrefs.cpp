#include "TAddingPrefs.h"

#include "TGlobalTagId.h"
#include "TIniFile.h"

namespace {

const QString kAdding = QStringLiteral("Adding");
const QString kMisc = QStringLiteral("Misc");

struct BoolKey {
    const char *key;
    bool TAddingPrefs::*member;
};

#define CORVANTIS_BOOL_KEY(name)                                                                             \
    BoolKey                                                                                                  \
    {                                                                                                        \
#name, &TAddingPrefs::name                                                                           \
    }
const BoolKey kBoolKeys[] = {
    CORVANTIS_BOOL_KEY(PlugDate),          CORVANTIS_BOOL_KEY(PlugCityState),
    CORVANTIS_BOOL_KEY(AutoDupCheck),      CORVANTIS_BOOL_KEY(CarryOrg),
    CORVANTIS_BOOL_KEY(CarrySA1),          CORVANTIS_BOOL_KEY(CarrySA2),
    CORVANTIS_BOOL_KEY(CarryCity),         CORVANTIS_BOOL_KEY(CarryState),
    CORVANTIS_BOOL_KEY(CarryZip),          CORVANTIS_BOOL_KEY(CarryCountry),
    CORVANTIS_BOOL_KEY(SkipOrganization),  CORVANTIS_BOOL_KEY(SkipPhone1),
    CORVANTIS_BOOL_KEY(SkipEmail),         CORVANTIS_BOOL_KEY(SkipState),
    CORVANTIS_BOOL_KEY(SkipZip),           CORVANTIS_BOOL_KEY(SkipCountry),
    CORVANTIS_BOOL_KEY(SkipAddress2),      CORVANTIS_BOOL_KEY(SkipLastName),
    CORVANTIS_BOOL_KEY(SkipMiddleInitial), CORVANTIS_BOOL_KEY(SkipfirstName),
    CORVANTIS_BOOL_KEY(Skiptitle),         CORVANTIS_BOOL_KEY(SkipPhone2),
    CORVANTIS_BOOL_KEY(SkipFax),           CORVANTIS_BOOL_KEY(SkipCodes),
    CORVANTIS_BOOL_KEY(SkipPrefix),        CORVANTIS_BOOL_KEY(SkipComments1),
    CORVANTIS_BOOL_KEY(SkipDate),          CORVANTIS_BOOL_KEY(Skipcomments2),
};
#undef CORVANTIS_BOOL_KEY

const char kDefaultCountry[] = "DefaultCountry";

} // namespace

TAddingPrefs TAddingPrefs::load(const TIniFile &ini)
{
    const TIniDocument settings = ini.document();
    TAddingPrefs prefs;
    for (const BoolKey &k : kBoolKeys)
        prefs.*k.member = settings.logical(kAdding, QLatin1String(k.key), prefs.*k.member);
    prefs.DefaultCountry = settings.text(kAdding, QLatin1String(kDefaultCountry));
    return prefs;
}

bool TAddingPrefs::save(TIniFile &ini) const
{
    QList<std::pair<QString, QString>> values;
    for (const BoolKey &k : kBoolKeys)
        values.append({QLatin1String(k.key), this->*k.member ? QStringLiteral("1") : QStringLiteral("0")});
    values.append({QLatin1String(kDefaultCountry), DefaultCountry});
    return ini.writeStrings(kAdding, values);
}

QString TAddingPrefs::loadGlobalTagId(TIniFile &ini, const QDateTime &now)
{
    QString id = ini.readString(kMisc, QStringLiteral("GlobalTagId"));
    if (id.isEmpty())
        id = TGlobalTagId::make(now);
    saveGlobalTagId(ini, id);
    return id;
}

bool TAddingPrefs::saveGlobalTagId(TIniFile &ini, const QString &id)
{
    return ini.writeString(kMisc, QStringLiteral("GlobalTagId"), id);
}

bool TAddingPrefs::loadGettingStarted(const TIniFile &ini)
{
    return ini.readBool(kMisc, QStringLiteral("GettingStarted"), false);
}

bool TAddingPrefs::saveGettingStarted(TIniFile &ini, bool dontShow)
{
    return ini.writeBool(kMisc, QStringLiteral("GettingStarted"), dontShow);
}

bool operator==(const TAddingPrefs &a, const TAddingPrefs &b)
{
    for (const BoolKey &k : kBoolKeys) {
        if (a.*k.member != b.*k.member)
            return false;
    }
    return a.DefaultCountry == b.DefaultCountry;
}
