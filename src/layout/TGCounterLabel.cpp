#include "TGCounterLabel.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"

#include <algorithm>

TGCounterLabel::TGCounterLabel(TGOwner *owner) : TGBaseLabel(owner) {}

void TGCounterLabel::setStartingnumber(int number)
{
    m_startingNumber = number;
    ResetCounter();
}

QString TGCounterLabel::numberText(qint64 value, int leadingZeros)
{
    const qint64 magnitude = value < 0 ? -value : value;
    QString digits = QString::number(magnitude);
    // The settings dialog allows at most 9; a damaged layout cannot ask for more than 64.
    leadingZeros = std::min(leadingZeros, 64);
    if (leadingZeros > 0 && digits.size() < leadingZeros)
        digits = QString(leadingZeros - digits.size(), QLatin1Char('0')) + digits;
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

QString TGCounterLabel::counterText() const
{
    return m_textBefore + numberText(m_current, m_leadingZeros) + m_textAfter;
}

void TGCounterLabel::UpdateCaption(bool, TBaseReport *)
{
    const QString text = counterText();
    if (text != Caption())
        setCaptionQuiet(text);
}

void TGCounterLabel::ApplySettings(int startingNumber, int repeatEach, const QString &before,
                                   const QString &after, int leadingZeros)
{
    setStartingnumber(startingNumber);
    m_repeatEach = repeatEach;
    m_textBefore = before;
    m_textAfter = after;
    m_leadingZeros = leadingZeros;
    setCaptionQuiet(counterText());
    if (Angle() == 0) {
        setWidth(10);
        FitToText();
    }
    Invalidate();
    NotifyChanged();
}

void TGCounterLabel::ResetCounter()
{
    m_current = m_startingNumber;
    m_repeatCount = 0;
    // A read keeps the stored caption, so rewriting a layout gives its bytes back; the
    // caption is rebuilt at every paint and print anyway.
    if (!isReading())
        setCaptionQuiet(counterText());
    Invalidate();
}

void TGCounterLabel::AdvanceCounter()
{
    ++m_repeatCount;
    // A stored repeat count below 1 counts as 1, so the number still steps.
    if (m_repeatCount >= std::max(1, m_repeatEach)) {
        ++m_current;
        m_repeatCount = 0;
        Invalidate();
    }
}

void TGCounterLabel::Loaded()
{
    // A freshly loaded counter starts at its starting number.
    m_current = m_startingNumber;
    m_repeatCount = 0;
    TGBaseLabel::Loaded();
}

void TGCounterLabel::WriteProperties(LayoutStreamWriter &w) const
{
    TGBaseLabel::WriteProperties(w);
    if (!m_textBefore.isEmpty())
        w.stringProperty("TextBefore", m_textBefore);
    if (!m_textAfter.isEmpty())
        w.stringProperty("TextAfter", m_textAfter);
    w.integerProperty("Startingnumber", m_startingNumber);
    w.integerProperty("RepeatEach", m_repeatEach);
    w.integerProperty("LeadingZeros", m_leadingZeros);
}

bool TGCounterLabel::ReadProperty(const QByteArray &name, LayoutStreamReader &r)
{
    if (name == "TextBefore")
        m_textBefore = r.readString();
    else if (name == "TextAfter")
        m_textAfter = r.readString();
    else if (name == "Startingnumber")
        setStartingnumber(r.readInteger());
    else if (name == "RepeatEach")
        m_repeatEach = r.readInteger();
    else if (name == "LeadingZeros")
        m_leadingZeros = r.readInteger();
    else
        return TGBaseLabel::ReadProperty(name, r);
    return true;
}
