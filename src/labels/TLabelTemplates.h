// The catalogue of stock label sheets, LBLTPL.DBF, as the "Select Label Template" chooser
// filters it: the maker and printer class, the product type and the European paper sizes make
// one engine query, and the rows it shows are listed in the order of the DESCRIPT tag. The
// chooser owns one while it is open; the program never writes to the table.
#pragma once

#include "TLabelSetup.h"
#include "TResult.h"

#include <Table.h>

#include <QStringList>
#include <QVector>

struct TLabelTemplateRow {
    quint32 recno = 0;
    TLabelSetup sheet; // Description holds DESCRIPT
};

// Where the chooser starts: the manufacturer and product entries, and whether to look for the
// row named TplDescrip.
struct TLabelComboChoice {
    int manufacturer = 0;
    int product = 0;
    bool findByName = true;
};

class TLabelTemplates
{
public:
    // The manufacturer and product lists in their order; the last product entry is "All".
    static QStringList manufacturers();
    static QStringList products();
    // The engine expression for the manufacturer entry's text, the product entry at
    // `productIndex` and the European check box; empty when nothing is chosen.
    static QString BuildLabelQuery(const QString &manufacturerEntry, int productIndex, bool european);
    // The entries the chooser starts from for a setup's Manufac, Printer and ProdType. A maker
    // the list does not hold (such as "NEBS") starts from the first entry.
    static TLabelComboChoice PositionLabelCombos(const TLabelSetup &setup);

    // Opens "sysdata/LBLTPL.DBF" below `programFolder` (adding the DESCRIPT tag when the index
    // lacks it); the failure message is "Unable to Open LBLTPL.DBF".
    TResult open(const QString &programFolder);
    void close();
    bool isOpen() const { return m_table.isOpen(); }

    // Makes `expression` the table's query and reads the rows it shows. A row whose geometry
    // cannot make a sheet is left out of the list (invalidRows() names it).
    TResult setQuery(const QString &expression);
    const QVector<TLabelTemplateRow> &rows() const { return m_rows; }
    const QStringList &invalidRows() const { return m_invalid; }
    // Every row of the catalogue, unfiltered, with no range check (tests and tools).
    TResult allRows(QVector<TLabelTemplateRow> &out);

private:
    TResult readRows(QVector<TLabelTemplateRow> &out, QStringList *invalid);

    xbase::Table m_table;
    QVector<TLabelTemplateRow> m_rows;
    QStringList m_invalid;
};
