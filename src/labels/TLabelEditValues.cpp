#include "TLabelEditValues.h"

#include <cmath>

namespace {

double round3(double v)
{
    return std::round(v * 1000.0) / 1000.0;
}

} // namespace

void TLabelEditValues::setInches(Box box, double inches)
{
    m_inches[box] = inches;
    m_edited[box] = false;
    m_typed[box].clear();
}

double TLabelEditValues::inches(Box box) const
{
    if (!m_edited[box])
        return m_inches[box];
    const double typed = m_typed[box].trimmed().toDouble();
    return round3(m_millimetres ? typed / kMillimetresPerInch : typed);
}

void TLabelEditValues::setMillimetres(bool on)
{
    if (on == m_millimetres)
        return;
    for (int b = 0; b < kBoxes; ++b)
        if (m_edited[b])
            setInches(static_cast<Box>(b), inches(static_cast<Box>(b)));
    m_millimetres = on;
}

QString TLabelEditValues::text(Box box) const
{
    if (m_edited[box])
        return m_typed[box];
    return m_millimetres ? QString::number(m_inches[box] * kMillimetresPerInch, 'f', 1)
                         : QString::number(m_inches[box], 'f', 3);
}

void TLabelEditValues::setText(Box box, const QString &text)
{
    if (!m_edited[box] && text == this->text(box))
        return; // shown again unchanged: still the held value
    m_typed[box] = text;
    m_edited[box] = true;
}

void TLabelEditValues::raisePitchToWidth()
{
    if (inches(HorizPitch) < inches(Width)) {
        const bool edited = m_edited[Width];
        const QString typed = m_typed[Width];
        setInches(HorizPitch, inches(Width));
        if (edited) {
            m_typed[HorizPitch] = typed;
            m_edited[HorizPitch] = true;
        }
    }
}

void TLabelEditValues::raisePitchToHeight()
{
    if (inches(VertPitch) < inches(Height)) {
        const bool edited = m_edited[Height];
        const QString typed = m_typed[Height];
        setInches(VertPitch, inches(Height));
        if (edited) {
            m_typed[VertPitch] = typed;
            m_edited[VertPitch] = true;
        }
    }
}
