// Common frame of the text objects' property dialogs: modal, with "Ok", "Cancel" and "Help"
// buttons under the dialog's own fields. Each dialog is created for one object and applies
// its values to the object only on "Ok".
#pragma once

#include <QDialog>

class QPushButton;
class QVBoxLayout;

class TGPropertyDialog : public QDialog
{
    Q_OBJECT
public:
    TGPropertyDialog(const QString &caption, QWidget *parent);

    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QPushButton *HelpButton = nullptr;

protected:
    // Where the dialog puts its fields, above the buttons.
    QVBoxLayout *fields() const { return m_fields; }

private:
    QVBoxLayout *m_fields = nullptr;
};
