// The "Preferences" window: the preferences for adding records. It loads every "Adding" key
// when it opens; "Ok" writes every one of them, "Cancel" writes nothing. Opened modally by the
// main window, which reloads its preferences afterwards.
#pragma once

#include "TAddingPrefs.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QLineEdit;
class QPushButton;
class TIniFile;

class TPreferencesForm : public QDialog
{
    Q_OBJECT

public:
    TPreferencesForm(TIniFile &ini, QWidget *parent = nullptr);

    // The box that shows one setting, by its key ("PlugDate", "CarryZip", "SkipFax" ...).
    QCheckBox *box(const QString &key) const;

    QLineEdit *DefaultCountryEdit = nullptr;
    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QPushButton *HelpButton = nullptr;

public slots:
    void OkButtonClick();

private:
    struct Item {
        QCheckBox *box;
        bool TAddingPrefs::*member;
        QString key;
    };

    TIniFile &m_ini;
    TAddingPrefs m_prefs;
    QList<Item> m_items;
};
