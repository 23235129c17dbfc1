#include "TReportFiler.h"

#include "TPaperSizes.h"
#include "TRecordingWriter.h"

#include <cmath>

TReportFiler::TReportFiler() : m_measure(1, 1, QImage::Format_ARGB32)
{
    const int dpm = static_cast<int>(std::lround(kRecordingDpi / 0.0254));
    m_measure.setDotsPerMeterX(dpm);
    m_measure.setDotsPerMeterY(dpm);
}

TReportFiler::~TReportFiler() = default;

bool TReportFiler::SetPaperSize(int code, double heightInches, double widthInches)
{
    if (heightInches > 0 && widthInches > 0) {
        m_paperWidth = widthInches;
        m_paperHeight = heightInches;
        return true;
    }
    if (!TPaperSizes::isKnownCode(code))
        return false;
    const QSizeF size = TPaperSizes::inches(TPaperSizes::pageSize(code, 0, 0));
    m_paperWidth = size.width();
    m_paperHeight = size.height();
    return true;
}

double TReportFiler::PaperWidth() const
{
    return Orientation() == poLandScape ? m_paperHeight : m_paperWidth;
}

double TReportFiler::PaperHeight() const
{
    return Orientation() == poLandScape ? m_paperWidth : m_paperHeight;
}

bool TReportFiler::beginDocument()
{
    if (!m_stream)
        return false;
    m_writer = std::make_unique<TRecordingWriter>(*m_stream);
    return true;
}

TDrawSink *TReportFiler::beginPage(int)
{
    if (!m_writer)
        return nullptr;
    m_writer->beginPage(PaperWidth(), PaperHeight());
    return m_writer.get();
}

bool TReportFiler::endDocument(bool)
{
    m_writer.reset();
    return true;
}
