// "Convert Case" (TConvertToUpper): rewrites the checked fields of the current record, of every
// record, or of the records matching the filter in upper case, lower case or with first letters
// capitalised. Opened modally by the main window through the hand-over; closes itself when done.
#pragma once

#include "TToolWindow.h"

#include <QVector>

class QCheckBox;
class QPushButton;
class QRadioButton;
class TAddressSession;

class TConvertToUpper : public TToolWindow
{
    Q_OBJECT

public:
    explicit TConvertToUpper(TAddressSession &session, QWidget *parent = nullptr);

    // One per field, in conversion order.
    QVector<QCheckBox *> FieldChecks;
    QCheckBox *AllCheck;
    QRadioButton *rUppercase;
    QRadioButton *rLowercase;
    QRadioButton *rFirstLetter;
    QRadioButton *rCurrentRecord;
    QRadioButton *rAllRecords;
    QRadioButton *rFilterRecords;
    QPushButton *ConvertButton;
    QPushButton *CancelButton;
    QPushButton *HelpButton;

public slots:
    void ConvertButtonClick();
    void CancelButtonClick();

private:
    TAddressSession &m_session;
};
