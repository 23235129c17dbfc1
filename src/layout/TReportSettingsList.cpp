#include "TReportSettingsList.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"

TReportSettingsList TReportSettingsList::defaults(double pixelsPerInch)
{
    TReportSettingsList s;
    s.lengths = {Mils(8500), Mils(11000), Mils(500), Mils(500), Mils(500), Mils(500)};
    for (int i = 6; i < 9; ++i)
        s.lengths[i] = toMils(33, pixelsPerInch);
    return s;
}

Mils TReportSettingsList::toMils(int pixels, double pixelsPerInch)
{
    return Mils::truncatedFrom(DesignPixels(pixels).toInches(pixelsPerInch));
}

int TReportSettingsList::toPixels(Mils length, double pixelsPerInch)
{
    return DesignPixels::fromInches(length.toInches(), pixelsPerInch).halfEven();
}

void TReportSettingsList::write(LayoutStreamWriter &w) const
{
    for (Mils v : lengths)
        w.writeInteger(v.value);
    for (bool b : flags)
        w.writeBoolean(b);
    w.writeString(typeface1);
    w.writeInteger(size1);
    for (bool b : flags1)
        w.writeBoolean(b);
    w.writeInteger(number);
    w.writeString(typeface2);
    w.writeInteger(size2);
    for (bool b : flags2)
        w.writeBoolean(b);
    for (const Group &g : groups) {
        for (bool b : g.flags)
            w.writeBoolean(b);
        for (int v : g.numbers)
            w.writeInteger(v);
    }
}

void TReportSettingsList::read(LayoutStreamReader &r)
{
    TReportSettingsList s;
    for (Mils &v : s.lengths)
        v = Mils(r.readInteger());
    for (bool &b : s.flags)
        b = r.readBoolean();
    s.typeface1 = r.readString();
    s.size1 = r.readInteger();
    for (bool &b : s.flags1)
        b = r.readBoolean();
    s.number = r.readInteger();
    s.typeface2 = r.readString();
    s.size2 = r.readInteger();
    for (bool &b : s.flags2)
        b = r.readBoolean();
    for (Group &g : s.groups) {
        for (bool &b : g.flags)
            b = r.readBoolean();
        for (int &v : g.numbers)
            v = r.readInteger();
    }
    *this = s;
}

bool TReportSettingsList::operator==(const TReportSettingsList &o) const
{
    auto same = [](const Group &a, const Group &b) { return a.flags == b.flags && a.numbers == b.numbers; };
    for (int i = 0; i < 4; ++i)
        if (!same(groups[i], o.groups[i]))
            return false;
    return lengths == o.lengths && flags == o.flags && typeface1 == o.typeface1 && size1 == o.size1 &&
           flags1 == o.flags1 && number == o.number && typeface2 == o.typeface2 && size2 == o.size2 &&
           flags2 == o.flags2;
}
