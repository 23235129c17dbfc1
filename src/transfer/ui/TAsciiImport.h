// "ASCII File Import" (TAsciiImport): choose a comma-delimited text file (or a vCard file, read
// by its content), match its columns, import. Works on the address table the main window's
// hand-over opened exclusively for it; closes itself after an import.
#pragma once

#include "TAsciiColumns.h"
#include "TImportTargets.h"
#include "TImportText.h"
#include "TImportWindow.h"

class TAddressTable;
class TAsciiMatch;

class TAsciiImport : public TImportWindow
{
    Q_OBJECT
public:
    // Requires: `table` open; it must outlive the window.
    explicit TAsciiImport(TAddressTable &table, QWidget *parent = nullptr);

    const TAsciiColumns &columns() const { return m_columns; }
    bool isVCard() const { return m_vcard; }

signals:
    // The match window is open (tests drive it here).
    void matchWindowShown(TAsciiMatch *window);

public slots:
    void SelectButtonClick();
    void MatchButtonClick();
    void ImportButtonClick();

private:
    bool scan(const QString &path);

    TAddressTable &m_table;
    TImportTargets m_targets;
    TImportText m_text;
    TAsciiColumns m_columns;
    QByteArray m_raw;
    QString m_path;
    bool m_vcard = false;
};
