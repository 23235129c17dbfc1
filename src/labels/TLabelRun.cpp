#include "TLabelRun.h"

#include "TAddressTable.h"
#include "TBaseReport.h"
#include "TGLabelPanel.h"
#include "TLabelSetups.h"
#include "TPresortReader.h"
#include "TReportPrinter.h"

#include <QColor>
#include <QFile>

#include <cmath>
#include <optional>
#include <utility>

namespace {

// Sets the surface's Printing for the run and clears it however the run ends.
class TPrintingGuard
{
public:
    explicit TPrintingGuard(TGLabelPanel &surface) : m_surface(surface) { m_surface.setPrinting(true); }
    ~TPrintingGuard() { m_surface.setPrinting(false); }
    TPrintingGuard(const TPrintingGuard &) = delete;
    TPrintingGuard &operator=(const TPrintingGuard &) = delete;

private:
    TGLabelPanel &m_surface;
};

// Pen, brush and font every label and header begins with.
void selectLabelTools(TBaseReport &job)
{
    job.SelectPen(Qt::black, TPenStyle::Solid, -1);
    job.SelectBrush(Qt::white, TBrushStyle::Clear);
    job.SelectFont(QStringLiteral("Arial"), 8);
}

} // namespace

TLabelRun::TLabelRun(TGLabelPanel &surface, TAddressTable &table, const TLabelRunOptions &options)
    : m_surface(surface), m_table(table), m_options(options)
{
    m_options.PositionMask = sizedMask(m_options.PositionMask, m_options.setup.labelCount());
    if (m_options.NumberOfEach < 1)
        m_options.NumberOfEach = 1;
    if (m_options.onlyCurrent)
        m_options.presort = false; // one record has no groups
    if (m_options.presort)
        m_options.NumberOfEach = 1;
}

QVector<bool> TLabelRun::sizedMask(const QVector<bool> &mask, int count)
{
    QVector<bool> sized = mask.mid(0, qMin<qsizetype>(mask.size(), qMax(count, 0)));
    while (sized.size() < count)
        sized.append(true);
    return sized;
}

bool TLabelRun::hasSelectedPosition(const QVector<bool> &mask, int count)
{
    for (int i = 0; i < count && i < mask.size(); ++i)
        if (mask.at(i))
            return true;
    return false;
}

TResult TLabelRun::loadLayout(TGLabelPanel &surface, const QString &layoutPath)
{
    surface.ClearObjects();
    if (layoutPath.isEmpty() || !QFile::exists(layoutPath))
        return TResult::failure(TLabelSetups::removedFileMessage(), xbase::StatusCode::NotFound);
    const TResult loaded = surface.LoadFromFile(layoutPath);
    if (!loaded)
        surface.ClearObjects(); // a half-read layout would print incomplete labels
    return loaded;
}

bool TLabelRun::prepareJob(TBaseReport &job, const TLabelSetup &setup)
{
    job.setTitle(QStringLiteral("Corvantis"));
    job.setUnits(TBaseReport::unInch);
    job.setUnitsFactor(1.0);
    job.setLineHeightMethod(TBaseReport::lhmFont);
    const bool landscape = setup.isLandscape();
    // The sheet upright: a landscape code stores the sheet as it lies.
    const double width = landscape ? setup.SheetDepth : setup.SheetWidth;
    const double height = landscape ? setup.SheetWidth : setup.SheetDepth;
    const QString code = setup.PaperSize.trimmed().toUpper();
    int paper = 0;
    if (code == QLatin1String("LTR") || code == QLatin1String("LTRL"))
        paper = 1;
    else if (code == QLatin1String("A4") || code == QLatin1String("A4L"))
        paper = 9;
    else if (code == QLatin1String("A5"))
        paper = 11;
    bool confirmed = true;
    if (paper == 0 && job.PrinterDeviceName().toUpper().contains(QLatin1String("HPFDJ")))
        confirmed = false;
    else
        confirmed = job.SetPaperSize(paper, {Inches(width), Inches(height)});
    job.setOrientation(landscape ? TBaseReport::poLandScape : TBaseReport::poPortrait);
    if (!confirmed)
        return false;
    const auto hundredths = [](double inches) { return std::round(inches * 100.0); };
    double w = hundredths(job.PaperWidth().value);
    double h = hundredths(job.PaperHeight().value);
    if (landscape)
        std::swap(w, h);
    return std::abs(h - height * 100.0) <= 5 && std::abs(w - width * 100.0) <= 5;
}

