// "Multi-line Text Editor": the lines of a multi-line text object in one multi-line field
// (at most 254 characters in all), shown in the object's font. "Ok" hands the lines to the
// object.
#pragma once

#include "TGPropertyDialog.h"

class QPlainTextEdit;
class TGMultiLineLabel;

class TGMultiLineTextDialog : public TGPropertyDialog
{
    Q_OBJECT
public:
    TGMultiLineTextDialog(TGMultiLineLabel *object, QWidget *parent = nullptr);
    QPlainTextEdit *TextMemo = nullptr;

    void accept() override;

private:
    // Cuts the text back to the limit, keeping the cursor where it was.
    void keepWithinLimit();

    TGMultiLineLabel *m_object;
};
