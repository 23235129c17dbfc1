#include "TReportBands.h"

#include "TReportDefinitions.h"

#include <algorithm>

TReportBands::TReportBands(int pixelsPerInch, const TAddressTable *table)
    : header(&owner, pixelsPerInch > 0 ? pixelsPerInch : 96),
      detail(&owner, pixelsPerInch > 0 ? pixelsPerInch : 96),
      footer(&owner, pixelsPerInch > 0 ? pixelsPerInch : 96), m_dpi(pixelsPerInch > 0 ? pixelsPerInch : 96)
{
    header.PAnelKind = TReportPanel::rpkHeader;
    detail.PAnelKind = TReportPanel::rpkDetail;
    footer.PAnelKind = TReportPanel::rpkFooter;
    settings = TReportSettings::defaults(m_dpi);
    if (table) {
        m_dataSource = std::make_unique<TAddressDataSource>(*table);
        detail.setDataSet(m_dataSource.get());
    }
    applySettings();
}

void TReportBands::reset()
{
    header.ClearObjects();
    detail.ClearObjects();
    footer.ClearObjects();
    settings = TReportSettings::defaults(m_dpi);
    applySettings();
}

TResult TReportBands::load(const TReportDefinitions &definitions, const TReportRow &row)
{
    settings = TReportSettings::defaults(m_dpi);
    const TResult loaded = definitions.LoadReport(row, &owner, header, detail, footer, settings);
    applySettings();
    detail.RefreshData();
    return loaded;
}

void TReportBands::applySettings()
{
    const int width = std::max(1, settings.bandWidth());
    header.setSize(width, settings.headerHeight);
    detail.setSize(width, settings.detailHeight);
    footer.setSize(width, settings.footerHeight);
    TGFont font(settings.defaultFont.name, settings.defaultFont.size);
    font.setStyle((settings.defaultFont.bold ? fsBold : 0) | (settings.defaultFont.italic ? fsItalic : 0));
    for (TReportPanel *band : {&header, &detail, &footer})
        band->setFont(font);
}
