// The letter print run behind the "Print Status Screen": for each record of the address table,
// from the current one on, a copy of the template is merged with the record and laid out page
// by page on the printer's page, each copy of the letter on pages of its own. The run draws on
// the device of a printing service (a system printer or a PDF file) and reports each record to
// a TProgress. The status window owns one run; the batch command makes one per output file.
#pragma once

#include "TMergeFields.h"
#include "TPrinterCalibration.h"
#include "TProgress.h"

#include <QRect>
#include <QString>

#include <functional>

class QPainter;
class QPaintDevice;
class QTextDocument;
class TAddressTable;
class TPrinterService;

class TLetterPrint
{
public:
    // How a run ended. Failed: the printer could not be opened or failed, or the address file
    // could not be read; message() says which, and the document was discarded.
    enum class Outcome { Completed, Canceled, Failed };

    // The status window's texts.
    static QString completedText() { return QStringLiteral("Letter Print Completed!"); }
    static QString canceledText() { return QStringLiteral("Letter Print Canceled!"); }
    static QString cancelQuestion() { return QStringLiteral("Cancel print job?"); }
    // The status line after each record.
    static QString statusText(int pages) { return QStringLiteral("Printing page ") + QString::number(pages); }

    // `templateDocument` is the letter (with its page layout) and must outlive the run;
    // `service` prints it.
    TLetterPrint(const QTextDocument &templateDocument, TPrinterService &service);

    // 1 to 999 copies of each letter (values outside are brought inside).
    void setCopies(int copies);
    int copies() const { return m_copies; }
    // Only the current record prints.
    void setOnlyCurrentRecord(bool only) { m_onlyCurrent = only; }
    bool onlyCurrentRecord() const { return m_onlyCurrent; }
    // The document title the printing service is given.
    void setTitle(const QString &title) { m_title = title; }
    // When set, the service's paper is made the letter's own paper before the document starts
    // (for PDF files, so each page has the size the letter was written for).
    void setUsesLetterPaper(bool on) { m_letterPaper = on; }
    void setDates(const TMergeDates &dates) { m_dates = dates; }
    // The correction every page is drawn with (TPrinterCalibration::forService); none by
    // default.
    void setCalibration(const TPrinterCalibration &calibration) { m_calibration = calibration; }

    // Receives the status line after each record.
    std::function<void(const QString &)> onStatus;
    // Asked once the run's progress reports cancelled, after a record: true stops the run and
    // discards the document; false goes on (the asker clears its own request). Without one, a
    // cancelled progress stops the run at once.
    std::function<bool()> confirmCancel;

    // Prints the current record of `table` and, unless only the current record prints, every
    // visible record after it. Each record is one step of `progress`.
    // Requires: `table` open; the caller chose the records and the start (TOutputRecords).
    // The table is left on the last record printed.
    Outcome run(TAddressTable &table, TProgress &progress = TProgress::none());

    // After run(): the pages printed, all copies included, and the failure's message.
    int pageCount() const { return m_pages; }
    const QString &message() const { return m_message; }
    // The print rectangle of the last run, in device pixels.
    const QRect &printRect() const { return m_rect; }

    // Lays `document` out on `device` for pages the size of `rect` (device pixels) and draws
    // page `page` (from 0) into `rect` on `painter`. Returns the next page's index, or 0 when
    // `page` was the last one. Requires: `painter` active on `device`.
    static int drawPage(QTextDocument &document, QPaintDevice *device, QPainter &painter, const QRect &rect,
                        int page);
    // Lays `document` out for pages of `rect` on `device`; the number of pages (at least 1).
    static int layOut(QTextDocument &document, QPaintDevice *device, const QRect &rect);

private:
    bool startPage(bool &pageOpen);
    // Merges and prints the current record, `m_copies` times.
    bool PrintThisRecord(TAddressTable &table, QPainter &painter, QPaintDevice *device, bool &pageOpen);
    Outcome fail(QPainter &painter, const QString &message);

    const QTextDocument &m_template;
    TPrinterService &m_service;
    int m_copies = 1;
    bool m_onlyCurrent = false;
    bool m_letterPaper = false;
    QString m_title = QStringLiteral("Letters");
    TMergeDates m_dates = TMergeDates::system();
    TPrinterCalibration m_calibration;
    int m_pages = 0;
    bool m_anyPage = false;
    QString m_message;
    QRect m_rect;
};
