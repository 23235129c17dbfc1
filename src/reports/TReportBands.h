// The three band surfaces of one designed report (header, detail, footer), the names their
// objects bear, the detail band's data source over the address table, and the report's
// settings: what the report window hands its designer and what a print run of a designed
// report draws. Created by the report window (or the batch run) at the one whole number of
// pixels per inch the session uses for every length of the report; freed with it.
#pragma once

#include "TAddressDataSource.h"
#include "TGOwner.h"
#include "TReportPanel.h"
#include "TReportSettings.h"
#include "TResult.h"

#include <memory>

class TAddressTable;
class TReportDefinitions;
struct TReportRow;

class TReportBands
{
public:
    // `table`, when given, feeds the detail band's fields and must outlive the bands.
    explicit TReportBands(int pixelsPerInch, const TAddressTable *table = nullptr);

    int pixelsPerInch() const { return m_dpi; }
    TGOwner owner;
    TReportPanel header;
    TReportPanel detail;
    TReportPanel footer;
    TReportSettings settings;

    // A new report: no objects, the default settings.
    void reset();
    // LoadReport of `row` into the bands and settings (see TReportDefinitions).
    TResult load(const TReportDefinitions &definitions, const TReportRow &row);
    // Sizes the three surfaces to the band width and their heights (header, detail, footer) and
    // gives them the default font of the settings for new text.
    void applySettings();

private:
    int m_dpi;
    std::unique_ptr<TAddressDataSource> m_dataSource;
};
