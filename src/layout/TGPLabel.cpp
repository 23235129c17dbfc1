#include "TGPLabel.h"

void TGPLabel::EditText(const QString &text)
{
    setCaption(text);
    FitToText();
    Invalidate();
}
