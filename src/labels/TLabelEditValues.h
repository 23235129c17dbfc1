// The eight lengths of the "User Defined Label Layout" dialog in inches or millimetres. Values
// are held in inches; a box shows them with 3 decimals in inches or 1 decimal in millimetres,
// and only a box the user typed into takes its shown value back, so switching units (or Ok)
// never moves a length that was not edited. The dialog owns one.
#pragma once

#include <QString>

#include <array>

class TLabelEditValues
{
public:
    enum Box { Width, Height, HorizPitch, VertPitch, LeftMarg, TopMarg, PaperWidth, PaperHeight, kBoxes };

    void setInches(Box box, double inches);
    // The held value; for a box typed into, the typed value in inches rounded to 3 decimals.
    double inches(Box box) const;

    bool isMillimetres() const { return m_millimetres; }
    // Switches the unit; boxes typed into take their shown value first.
    void setMillimetres(bool on);

    // What box `box` shows in the current unit.
    QString text(Box box) const;
    // The user typed `text` into the box (in the current unit); a text that is no number
    // counts as 0.
    void setText(Box box, const QString &text);
    bool isEdited(Box box) const { return m_edited[box]; }

    // Leaving "Label Width" or "Label Height": the pitch beside it becomes the label size when
    // it is less.
    void raisePitchToWidth();
    void raisePitchToHeight();

    static constexpr double kMillimetresPerInch = 25.4;

private:
    std::array<double, kBoxes> m_inches{};
    std::array<QString, kBoxes> m_typed;
    std::array<bool, kBoxes> m_edited{};
    bool m_millimetres = false;
};
