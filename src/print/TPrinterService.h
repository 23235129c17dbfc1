// The printing service as print jobs see it: the installed printers, the selected one with
// its paper, source and orientation, the documents it prints, and its dialogs. One service
// is shared by every job of a run of the program (the main window owns it), so a printer or
// paper chosen through one job holds for the others. Windows supply the service behind the
// system's printers; TPdfPrinterService writes PDF files.
#pragma once

#include "Units.h"

#include <QMarginsF>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QStringList>

class QPaintDevice;

// What the print dialog hands back.
struct TPrintChoice {
    int copies = 1;
    int firstPage = 1;
    int lastPage = 9999;
};

class TPrinterService
{
public:
    virtual ~TPrinterService() = default;

    // Installed printers, in the service's order.
    virtual QStringList printerNames() const = 0;
    // Index into printerNames(), -1 when there is none.
    virtual int selectedPrinter() const = 0;
    virtual void setSelectedPrinter(int index) = 0;
    virtual QString deviceName() const = 0;

    // Selects a paper by its code (TPaperSizes), `custom` the portrait size of a custom code
    // (0); false when the printer refuses it.
    virtual bool setPaperSize(int code, InchSize custom) = 0;
    // The page size in inches, in the current orientation.
    virtual QSizeF paperSizeInches() const = 0;
    // Unprintable edges in inches (left, top, right, bottom).
    virtual QMarginsF unprintableInches() const = 0;
    virtual void setLandscape(bool landscape) = 0;
    virtual bool isLandscape() const = 0;
    // The device resolution in dots per inch (x, y).
    virtual QPointF dotsPerInch() const = 0;

    virtual QStringList binNames() const = 0;
    virtual int currentBinIndex() const = 0;
    virtual bool selectBinByName(const QString &name) = 0;
    virtual QStringList paperNames() const = 0;
    virtual int currentPaperIndex() const = 0;
    virtual bool selectPaperByName(const QString &name) = 0;

    // Starts a document; the device stays the service's and holds the first page. Null when
    // the printer cannot be opened.
    virtual QPaintDevice *beginDocument(const QString &title, int copies) = 0;
    // Moves the device to a new page; false when the service failed.
    virtual bool newPage() = 0;
    // Discards the document while its painter is still active.
    virtual void abortDocument() = 0;
    // Called after the painter ended: sends the document, or drops what is left when aborted.
    // False when the service failed.
    virtual bool finishDocument(bool aborted) = 0;

    // Whether documents go to a PDF file rather than to paper.
    virtual bool writesFile() const { return false; }

    // The printer set-up dialog; true when the user confirmed.
    virtual bool showPrinterSetup() { return false; }
    // The print dialog; true when the user confirmed, with the choice filled in.
    virtual bool showPrintDialog(TPrintChoice &) { return false; }
};
