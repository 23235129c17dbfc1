// "Envelope Size": the size list, the entry of the given size code selected (the first entry
// for an unknown code). New and Change Size open one per use, modally.
#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

class TChooseEnvelopeLayout : public QDialog
{
    Q_OBJECT
public:
    explicit TChooseEnvelopeLayout(int code, QWidget *parent = nullptr);

    // The code of the selected entry; the given code when none is selected.
    int code() const;

    QListWidget *EnvelopeList;
    QPushButton *OkButton;
    QPushButton *CancelButton;
    QPushButton *HelpButton;

private:
    int m_code;
};
