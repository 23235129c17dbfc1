// Recordings: replay reproduces every call, and damaged recordings are refused, never played.
#include "TRecordingReader.h"
#include "QtPrinters.h"
#include "SampleJob.h"
#include "TPainterSink.h"
#include "TPdfPrinterService.h"
#include "TPrinterService.h"
#include "TRecordingWriter.h"
#include "TReportFiler.h"
#include "TReportPrinter.h"

#include <gtest/gtest.h>

#include <QtEndian>

#include <cstring>

namespace {

QByteArray recordSample(int pages, double width = 2.0, double height = 1.5)
{
    QByteArray stream;
    TReportFiler filer;
    filer.setStream(&stream);
    filer.SetPaperSize(0, {Inches(width), Inches(height)});
    filer.OnPrint = [pages](TBaseReport &job) { drawSampleJob(job, pages); };
    filer.RunJob();
    EXPECT_FALSE(filer.IsAborted());
    return stream;
}

// A printing service that draws one page onto an image, for comparing direct drawing with
// played-back recordings.
class ImageService : public TPrinterService
{
public:
    ImageService(QSizeF inches, int dpi) : m_inches(inches), m_dpi(dpi)
    {
        m_image = QImage(qRound(inches.width() * dpi), qRound(inches.height() * dpi), QImage::Format_RGB32);
        const int dpm = qRound(dpi / 0.0254);
        m_image.setDotsPerMeterX(dpm);
        m_image.setDotsPerMeterY(dpm);
        m_image.fill(Qt::white);
    }
    QImage m_image;
    QStringList printerNames() const override { return {QStringLiteral("Image")}; }
    int selectedPrinter() const override { return 0; }
    void setSelectedPrinter(int) override {}
    QString deviceName() const override { return QStringLiteral("Image"); }
    bool setPaperSize(int, InchSize) override { return false; }
    QSizeF paperSizeInches() const override { return m_inches; }
    QMarginsF unprintableInches() const override { return {}; }
    void setLandscape(bool) override {}
    bool isLandscape() const override { return false; }
    QPointF dotsPerInch() const override { return QPointF(m_dpi, m_dpi); }
    QStringList binNames() const override { return {}; }
    int currentBinIndex() const override { return -1; }
    bool selectBinByName(const QString &) override { return false; }
    QStringList paperNames() const override { return {}; }
    int currentPaperIndex() const override { return -1; }
    bool selectPaperByName(const QString &) override { return false; }
    QPaintDevice *beginDocument(const QString &, int) override { return &m_image; }
    bool newPage() override { return false; }
    void abortDocument() override {}
    bool finishDocument(bool) override { return true; }

private:
    QSizeF m_inches;
    int m_dpi;
};

} // namespace

TEST(TRecordingReader, ReplayIntoASecondRecorderGivesTheSameBytes)
{
    const QByteArray first = recordSample(3);
    TRecordingReader reader;
    ASSERT_TRUE(reader.open(first).ok());
    ASSERT_EQ(reader.pageCount(), 3);
    EXPECT_EQ(reader.pageSize(2), (InchSize{Inches(2.0), Inches(1.5)}));

    QByteArray second;
    TRecordingWriter writer(second);
    reader.replayAll(writer);
    EXPECT_EQ(writer.pageCount(), 3);
    EXPECT_EQ(second, first);
}

TEST(TRecordingReader, PlaybackOnAnImageEqualsDrawingDirectly)
{
    // The printer job measures text at the recording's resolution, so both place it alike.
    ImageService service(QSizeF(2.0, 1.5), TReportFiler::kRecordingDpi);
    TReportPrinter printer(service);
    printer.OnPrint = [](TBaseReport &job) { drawSampleJob(job, 1); };
    printer.RunJob();
    ASSERT_FALSE(printer.IsAborted());

    TRecordingReader reader;
    ASSERT_TRUE(reader.open(recordSample(1)).ok());
    const QImage played = reader.renderPage(0, TReportFiler::kRecordingDpi);
    ASSERT_EQ(played.size(), service.m_image.size());
    EXPECT_TRUE(played == service.m_image);
    // The sample draws something on every part of the page, so equality is not two blanks.
    EXPECT_NE(played.pixel(qRound(0.5 * 600), qRound(0.3 * 600)), qRgb(255, 255, 255));
}

TEST(TRecordingReader, PlaysOnePageWithTheStateItBeganWith)
{
    TRecordingReader reader;
    ASSERT_TRUE(reader.open(recordSample(2)).ok());
    SpySink spy;
    reader.replayPage(1, spy);
    ASSERT_GE(spy.calls.size(), 5u);
    EXPECT_EQ(spy.calls[0].op, "page");
    // A page restates pen, brush, font and text mode before drawing, so it plays on its own.
    EXPECT_EQ(spy.calls[1].op, "pen");
    EXPECT_EQ(spy.calls[2].op, "brush");
    EXPECT_EQ(spy.calls[3].op, "font");
    EXPECT_EQ(spy.calls[4].op, "opaque");
    bool sawPageTwoText = false;
    for (const SinkCall &c : spy.texts())
        sawPageTwoText |= c.text == QStringLiteral("Turned 2");
    EXPECT_TRUE(sawPageTwoText);
}

