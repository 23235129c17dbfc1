// A printing service with one printer, "PDF", that writes each document into a PDF file.
// Used where there is no system printer and by tests; owned by whoever made it.
#pragma once

#include "TPrinterService.h"

#include <QPageSize>

#include <memory>

class QPdfWriter;

class TPdfPrinterService : public TPrinterService
{
public:
    // Documents go to `fileName`, replacing it; `dotsPerInch` is the drawing resolution.
    explicit TPdfPrinterService(QString fileName, int dotsPerInch = 1200);
    ~TPdfPrinterService() override;

    void setFileName(const QString &fileName) { m_fileName = fileName; }
    const QString &fileName() const { return m_fileName; }

    QStringList printerNames() const override;
    int selectedPrinter() const override { return 0; }
    void setSelectedPrinter(int) override {}
    QString deviceName() const override;
    bool setPaperSize(int code, InchSize custom) override;
    QSizeF paperSizeInches() const override;
    QMarginsF unprintableInches() const override { return {}; }
    bool writesFile() const override { return true; }
    void setLandscape(bool landscape) override { m_landscape = landscape; }
    bool isLandscape() const override { return m_landscape; }
    QPointF dotsPerInch() const override { return QPointF(m_dpi, m_dpi); }
    QStringList binNames() const override;
    int currentBinIndex() const override { return 0; }
    bool selectBinByName(const QString &name) override;
    QStringList paperNames() const override;
    int currentPaperIndex() const override;
    bool selectPaperByName(const QString &name) override;
    QPaintDevice *beginDocument(const QString &title, int copies) override;
    bool newPage() override;
    void abortDocument() override {}
    bool finishDocument(bool aborted) override;

private:
    QString m_fileName;
    int m_dpi;
    QPageSize m_pageSize{QPageSize::Letter};
    bool m_landscape = false;
    std::unique_ptr<QPdfWriter> m_writer;
};
