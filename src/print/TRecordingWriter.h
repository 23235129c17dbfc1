// Records a job's drawing calls into a memory stream the caller owns, in the byte format
// described in FORMAT.md. TRecordingReader plays the stream back call for call.
#pragma once

#include "TDrawSink.h"

#include <QByteArray>

class TRecordingWriter : public TDrawSink
{
public:
    // Format identification at the start of every recording, and the version written.
    static constexpr char kMagic[4] = {'C', 'V', 'P', 'R'};
    static constexpr quint16 kVersion = 1;

    // Operation codes, one byte before each record.
    enum Op : quint8 {
        OpBeginPage = 1,
        OpPen = 2,
        OpBrush = 3,
        OpFont = 4,
        OpTextMode = 5,
        OpRectangle = 6,
        OpRoundRect = 7,
        OpEllipse = 8,
        OpLine = 9,
        OpText = 10,
        OpBitmap = 11,
        OpGraphic = 12,
        OpTextAt = 13, // text without a clip rectangle
    };

    // Clears `stream` and writes the header. The stream must outlive the writer.
    explicit TRecordingWriter(QByteArray &stream);

    void beginPage(InchSize paper) override;
    void setPen(const TPenSpec &pen) override;
    void setBrush(const TBrushSpec &brush) override;
    void setFont(const TFontSpec &font) override;
    void setTextOpaque(bool opaque) override;
    void rectangle(const TInchRect &r) override;
    void roundRect(const TInchRect &r, InchSize corner) override;
    void ellipse(const TInchRect &r) override;
    void line(InchPoint from, InchPoint to) override;
    void text(bool clipped, const TInchRect &clip, InchPoint at, const QString &text) override;
    void bitmap(const TInchRect &r, const QImage &image) override;
    void graphic(const TInchRect &r, const QPicture &picture) override;

    // Pages begun so far.
    int pageCount() const { return m_pages; }

private:
    // Starts a record: op code and a length placeholder; finish() fills in the length.
    void start(Op op);
    void finish();
    void putU8(quint8 v);
    void putU32(quint32 v);
    void putI32(qint32 v);
    void putF64(double v);
    void putRect(const TInchRect &r);
    void putString(const QString &s);
    void putImage(const QImage &image);

    QByteArray &m_out;
    qsizetype m_recordStart = 0;
    int m_pages = 0;
};
