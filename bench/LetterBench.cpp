// Times the letter logic a print run of 1,000 one-page letters rests on: reading the
// template (a letterhead picture and a page of text with merge fields), copying it and merging
// one record into the copy for each of 1,000 records, writing the 1,000 merged letters as one
// RTF text and reading that back. Prints one line per figure in CPU time, and the peak memory.
// With a file name as its argument it also writes the merged RTF there, so another program's
// conversion of the same text can be timed beside ours.
#include "LetterBenchTemplate.h"
#include "TLetterDocument.h"
#include "TLetterMerge.h"
#include "TMergeRecordMap.h"
#include "TRtfPicture.h"
#include "TRtfReader.h"
#include "TRtfWriter.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextImageFormat>
#include <QUrl>

#include <sys/resource.h>

#include <cstdio>
#include <ctime>
#include <memory>

namespace {

constexpr int kLetters = 1000;

// CPU time of this process: other programs sharing the machine do not count.
class CpuTimer
{
public:
    CpuTimer() { restart(); }
    void restart() { m_start = now(); }
    double ms() const { return now() - m_start; }

private:
    static double now()
    {
        timespec ts{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
        return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
    }
    double m_start = 0;
};

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

} // namespace

using letterbench::record;
using letterbench::templateRtf;

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QByteArray rtf = templateRtf();
    const TMergeDates dates{QDate(2026, 3, 5), QStringLiteral("M/d/yy"), QLocale(QLocale::English)};

    CpuTimer t;
    QTextDocument templateDoc;
    for (int i = 0; i < 100; ++i) {
        if (!TRtfReader::read(rtf, templateDoc).ok())
            return 1;
    }
    const double readMs = t.ms() / 100;

    t.restart();
    QByteArray written;
    for (int i = 0; i < 100; ++i)
        written = TRtfWriter::write(templateDoc);
    const double writeMs = t.ms() / 100;

    // Each letter is merged into its own copy of the template, as the print run does, and
    // added to one document of all the letters, each on a page of its own.
    QTextDocument all;
    QTextCursor end(&all);
    const QTextBlock first = templateDoc.begin();
    const QTextImageFormat head = [&] {
        for (auto it = first.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat())
                return it.fragment().charFormat().toImageFormat();
        }
        return QTextImageFormat();
    }();
    all.addResource(QTextDocument::ImageResource, QUrl(head.name()),
                    templateDoc.resource(QTextDocument::ImageResource, QUrl(head.name())));
    double mergeMs = 0;
    double collectMs = 0;
    for (int i = 0; i < kLetters; ++i) {
        t.restart();
        const std::unique_ptr<QTextDocument> letter = TLetterDocument::copy(templateDoc);
        TLetterMerge::ReplaceTokens(*letter, record(i), dates);
        mergeMs += t.ms();
        t.restart();
        if (i > 0) {
            QTextBlockFormat newPage = first.blockFormat();
            newPage.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            end.insertBlock(newPage);
        }
        end.insertFragment(QTextDocumentFragment(letter.get()));
        collectMs += t.ms();
    }

    t.restart();
    const QByteArray merged = TRtfWriter::write(all);
    const double writeAllMs = t.ms();
    t.restart();
    QTextDocument reread;
    if (!TRtfReader::read(merged, reread).ok())
        return 1;
    const double readAllMs = t.ms();

    if (argc > 1) {
        QFile out(QString::fromLocal8Bit(argv[1]));
        if (!out.open(QIODevice::WriteOnly) || out.write(merged) != merged.size())
            return 1;
    }

    std::printf("%-60s %10.2f ms  (%lld bytes)\n", "read the one-page template with its letterhead", readMs,
                static_cast<long long>(rtf.size()));
    std::printf("%-60s %10.2f ms\n", "write the template", writeMs);
    std::printf("%-60s %10.1f ms  (%.3f ms a letter)\n", "copy the template and merge 1,000 records", mergeMs,
                mergeMs / kLetters);
    std::printf("%-60s %10.1f ms\n", "gather the 1,000 merged letters in one document", collectMs);
    std::printf("%-60s %10.1f ms  (%.1f MB)\n", "write the 1,000 merged letters as RTF", writeAllMs,
                merged.size() / 1e6);
    std::printf("%-60s %10.1f ms\n", "read the 1,000 merged letters back", readAllMs);
    std::printf("%-60s %10.1f MB\n", "peak memory", peakMegabytes());
    return written == rtf ? 0 : 1;
}
