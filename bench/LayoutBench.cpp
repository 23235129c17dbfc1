// Times layout streams and label printing: writing and reading a layout of 1,000 objects, and
// printing 3,000 labels of a 12-object layout into a preview recording (data refresh, print
// and counter step per label, as a label run does). Prints one line per figure, in CPU time.
#include "LayoutStreamWriter.h"
#include "TGClassRegistry.h"
#include "TGCounterLabel.h"
#include "TGDataPanel.h"
#include "TGDataSource.h"
#include "TGLabelObjectFiler.h"
#include "TGLabelShapes.h"
#include "TGLineShape.h"
#include "TGMultiLineLabel.h"
#include "TGOwner.h"
#include "TGPDLabel.h"
#include "TGPLabel.h"
#include "TReportFiler.h"

#include <QGuiApplication>

#include <cstdio>
#include <ctime>

namespace {

double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

class Record : public TGDataSource
{
public:
    int row = 0;
    bool isOpen() const override { return true; }
    int fieldCount() const override { return 3; }
    QString fieldName(int i) const override { return QStringList{"LNAME", "CITY", "ZIP"}[i]; }
    QString displayLabel(int i) const override { return QStringList{"Last Name", "City", "Zip"}[i]; }
    QString fieldText(int i) const override
    {
        return i == 0   ? QStringLiteral("Name %1").arg(row)
               : i == 1 ? QStringLiteral("Springfield")
                        : QStringLiteral("94110");
    }
    bool isTextField(int) const override { return true; }
    int fieldTag(int) const override { return 0; }
    bool isFieldVisible(int) const override { return true; }
};

void fill(TGBasePanel &surface, TGOwner &owner, int count)
{
    for (int i = 0; i < count; ++i) {
        TGGraphicControl *o = nullptr;
        switch (i % 6) {
        case 0:
            o = surface.insertObject(std::make_unique<TGPLabel>(&owner));
            break;
        case 1: {
            auto *f = static_cast<TGPDLabel *>(surface.insertObject(std::make_unique<TGPDLabel>(&owner)));
            f->DataFieldDescript = QStringList{"Last Name", "City", "Zip"}[(i / 6) % 3];
            o = f;
            break;
        }
        case 2:
            o = surface.insertObject(std::make_unique<TGCounterLabel>(&owner));
            break;
        case 3:
            o = surface.insertObject(std::make_unique<TGLineShape>(&owner));
            break;
        case 4:
            o = surface.insertObject(std::make_unique<TGLabelShapes>(&owner));
            break;
        default: {
            auto *m = static_cast<TGMultiLineLabel *>(
                surface.insertObject(std::make_unique<TGMultiLineLabel>(&owner)));
            m->setItems({QStringLiteral("one"), QStringLiteral("two")});
            o = m;
        }
        }
        o->setName(QStringLiteral("Special%1").arg(i + 1));
        o->SetBounds((i * 7) % 300, (i * 11) % 90, 60, 15);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TGClassRegistry::registerKind(TGSurfaceKind::Label);

    TGOwner owner;
    TGDataPanel big(&owner, 96);
    fill(big, owner, 1000);
    double t = cpuMs();
    QByteArray bytes;
    for (int i = 0; i < 20; ++i) {
        LayoutStreamWriter w;
        TGLabelObjectFiler::writeList(w, {big.objects().begin(), big.objects().end()});
        bytes = w.bytes();
    }
    std::printf("%-56s %10.2f ms  (%lld bytes)\n", "write a layout of 1000 objects", (cpuMs() - t) / 20,
                static_cast<long long>(bytes.size()));
    t = cpuMs();
    for (int i = 0; i < 20; ++i) {
        TGOwner readOwner;
        TGDataPanel read(&readOwner, 96);
        if (!TGLabelObjectFiler::readBytes(bytes, &readOwner, read, false))
            return 1;
    }
    std::printf("%-56s %10.2f ms\n", "read a layout of 1000 objects", (cpuMs() - t) / 20);

    TGOwner labelOwner;
    TGDataPanel label(&labelOwner, 96);
    label.setSize(252, 96);
    fill(label, labelOwner, 12);
    Record record;
    label.setDataSet(&record);
    constexpr int kLabels = 3000;
    QByteArray stream;
    TReportFiler filer;
    filer.setStream(&stream);
    filer.OnPrint = [&](TBaseReport &job) {
        label.setPrinting(true);
        for (int i = 0; i < kLabels; ++i) {
            if (i > 0 && i % 30 == 0)
                job.StartNewPage();
            record.row = i;
            label.RefreshData();
            label.PrintObjects(job, {Inches(0.2 + ((i / 10) % 3) * 2.75), Inches(0.5 + (i % 10) * 1.0)});
            label.AdvanceCounters();
        }
        label.setPrinting(false);
    };
    t = cpuMs();
    filer.RunJob();
    const double printMs = cpuMs() - t;
    std::printf("%-56s %10.1f ms  (%.3f ms a label)\n", "record 3000 labels of 12 objects", printMs,
                printMs / kLabels);
    return 0;
}