QString TLabelRun::paperQuestion(const TLabelSetup &setup)
{
    const bool landscape = setup.isLandscape();
    const double width = landscape ? setup.SheetDepth : setup.SheetWidth;
    const double height = landscape ? setup.SheetWidth : setup.SheetDepth;
    return QStringLiteral("Unable to confirm that the paper size was set to\r\n\r\n") +
           QString::number(width, 'f', 2) + QStringLiteral("\" by ") + QString::number(height, 'f', 2) +
           QStringLiteral("\"\r\n\r\n") + QStringLiteral("(you may have the wrong printer selected)") +
           QStringLiteral("\r\n\r\n") + QStringLiteral("Would you like to try printing anyways?");
}

void TLabelRun::attach(TBaseReport &job)
{
    if (auto *printer = dynamic_cast<TReportPrinter *>(&job))
        printer->setCalibration(m_options.calibration);
    job.OnBeforePrint = [this](TBaseReport &j) { BeforePrintLabels(j); };
    job.OnPrint = [this](TBaseReport &j) { PrintLabels(j); };
    job.OnPrintPage = nullptr;
    job.OnAfterPrint = nullptr;
    job.OnPrintHeader = nullptr;
    job.OnNewPage = nullptr;
}

void TLabelRun::BeforePrintLabels(TBaseReport &job)
{
    m_labels = 0;
    m_headers = 0;
    m_result = TResult::success();
    job.setStatusFormat(m_options.previewing ? QStringLiteral("Preparing Preview Page %p\r%0\r%1")
                                             : QStringLiteral("Printing Page %p\r%0\r%1"));
    job.StatusText().clear();
    job.StatusText() << QString() << QString();
}

void TLabelRun::PrintLabels(TBaseReport &job)
{
    m_labels = 0;
    m_headers = 0;
    m_result = TResult::success();
    const TLabelSetup &s = m_options.setup;
    const int across = s.NbrAcross;
    const int down = s.NbrDown;
    const int count = s.labelCount();
    if (!hasSelectedPosition(m_options.PositionMask, count)) {
        m_result = TResult::failure(noPositionMessage());
        job.AbortJob();
        return;
    }

    std::optional<TPresortReader> reader;
    TPresortStep step;
    bool atEnd = !m_table.hasRecord();
    const auto nextSorted = [&]() {
        const TResult moved = reader->GetNextSortedZip(step);
        if (!moved)
            m_result = moved;
        atEnd = step.kind == TPresortStep::Kind::End;
    };
    if (m_options.presort) {
        reader.emplace(m_table, m_options.presortRange);
        const TResult opened = m_options.presortPath.isEmpty() ? reader->begin(m_options.presortLines)
                                                               : reader->open(m_options.presortPath);
        if (!opened) {
            m_result = opened;
            job.AbortJob();
            return;
        }
        nextSorted();
    }

    TPrintingGuard printing(m_surface);
    selectLabelTools(job);
    const auto stopped = [&job] { return job.IsAborted() || job.progress().cancelled(); };
    int c = -1;
    int r = 0;
    int copy = 0;
    bool firstSheet = true;
    while (!atEnd && !stopped()) {
        ++c;
        if (c + 1 > across) {
            c = 0;
            ++r;
        }
        if (r + 1 > down) {
            job.StartNewPage();
            r = 0;
            c = 0;
            firstSheet = false;
        }
        if (firstSheet && r * across + c < m_options.startPosition)
            continue; // used already on a sheet fed again
        if (!m_options.PositionMask.at(r * across + c))
            continue; // the position stays empty; the record waits for the next one
        const QPointF origin = s.labelOrigin(r * across + c);
        const double x = origin.x();
        const double y = origin.y();
        const bool header = reader && step.kind == TPresortStep::Kind::Header;
        if (header) {
            // The label's own box: a pitch of 0 (one column or row) would leave no room.
            selectLabelTools(job);
            job.DrawTextInRect(
                TInchRect::between({Inches(x), Inches(y)}, {Inches(x + s.LblWidth), Inches(y + s.LblHeight)}),
                {Inches(x + 0.15), Inches(y + s.LblHeight * 0.3333)}, step.header);
            ++m_headers;
        } else {
            m_surface.RefreshData();
            m_surface.PrintObjects(job, {Inches(x), Inches(y)});
            m_surface.AdvanceCounters();
            ++m_labels;
            ++copy;
        }
        job.progress().step();
        if (!header && copy < m_options.NumberOfEach)
            continue;
        copy = 0;
        if (reader) {
            nextSorted();
        } else if (m_options.onlyCurrent) {
            atEnd = true;
        } else {
            const TResult moved = m_table.next();
            if (!moved) {
                if (!moved.isNotFound())
                    m_result = moved;
                atEnd = true;
            }
        }
    }
}
