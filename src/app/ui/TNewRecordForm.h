// The "New Record" window: asks for the name (for the duplicate look-up) and the ZIP (for the
// city and state) before a record is added. Created on the stack by the record-editing
// commands for one add.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

class TNewRecordForm : public QDialog
{
    Q_OBJECT

public:
    // `showNames` shows the two name boxes, `showZip` the ZIP box (in the last-name box's place
    // when the names are hidden). Each box takes at most its field's width.
    TNewRecordForm(bool showNames, bool showZip, int lnameWidth, int fnameWidth, int zipWidth,
                   QWidget *parent = nullptr);

    // The texts typed; empty for a hidden box.
    QString lastName() const;
    QString firstName() const;
    QString zip() const;

    QLineEdit *LastNameEdit = nullptr;
    QLineEdit *FirstNameEdit = nullptr;
    QLineEdit *ZipEdit = nullptr;
    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_showNames;
    bool m_showZip;
};
