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

bool TReportFiler::SetPaperSize(int code, InchSize size)
{
    if (size.height > Inches(0) && size.width > Inches(0)) {
        m_paper = size;
        return true;
    }
    if (!TPaperSizes::isKnownCode(code))
        return false;
    const QSizeF known = TPaperSizes::inches(TPaperSizes::pageSize(code));
    m_paper = {Inches(known.width()), Inches(known.height())};
    return true;
}

Inches TReportFiler::PaperWidth() const
{
    return Orientation() == poLandScape ? m_paper.height : m_paper.width;
}

Inches TReportFiler::PaperHeight() const
{
    return Orientation() == poLandScape ? m_paper.width : m_paper.height;
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
    m_writer->beginPage({PaperWidth(), PaperHeight()});
    return m_writer.get();
}

bool TReportFiler::endDocument(bool)
{
    m_writer.reset();
    return true;
}
