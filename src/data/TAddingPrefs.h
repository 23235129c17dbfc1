// The preferences for adding records (section "Adding" of the settings file) and the tag
// identifier and start-up switch of section "Misc". A value object: the main window and the
// Preferences window each load their own copy and save it back.
#pragma once

#include <QDateTime>
#include <QString>

class TIniFile;

struct TAddingPrefs {
    // Members carry the settings keys' names.
    bool PlugDate = false;
    bool PlugCityState = false;
    bool AutoDupCheck = false;
    QString DefaultCountry;

    bool CarryOrg = false;
    bool CarrySA1 = false;
    bool CarrySA2 = false;
    bool CarryCity = false;
    bool CarryState = false;
    bool CarryZip = false;
    bool CarryCountry = false;

    bool SkipOrganization = false;
    bool SkipPhone1 = false;
    bool SkipEmail = false;
    bool SkipState = false;
    bool SkipZip = false;
    bool SkipCountry = false;
    bool SkipAddress2 = false;
    bool SkipLastName = false;
    bool SkipMiddleInitial = false;
    bool SkipfirstName = false;
    bool Skiptitle = false;
    bool SkipPhone2 = false;
    bool SkipFax = false;
    bool SkipCodes = false;
    bool SkipPrefix = false;
    bool SkipComments1 = false;
    bool SkipDate = false;
    bool Skipcomments2 = false;

    // Every "Adding" key; missing keys and numbers that do not parse give the defaults above.
    static TAddingPrefs load(const TIniFile &ini);
    // Writes every "Adding" key (logicals as "1"/"0") in one write; false when it failed.
    bool save(TIniFile &ini) const;

    // The current tag identifier of "Misc". When the key is missing (or empty) a new one is
    // made for `now`; either way the value read is written back at once.
    static QString loadGlobalTagId(TIniFile &ini, const QDateTime &now = QDateTime::currentDateTime());
    static bool saveGlobalTagId(TIniFile &ini, const QString &id);

    // "Misc" GettingStarted: true means the Getting Started window is not shown at start-up.
    static bool loadGettingStarted(const TIniFile &ini);
    static bool saveGettingStarted(TIniFile &ini, bool dontShow);

    friend bool operator==(const TAddingPrefs &a, const TAddingPrefs &b);
};
