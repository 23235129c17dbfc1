// The dialler's settings: section "Dialing" of the settings file. A value object the dialler
// window loads when it is first shown and saves each time "Dial" is pressed.
#pragma once

#include <QString>

class TIniFile;

struct TDialerSettings {
    // The COM ports offered: "Port" 0 to 3 stands for COM1 to COM4.
    static constexpr int kPortCount = 4;
    // "Method" 0 is tone dialling, 1 pulse dialling.
    static constexpr int kMethodCount = 2;

    // Members carry the settings keys' names.
    QString Prefix;       // dialled before the number
    QString Init;         // the modem initialization string
    int Port = 0;         // 0 to kPortCount - 1
    int Method = 0;       // 0 to kMethodCount - 1
    bool UseTAPI = false; // dial through the telephony service
    QString PortDevice;   // a modem device other than the COM ports (a USB modem); empty: "Port"

    // Every key; missing keys and numbers that do not parse give the defaults above. "Port" and
    // "Method" are clamped into their ranges, so a damaged file never selects past the lists.
    static TDialerSettings load(const TIniFile &ini);
    // Writes every key in one write; false when the file could not be written (it is then as
    // it was).
    bool save(TIniFile &ini) const;

    friend bool operator==(const TDialerSettings &a, const TDialerSettings &b);
};
