// Label sheets end to end: generated address files printed 30-up with an address block and a
// POSTNET on every label to PDF through the batch run (corvantis-batch labels), and a preview
// of the smaller one recorded and its first page drawn. Prints one line per figure in wall
// time with its limit, and the process's peak memory after each size, which is to stay under
// 200 MB and not grow with the list. LABEL_BENCH_RECORDS="1000" runs one size only.
#include "AddressGenerator.h"
#include "TAddressDataSource.h"
#include "TAddressSession.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGLabelPanel.h"
#include "TGOwner.h"
#include "TGPostNetBarCode.h"
#include "TLabelRun.h"
#include "TLabelSetups.h"
#include "TLabelsBatch.h"
#include "TPainterSink.h"
#include "TRecordingReader.h"
#include "TReportFiler.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextStream>

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

double nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// The process's peak resident memory since the last resetPeak() (VmHWM), in MB.
double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

// Starts the peak over from the memory in use now.
void resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

// The setup "Bench" of the default 30-up sheet: an address block and a POSTNET.
bool makeSetup(const QString &folder)
{
    TLabelSetups setups;
    if (!setups.open(folder).ok)
        return false;
    TLabelSetup setup = TLabelSetup::newSetupDefaults();
    setup.Description = QStringLiteral("Bench");
    setup.Binary = QStringLiteral("BIN00001.L");
    quint32 recno = 0;
    return setups
        .save(setup, recno,
              [](const QString &path) {
                  TGOwner owner;
                  TGLabelPanel surface(&owner, 96);
                  surface.setSize(252, 96);
                  auto *block = static_cast<TGDMultiLineAddressLabel *>(
                      surface.insertObject(std::make_unique<TGDMultiLineAddressLabel>(&owner)));
                  block->setLeft(10);
                  block->setTop(4);
                  block->setWidth(230);
                  block->setHeight(60);
                  auto *postnet = static_cast<TGPostNetBarCode *>(
                      surface.insertObject(std::make_unique<TGPostNetBarCode>(&owner)));
                  postnet->setLeft(10);
                  postnet->setTop(70);
                  postnet->ZipCodeField = QStringLiteral("ZIP");
                  postnet->AddressField = QStringLiteral("STREET");
                  return surface.SaveToFile(path);
              })
        .ok;
}

bool runSize(uint32_t records, bool preview)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/");
    const QString path = folder + QStringLiteral("DATA/ADD0001.DBF");
    QDir().mkpath(folder + QStringLiteral("DATA"));
    if (!AddressGenerator::writeFile(path.toStdString(), records) || !makeSetup(folder)) {
        std::fprintf(stderr, "cannot make the files\n");
        return false;
    }
    // The generator's index build has its own peak; the figure is the run's alone.
    resetPeak();
    const double atStart = peakMegabytes();
    const double limitMs = records <= 20000 ? 3000 : 30000;
    QString out, err;
    QTextStream o(&out), e(&err);
    const QString pdf = folder + QStringLiteral("labels.pdf");
    const double start = nowMs();
    const int code =
        TLabelsBatch::run({QStringLiteral("--setup"), QStringLiteral("Bench"), QStringLiteral("--all"),
                           QStringLiteral("--file"), path, QStringLiteral("--pdf"), pdf},
                          folder, o, e);
    const double done = nowMs();
    if (code != 0) {
        std::fprintf(stderr, "batch failed: %s\n", qPrintable(err));
        return false;
    }
    std::printf("labels to PDF, %u records: %s %.0f ms (limit %.0f ms), PDF %.1f MB, peak memory %.0f MB "
                "(limit 200 MB; %.0f MB in use before)\n",
                records, qPrintable(out.trimmed()), done - start, limitMs, QFileInfo(pdf).size() / 1048576.0,
                peakMegabytes(), atStart);

    if (preview) {
        TAddressSession session(folder + QStringLiteral("CORVAN.ini"));
        if (!session.table().OpenTableFile(path).ok ||
            !session.table().setQuery(QStringLiteral("!ISDEL")).ok || !session.table().first().ok)
            return false;
        TLabelSetups setups;
        if (!setups.open(folder).ok || setups.rows().isEmpty())
            return false;
        TLabelSetup setup;
        if (!setups.ReadLabelSetup(setups.rows().first().recno, setup).ok)
            return false;
        TGOwner owner;
        TGLabelPanel surface(&owner, 96);
        TAddressDataSource data(session.table());
        surface.setDataSet(&data);
        resetPeak();
        const double previewStart = nowMs();
        if (!TLabelRun::loadLayout(surface, setups.layoutPath(setup.Binary)).ok)
            return false;
        QByteArray stream;
        TReportFiler job;
        job.setStream(&stream);
        TLabelRunOptions options;
        options.setup = setup;
        options.previewing = true;
        (void)TLabelRun::prepareJob(job, setup);
        TLabelRun run(surface, session.table(), options);
        run.attach(job);
        job.RunJob();
        const double recorded = nowMs();
        TRecordingReader reader;
        if (!reader.open(stream).ok())
            return false;
        QImage page(850, 1100, QImage::Format_RGB32); // page width at 100 pixels per inch
        page.fill(Qt::white);
        {
            QPainter painter(&page);
            TPainterSink sink(painter, 100, 100);
            reader.replayPage(0, sink);
        }
        const double shown = nowMs();
        std::printf("preview, %d labels: recorded in %.0f ms (%d pages, %.1f MB), first page drawn %.0f ms, "
                    "total %.0f ms (limit 1000 ms), peak memory %.0f MB\n",
                    run.labels(), recorded - previewStart, reader.pageCount(), stream.size() / 1048576.0,
                    shown - recorded, shown - previewStart, peakMegabytes());
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // About 6 in 100 generated records are hidden, so these give 10,000 and 100,000 labels.
    std::vector<uint32_t> sizes{10660, 106600};
    if (qEnvironmentVariableIsSet("LABEL_BENCH_RECORDS"))
        sizes = {uint32_t(qEnvironmentVariableIntValue("LABEL_BENCH_RECORDS"))};
    for (size_t i = 0; i < sizes.size(); ++i)
        if (!runSize(sizes[i], i == 0))
            return 1;
    return 0;
}
