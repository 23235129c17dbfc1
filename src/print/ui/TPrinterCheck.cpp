#include "TPrinterCheck.h"

#include <QPrinter>
#include <QPrinterInfo>

QString TPrinterCheck::message(int printerCount, bool hasDefaultPrinter)
{
    if (printerCount <= 0)
        return QStringLiteral(
            "There are no installed printers.\r\nUnable to perform printer related operations");
    if (!hasDefaultPrinter)
        return QStringLiteral(
            "There is no default printer selected.\r\nUnable to perform printer related operations");
    return QString();
}

QString TPrinterCheck::systemMessage()
{
    // PDF output is always there: it is one printer, and the default when the system names none.
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    const bool pdfWorks = pdf.outputFormat() == QPrinter::PdfFormat;
    const int count = int(QPrinterInfo::availablePrinterNames().size()) + (pdfWorks ? 1 : 0);
    const bool hasDefault = !QPrinterInfo::defaultPrinterName().isEmpty() || pdfWorks;
    return message(count, hasDefault);
}
