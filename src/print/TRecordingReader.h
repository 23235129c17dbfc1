// Reads a recording made by TRecordingWriter and plays its pages back into any sink (the
// preview's page picture, a printer, another recording). Opening checks every record, so a
// damaged stream is answered with Corruption and is never played.
#pragma once

#include "TDrawSink.h"

#include "TPrintResult.h"

#include <QByteArray>
#include <QVector>

class TRecordingReader
{
public:
    // Checks and indexes `stream` (the reader keeps a shared copy). On failure the reader
    // holds no pages.
    TPrintResult open(const QByteArray &stream);

    int pageCount() const { return static_cast<int>(m_pages.size()); }
    // Paper size of page `index`, in its orientation. Requires: 0 <= index < pageCount().
    InchSize pageSize(int index) const { return m_pages[index].size; }

    // Plays page `index` (0-based) into `sink`, its beginPage() first. Requires: an open reader
    // and 0 <= index < pageCount().
    void replayPage(int index, TDrawSink &sink) const;
    // Plays every page in order.
    void replayAll(TDrawSink &sink) const;
    // Page `index` drawn on white at `dotsPerInch` (the screen's times the zoom). A null image
    // when the index is out of range or the picture would be too large to hold.
    QImage renderPage(int index, double dotsPerInch) const;

    // Largest sizes a recording may hold; anything bigger is Corruption.
    static constexpr double kMaxCoordinateInches = 100000.0;
    static constexpr double kMaxPaperInches = 1000.0;
    static constexpr double kMaxFontPoints = 2000.0;
    static constexpr quint32 kMaxImageSide = 16384;

private:
    struct Page {
        qsizetype begin = 0; // offset of the page's OpBeginPage record
        qsizetype end = 0;   // offset after its last record
        InchSize size;
    };
    // Decodes the records in [begin, end) and, when `sink` is set, plays them; answers
    // Corruption at the first record that does not fit.
    TPrintResult play(qsizetype begin, qsizetype end, TDrawSink *sink) const;

    QByteArray m_data;
    QVector<Page> m_pages;
};
