#include "TLabelTemplates.h"

#include "TLabelSetups.h"
#include "TSystemTables.h"

QStringList TLabelTemplates::manufacturers()
{
    return {QStringLiteral("Avery Laserjet"), QStringLiteral("Avery Inkjet"),
            QStringLiteral("Avery Dot Matrix"), QStringLiteral("Costar LabelPrinter")};
}

QStringList TLabelTemplates::products()
{
    return {QStringLiteral("Address/Shipping Labels"),
            QStringLiteral("Card Products"),
            QStringLiteral("Diskette Labels"),
            QStringLiteral("File Folder Labels"),
            QStringLiteral("Index Products"),
            QStringLiteral("Miscellaneous"),
            QStringLiteral("All")};
}

QString TLabelTemplates::BuildLabelQuery(const QString &manufacturerEntry, int productIndex, bool european)
{
    QString expr;
    const auto add = [&expr](const QString &condition) {
        if (!expr.isEmpty())
            expr += QStringLiteral(" and ");
        expr += condition;
    };
    const QString maker = manufacturerEntry.toUpper();
    if (maker.contains(QLatin1String("AVERY")))
        add(QStringLiteral(" UPPER(manufac)=\"AVERY\" "));
    else if (maker.contains(QLatin1String("NEBS")))
        add(QStringLiteral(" UPPER(manufac)=\"NEBS\" "));
    else if (maker.contains(QLatin1String("COSTAR")))
        add(QStringLiteral(" UPPER(manufac)=\"COSTAR\" "));
    if (maker.contains(QLatin1String("LASERJET")))
        add(QStringLiteral(" UPPER(printer)=\"LJ\" "));
    else if (maker.contains(QLatin1String("INKJET")))
        add(QStringLiteral(" UPPER(printer)=\"IJ\" "));
    else if (maker.contains(QLatin1String("DOT MATRIX")))
        add(QStringLiteral(" UPPER(printer)=\"DM\" "));
    else if (maker.contains(QLatin1String("LABELPRINTER")))
        add(QStringLiteral(" UPPER(printer)=\"LP\" "));
    static const char *const kProducts[] = {"ADDRESS/SHIPPING LABELS", "CARD PRODUCTS",  "DISKETTE LABELS",
                                            "FILE FOLDER LABELS",      "INDEX PRODUCTS", "MISCELLANEOUS"};
    if (productIndex >= 0 && productIndex < 6)
        add(QStringLiteral(" UPPER(PRODTYPE)=\"") + QLatin1String(kProducts[productIndex]) +
            QStringLiteral("\" "));
    if (european)
        add(QStringLiteral(" (\"A4\"$UPPER(PAPERSIZE) OR \"A5\"$UPPER(PAPERSIZE))"));
    return expr;
}

TLabelComboChoice TLabelTemplates::PositionLabelCombos(const TLabelSetup &setup)
{
    TLabelComboChoice choice;
    QString maker = setup.Manufac.trimmed().toUpper();
    QString printer = setup.Printer.trimmed().toUpper();
    QString product = setup.ProdType.trimmed().toUpper();
    if (maker == QLatin1String("USER")) {
        maker = QStringLiteral("AVERY");
        printer = QStringLiteral("LJ");
        product = QStringLiteral("ADDRESS/SHIPPING LABELS");
        choice.findByName = false;
    }
    QString entry = QStringLiteral("AVERY LASERJET");
    if (maker == QLatin1String("AVERY")) {
        if (printer == QLatin1String("IJ"))
            entry = QStringLiteral("AVERY INKJET");
        else if (printer == QLatin1String("DM"))
            entry = QStringLiteral("AVERY DOT MATRIX");
    } else if (maker == QLatin1String("NEBS")) {
        entry = printer == QLatin1String("DM") ? QStringLiteral("NEBS DOT MATRIX")
                                               : QStringLiteral("NEBS LASERJET");
    } else if (maker == QLatin1String("COSTAR")) {
        entry = QStringLiteral("COSTAR LABELPRINTER");
    }
    const QStringList makers = manufacturers();
    choice.manufacturer = 0;
    for (int i = 0; i < makers.size(); ++i)
        if (makers.at(i).compare(entry, Qt::CaseInsensitive) == 0)
            choice.manufacturer = i;
    const QStringList list = products();
    choice.product = static_cast<int>(list.size()) - 1;
    for (int i = 0; i < list.size(); ++i)
        if (list.at(i).compare(product, Qt::CaseInsensitive) == 0)
            choice.product = i;
    return choice;
}

TResult TLabelTemplates::open(const QString &programFolder)
{
    const TResult opened = TSystemTables::open(TSystemTable::LblTpl, m_table, programFolder);
    if (!opened)
        return opened;
    m_table.setDeletedHidden(true);
    TResult result = TResult::fromStatus(m_table.setOrder("DESCRIPT"));
    if (result)
        result = setQuery(QString());
    if (!result) {
        close();
        return TResult::failure(QStringLiteral("Unable to Open LBLTPL.DBF"), result.code);
    }
    return result;
}

void TLabelTemplates::close()
{
    if (m_table.isOpen())
        (void)m_table.close(); // read only: nothing to flush
    m_rows.clear();
    m_invalid.clear();
}

TResult TLabelTemplates::setQuery(const QString &expression)
{
    const TResult set = TResult::fromStatus(m_table.setQuery(expression.toStdString()));
    if (!set)
        return set;
    m_invalid.clear();
    return readRows(m_rows, &m_invalid);
}

TResult TLabelTemplates::readRows(QVector<TLabelTemplateRow> &out, QStringList *invalid)
{
    out.clear();
    std::vector<uint32_t> recnos;
    TResult result = TResult::fromStatus(m_table.visibleRecnos(recnos));
    for (uint32_t recno : recnos) {
        if (!result)
            break;
        result = TResult::fromStatus(m_table.go(recno));
        TLabelTemplateRow row{recno, {}};
        if (result)
            result = TLabelSetups::readColumns(m_table, row.sheet, false);
        if (!result)
            break;
        if (invalid && !row.sheet.invalidColumn().isEmpty()) {
            invalid->append(
                TLabelSetups::invalidRowMessage(row.sheet.Description, row.sheet.invalidColumn()));
            continue;
        }
        out.append(row);
    }
    return result;
}

TResult TLabelTemplates::allRows(QVector<TLabelTemplateRow> &out)
{
    const std::string query = m_table.queryText();
    TResult result = TResult::fromStatus(m_table.setQuery(""));
    if (result)
        result = readRows(out, nullptr);
    const TResult back = TResult::fromStatus(m_table.setQuery(query));
    return result ? back : result;
}
