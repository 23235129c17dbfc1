#include "TEnvelopeRun.h"

#include "TAddressTable.h"
#include "TBaseReport.h"
#include "TEnvelopePanel.h"
#include "TEnvelopePlacement.h"
#include "TReportPrinter.h"

#include <QColor>

namespace {

// Sets the surface's Printing for the run and clears it however the run ends.
class TPrintingGuard
{
public:
    explicit TPrintingGuard(TEnvelopePanel &surface) : m_surface(surface) { m_surface.setPrinting(true); }
    ~TPrintingGuard() { m_surface.setPrinting(false); }
    TPrintingGuard(const TPrintingGuard &) = delete;
    TPrintingGuard &operator=(const TPrintingGuard &) = delete;

private:
    TEnvelopePanel &m_surface;
};

} // namespace

TEnvelopeRun::TEnvelopeRun(TEnvelopePanel &surface, TAddressTable &table, const TEnvelopeRunOptions &options)
    : m_surface(surface), m_table(table), m_options(options)
{
}

bool TEnvelopeRun::prepareJob(TBaseReport &job, int code, InchSize envelope, const TEnvelopeFeedValues &feed)
{
    job.setTitle(QStringLiteral("Corvantis"));
    job.setUnits(TBaseReport::unInch);
    job.setUnitsFactor(1.0);
    job.setMarginLeft(Inches(0.5));
    job.setLineHeightMethod(TBaseReport::lhmFont);
    // Papers are handed over upright: the envelope's short side is the paper's width.
    const InchSize upright{envelope.height, envelope.width};
    bool selected = job.SetPaperSize(code, upright);
    if (!selected)
        selected = job.SetPaperSize(0, upright);
    job.setOrientation(feed.Orientation == TEnvelopeFeedValues::Landscape ? TBaseReport::poLandScape
                                                                          : TBaseReport::poPortrait);
    return selected;
}

void TEnvelopeRun::attach(TBaseReport &job)
{
    if (auto *printer = dynamic_cast<TReportPrinter *>(&job))
        printer->setCalibration(m_options.calibration);
    job.OnBeforePrint = [this](TBaseReport &j) { BeforePrintEnvelope(j); };
    job.OnPrint = [this](TBaseReport &j) { PrintEnvelope(j); };
    job.OnPrintPage = nullptr;
    job.OnAfterPrint = nullptr;
    job.OnPrintHeader = nullptr;
    job.OnNewPage = nullptr;
}

void TEnvelopeRun::BeforePrintEnvelope(TBaseReport &job)
{
    m_offset = {Inches(0), Inches(0)};
    m_count = 0;
    job.setStatusFormat(QStringLiteral("Printing Page %p\r%0\r%1"));
    job.StatusText().clear();
    job.StatusText() << QString() << QString();
}

void TEnvelopeRun::PrintEnvelope(TBaseReport &job)
{
    m_offset =
        TEnvelopePlacement::offset({job.PaperWidth(), job.PaperHeight()}, m_options.envelope, m_options.feed);
    job.setMarginLeft(Inches(0));
    job.setMarginTop(Inches(0));
    TPrintingGuard printing(m_surface);
    m_count = 0;
    const auto stopped = [&job] { return job.IsAborted() || job.progress().cancelled(); };
    while (m_table.hasRecord() && !stopped()) {
        if (m_count > 0)
            job.StartNewPage();
        if (m_options.previewing) {
            job.SelectPen(Qt::red, TPenStyle::Dot, -1);
            job.SelectBrush(Qt::white, TBrushStyle::Clear);
            job.DrawRectangle(
                {job.UnprintableLeft(), job.UnprintableTop()},
                {job.PaperWidth() - job.UnprintableRight(), job.PaperHeight() - job.UnprintableBottom()});
            job.SelectPen(Qt::black, TPenStyle::Solid, -1);
        }
        m_surface.RefreshData();
        m_surface.PrintObjects(job, m_offset);
        ++m_count;
        if (m_options.onlyCurrent)
            break;
        if (!m_table.next())
            break;
    }
}
