// The system's printers as a printing service: the installed CUPS printers and, last, a PDF
// printer that writes a file, so a user without a printer still gets a PDF. The main window
// owns one for the whole run; every job shares it.
#pragma once

#include "TPrinterService.h"

#include <QPrinter>

class QWidget;

class TQtPrinterService : public TPrinterService
{
public:
    // The name of the PDF printer at the end of printerNames().
    static QString pdfPrinterName() { return QStringLiteral("Print to PDF"); }

    // `pdfFileName` is where the PDF printer writes (the print dialog can change it); dialogs
    // open over `parent`.
    explicit TQtPrinterService(const QString &pdfFileName, QWidget *parent = nullptr);

    QPrinter &printer() { return m_printer; }
    void setParentWidget(QWidget *parent) { m_parent = parent; }

    QStringList printerNames() const override;
    int selectedPrinter() const override;
    void setSelectedPrinter(int index) override;
    QString deviceName() const override;
    bool setPaperSize(int code, InchSize custom) override;
    QSizeF paperSizeInches() const override;
    QMarginsF unprintableInches() const override;
    void setLandscape(bool landscape) override;
    bool isLandscape() const override;
    QPointF dotsPerInch() const override;
    QStringList binNames() const override;
    int currentBinIndex() const override;
    bool selectBinByName(const QString &name) override;
    QStringList paperNames() const override;
    int currentPaperIndex() const override;
    bool selectPaperByName(const QString &name) override;
    QPaintDevice *beginDocument(const QString &title, int copies) override;
    bool newPage() override;
    void abortDocument() override;
    bool finishDocument(bool aborted) override;
    bool writesFile() const override { return isPdf(); }
    bool showPrinterSetup() override;
    bool showPrintDialog(TPrintChoice &choice) override;

private:
    bool isPdf() const { return m_printer.outputFormat() == QPrinter::PdfFormat; }
    QList<QPageSize> pageSizes() const;

    QPrinter m_printer;
    QString m_pdfFileName;
    QWidget *m_parent;
};