TEST(TRecordingReader, EveryTruncationIsRefusedOrEndsOnARecord)
{
    const QByteArray full = recordSample(2);
    TRecordingReader whole;
    ASSERT_TRUE(whole.open(full).ok());
    int accepted = 0;
    for (qsizetype n = 0; n < full.size(); ++n) {
        TRecordingReader reader;
        const TPrintResult st = reader.open(full.left(n));
        if (st.ok()) {
            ++accepted;
            // Whatever was accepted plays without trouble.
            reader.renderPage(reader.pageCount() - 1, 40);
        } else {
            EXPECT_EQ(st.code(), TPrintResult::Code::Corruption);
            EXPECT_EQ(reader.pageCount(), 0);
        }
    }
    EXPECT_GT(accepted, 0);
}

TEST(TRecordingReader, EveryFlippedByteIsRefusedOrPlaysSafely)
{
    const QByteArray full = recordSample(1, 1.0, 1.0);
    for (qsizetype i = 0; i < full.size(); ++i) {
        QByteArray damaged = full;
        damaged[i] = static_cast<char>(damaged[i] ^ 0xA5);
        TRecordingReader reader;
        if (reader.open(damaged).ok())
            for (int p = 0; p < reader.pageCount(); ++p)
                reader.renderPage(p, 20);
    }
    SUCCEED();
}

namespace {

// A recording of one page holding one record `op` with `payload`.
QByteArray oneRecord(quint8 op, const QByteArray &payload, qint64 lengthDelta = 0)
{
    QByteArray stream;
    {
        TRecordingWriter writer(stream);
        writer.beginPage({Inches(8.5), Inches(11.0)});
    }
    stream.append(static_cast<char>(op));
    const quint32 length = qToLittleEndian(static_cast<quint32>(payload.size() + lengthDelta));
    stream.append(reinterpret_cast<const char *>(&length), 4);
    stream.append(payload);
    return stream;
}

QByteArray f64(double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    bits = qToLittleEndian(bits);
    return QByteArray(reinterpret_cast<const char *>(&bits), 8);
}

QByteArray u32(quint32 v)
{
    v = qToLittleEndian(v);
    return QByteArray(reinterpret_cast<const char *>(&v), 4);
}

struct DamageCase {
    const char *name;
    QByteArray stream;
};

class DamagedRecording : public ::testing::TestWithParam<DamageCase>
{
};

} // namespace

TEST_P(DamagedRecording, IsCorruption)
{
    TRecordingReader reader;
    const TPrintResult st = reader.open(GetParam().stream);
    EXPECT_EQ(st.code(), TPrintResult::Code::Corruption) << GetParam().name;
    EXPECT_FALSE(st.message().isEmpty());
    EXPECT_EQ(reader.pageCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedRecording,
    ::testing::Values(
        DamageCase{"empty", QByteArray()}, DamageCase{"wrong magic", QByteArray("XXXX\x01\0\0\0", 8)},
        DamageCase{"unknown version", QByteArray("CVPR\x09\0\0\0", 8)},
        DamageCase{"drawing before a page", QByteArray("CVPR\x01\0\0\0", 8) + QByteArray(1, 6) + u32(32) +
                                                f64(0) + f64(0) + f64(1) + f64(1)},
        DamageCase{"unknown operation", oneRecord(99, QByteArray())},
        DamageCase{"length past the end", oneRecord(6, f64(0) + f64(0) + f64(1) + f64(1), 1)},
        DamageCase{"record longer than its fields", oneRecord(6, f64(0) + f64(0) + f64(1) + f64(1) + "x")},
        DamageCase{"not a number", oneRecord(6, f64(0) + f64(qQNaN()) + f64(1) + f64(1))},
        DamageCase{"coordinate out of range", oneRecord(9, f64(0) + f64(1e300) + f64(1) + f64(1))},
        DamageCase{"string past its record", oneRecord(10, QByteArray(1, 0) + f64(0) + f64(0) + f64(1) +
                                                               f64(1) + f64(0) + f64(0) + u32(1000) + "abc")},
        DamageCase{"font of no size",
                   oneRecord(4, u32(5) + "Arial" + f64(0) + QByteArray(1, 0) + u32(0) + f64(0))},
        DamageCase{"font turned a full circle",
                   oneRecord(4, u32(5) + "Arial" + f64(10) + QByteArray(1, 0) + u32(0) + f64(360))},
        DamageCase{"pen style unknown", oneRecord(2, u32(0) + QByteArray(1, 40) + u32(1) + QByteArray(1, 0))},
        DamageCase{"bitmap larger than its bytes",
                   oneRecord(11, f64(0) + f64(0) + f64(1) + f64(1) + u32(1000) + u32(1000) + u32(0))},
        DamageCase{"bitmap of one zero side",
                   oneRecord(11, f64(0) + f64(0) + f64(1) + f64(1) + u32(0) + u32(5))},
        DamageCase{"page of no width",
                   QByteArray("CVPR\x01\0\0\0", 8) + QByteArray(1, 1) + u32(16) + f64(0) + f64(11)},
        DamageCase{"truncated record header", oneRecord(6, QByteArray()).left(8 + 21 + 3)}));
