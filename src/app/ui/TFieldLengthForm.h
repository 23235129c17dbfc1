// The "Specify Field Lengths" window: the widths of the character fields of the address file
// about to be created. Opened modally from "Create new database" with the lengths that window
// holds; lengths() gives the result after "Ok". With "Use these settings for all new
// databases" checked, "Ok" also writes them to the settings file.
#pragma once

#include "TFieldLengths.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QLineEdit;
class QPushButton;
class TIniFile;

class TFieldLengthForm : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kSmallest = 10;
    static constexpr int kLargest = 80;

    TFieldLengthForm(const TFieldLengths &lengths, TIniFile &ini, QWidget *parent = nullptr);

    const TFieldLengths &lengths() const { return m_lengths; }
    // The box of a field ("LNAME" ...).
    QLineEdit *box(const QString &fieldName) const;

    QCheckBox *UseForAllCheck = nullptr;
    QPushButton *DefaultsButton = nullptr;
    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QPushButton *HelpButton = nullptr;

    // A box's text when it is a whole number from kSmallest to kLargest, else the starting value.
    static int accepted(const QString &text, int startingValue);

public slots:
    void DefaultsButtonClick();
    void OkButtonClick();

private:
    struct Box {
        QLineEdit *edit;
        int index;    // in TFieldLengths
        int starting; // the value the box started with
    };
    void checkBox(const Box &box);

    TFieldLengths m_lengths;
    TIniFile &m_ini;
    QList<Box> m_boxes;
};
