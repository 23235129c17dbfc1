// The window "Create new database": the name of a new address file (no extension) and, through
// "Specify Field Lengths", the widths of its fields. Opened modally by the main window; the
// field lengths are read from the settings file when it opens.
#pragma once

#include "TFieldLengths.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class TIniFile;

class TNewDatabaseForm : public QDialog
{
    Q_OBJECT

public:
    TNewDatabaseForm(const QString &proposedName, TIniFile &ini, QWidget *parent = nullptr);

    QString name() const;
    // The lengths for this one file (those of the settings file unless changed here).
    const TFieldLengths &lengths() const { return m_lengths; }
    void setLengths(const TFieldLengths &lengths) { m_lengths = lengths; }

    QLineEdit *NameEdit = nullptr;
    QLabel *InvalidLabel = nullptr;
    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QPushButton *FieldLengthsButton = nullptr;
    QPushButton *HelpButton = nullptr;

public slots:
    void FieldLengthsButtonClick();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void nameChanged();

    TIniFile &m_ini;
    TFieldLengths m_lengths;
};
