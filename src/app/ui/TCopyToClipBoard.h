// "Copy Record To Clipboard" (TCopyToClipBoard): which blocks of the current record go on the
// clipboard as plain text. The main window creates one over the current record and shows it
// modally.
#pragma once

#include "TCurrentRecordValues.h"

#include <QDialog>

class QCheckBox;
class QPushButton;

class TCopyToClipBoard : public QDialog
{
    Q_OBJECT
public:
    explicit TCopyToClipBoard(TCurrentRecordValues record, QWidget *parent = nullptr);

    QCheckBox *NameCheck;
    QCheckBox *AddressCheck;
    QCheckBox *PhoneCheck;
    QCheckBox *CodesCheck;
    QCheckBox *CommentsCheck;
    QPushButton *OkButton;
    QPushButton *CancelButton;
    QPushButton *HelpButton;

public slots:
    // Puts the chosen text on the clipboard, says so and closes.
    void OkButtonClick();

private:
    TCurrentRecordValues m_record;
};
