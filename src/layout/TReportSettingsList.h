// The fourth list of a report layout file: 50 bare values (no names) in a fixed order. The
// report definition gives them their meaning; here they are kept as read, lengths in
// thousandths of an inch. A value of the wrong kind, or a list that ends early, fails the read.
#pragma once

#include "Units.h"

#include <QString>

#include <array>

class LayoutStreamReader;
class LayoutStreamWriter;

struct TReportSettingsList {
    struct Group {
        std::array<bool, 4> flags{};
        std::array<int, 3> numbers{};
    };
    std::array<Mils, 9> lengths{};
    std::array<bool, 4> flags{true, true, false, false};
    QString typeface1 = QStringLiteral("Arial");
    int size1 = 10;
    std::array<bool, 2> flags1{};
    int number = 0;
    QString typeface2 = QStringLiteral("Arial");
    int size2 = 10;
    std::array<bool, 2> flags2{};
    std::array<Group, 4> groups{};

    // A new report's settings: 8.5 in, 11 in, four of 0.5 in, three bands of 33 design pixels.
    static TReportSettingsList defaults(double pixelsPerInch);
    // A length in design pixels as stored: pixels / pixelsPerInch × 1000, the fraction dropped.
    static Mils toMils(int pixels, double pixelsPerInch);
    // A stored length in design pixels: length × 0.001 × pixelsPerInch, halves to even.
    static int toPixels(Mils length, double pixelsPerInch);

    // The bare values, between the list's 0x01 and 0x00 (which the filer writes and reads).
    void write(LayoutStreamWriter &w) const;
    void read(LayoutStreamReader &r);
    bool operator==(const TReportSettingsList &o) const;
};
