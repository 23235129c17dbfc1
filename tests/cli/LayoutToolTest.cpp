// The corvantis-layout command: dump of each list and object, rewrite to identical bytes, and
// the reader's message with exit status 1 for a file it cannot read.
#include "LayoutTool.h"
#include "BarcodeFixtures.h"
#include "LayoutStreamWriter.h"
#include "LayoutTestSupport.h"
#include "TGDataPanel.h"
#include "TGFIMBarCode.h"
#include "TGImage.h"
#include "TGLabelObjectFiler.h"
#include "TGOwner.h"
#include "TGPLabel.h"
#include "TReportSettingsList.h"
#include "TempDir.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int status;
    QString out;
    QString err;
};

ToolRun runTool(const QStringList &arguments)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = LayoutTool::run(arguments, o, e);
    o.flush();
    e.flush();
    return {status, out, err};
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class LayoutToolTest : public ::testing::Test
{
protected:
    void SetUp() override { TGClassRegistry::clear(); }
    QString path(const char *name) const { return QString::fromStdString(dir.file(name)); }
    TempDir dir;
};

TEST_F(LayoutToolTest, DumpListsEachObjectWithItsEntriesInStreamOrder)
{
    TGOwner owner;
    TGPLabel label(&owner);
    label.setName(QStringLiteral("Special4"));
    label.SetBounds(1, 2, 300, 40);
    label.setCaption(QStringLiteral("Hello"));
    label.setColorShadow(0x123456);
    TGImage image(&owner);
    image.setName(QStringLiteral("Component0"));
    // A 1 × 1 bitmap of 24 bits: 58 bytes.
    QImage pixel(1, 1, QImage::Format_RGB32);
    pixel.fill(Qt::red);
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    pixel.save(&buffer, "BMP");
    ASSERT_EQ(bmp.size(), 58);
    image.setPicture(TGPicture::fromBitmapFile(bmp));
    LayoutStreamWriter w;
    TGLabelObjectFiler::writeList(w, {&label, &image});
    writeFile(path("BIN00001.L"), w.bytes());

    const ToolRun r = runTool({QStringLiteral("dump"), path("BIN00001.L")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out,
              QStringLiteral("[Objects]\n"
                             "TGPLabel Special4\n"
                             "  Left=1\n  Top=2\n  Width=300\n  Height=40\n"
                             "  Locked=False\n  Unselectable=False\n"
                             "  colorShadow=$00123456\n  Caption=Hello\n"
                             "  Font.Color=clBlack\n  Font.Height=-13\n  Font.Name=Arial\n  Font.Style=[]\n"
                             "  Transparent=True\n  BackColor=clWhite\n"
                             "TGImage Component0\n"
                             "  Left=0\n  Top=0\n  Width=105\n  Height=105\n"
                             "  Locked=False\n  Unselectable=False\n"
                             "  Picture.Data=TBitmap, 58 bytes\n"));
}

TEST_F(LayoutToolTest, RewriteGivesTheSameBytesForEachKind)
{
    freshRegistry({TGSurfaceKind::Report});
    TGOwner owner;
    TGDataPanel header(&owner, 96), detail(&owner, 96), footer(&owner, 96);
    auto *text = detail.insertObject(std::make_unique<TGPLabel>(&owner));
    text->setName(QStringLiteral("Special9"));
    TGLabelObjectFiler filer;
    ASSERT_TRUE(filer.SaveReportBands(header, detail, footer, path("BIN00002.R"), [](LayoutStreamWriter &w) {
        TReportSettingsList::defaults(96).write(w);
    }));
    TGClassRegistry::clear();
    for (const char *name : {"BIN00002.R"}) {
        const QString out = path("out.R");
        const ToolRun r = runTool({QStringLiteral("rewrite"), path(name), out});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(readFile(out).toHex(), readFile(path(name)).toHex());
    }
    const ToolRun d = runTool({QStringLiteral("dump"), path("BIN00002.R")});
    EXPECT_TRUE(d.out.startsWith(QStringLiteral("[Header]\n[Detail]\nTGPLabel Special9\n")));
    EXPECT_TRUE(d.out.contains(QStringLiteral("[Settings]\n  8500\n  11000\n")));
}

TEST_F(LayoutToolTest, UnreadableFilesGiveTheReadersMessageAndStatusOne)
{
    TGOwner owner;
    TGFIMBarCode barcode(&owner);
    barcode.setName(QStringLiteral("F"));
    barcode.FIMType = fimTypeB;
    LayoutStreamWriter w;
    TGLabelObjectFiler::writeList(w, {&barcode});
    const QByteArray fim = w.bytes();
    writeFile(path("BIN00003.L"), fim);
    ToolRun r = runTool({QStringLiteral("dump"), path("BIN00003.L")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringLiteral("Class TGFIMBarCode not found\n"));
    // The same object is fine in an envelope layout.
    writeFile(path("BIN00003.E"), fim);
    r = runTool({QStringLiteral("rewrite"), path("BIN00003.E"), path("out.E")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(readFile(path("out.E")), fim);

    writeFile(path("BIN00004.R"), bytesOf({0x01, 0x00, 0x01, 0x00, 0x01, 0x00}));
    r = runTool({QStringLiteral("rewrite"), path("BIN00004.R"), path("out.R")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringLiteral("Stream read error\n"));
    EXPECT_FALSE(QFile::exists(path("out.R")));

    r = runTool({QStringLiteral("dump")});
    EXPECT_EQ(r.status, 2);
    r = runTool({QStringLiteral("dump"), path("missing.L")});
    EXPECT_EQ(r.status, 1);
}

TEST_F(LayoutToolTest, TheProgramHandsItsArgumentsAndStatusThrough)
{
    const QString program = QStringLiteral(CORVANTIS_BINARY_DIR "/corvantis-layout");
    ASSERT_TRUE(QFile::exists(program));
    QProcess usage;
    usage.start(program, {QStringLiteral("dump")});
    ASSERT_TRUE(usage.waitForFinished(30000));
    EXPECT_EQ(usage.exitCode(), 2);
    EXPECT_TRUE(usage.readAllStandardError().startsWith("usage: corvantis-layout dump FILE\n"));

    TGOwner owner;
    TGPLabel label(&owner);
    label.setName(QStringLiteral("Special1"));
    LayoutStreamWriter w;
    TGLabelObjectFiler::writeList(w, {&label});
    writeFile(path("BIN00005.L"), w.bytes());
    QProcess dump;
    dump.start(program, {QStringLiteral("dump"), path("BIN00005.L")});
    ASSERT_TRUE(dump.waitForFinished(30000));
    EXPECT_EQ(dump.exitCode(), 0);
    EXPECT_TRUE(dump.readAllStandardOutput().startsWith("[Objects]\nTGPLabel Special1\n"));
}

TEST_F(LayoutToolTest, BarcodePrintsTheBarsAsTheFixturesWriteThem)
{
    for (const FixtureRow &row : barcodeFixture(QStringLiteral("postnet.csv"))) {
        SCOPED_TRACE(row.value(QStringLiteral("id")).toStdString());
        const QString type = row.value(QStringLiteral("barcode_type"));
        QStringList args = {QStringLiteral("barcode"), QStringLiteral("postnet"),
                            row.value(QStringLiteral("zip_text"))};
        if (!row.value(QStringLiteral("address")).isEmpty())
            args << row.value(QStringLiteral("address"));
        args << QStringLiteral("--type") << type.mid(4, type.indexOf(QLatin1Char('D')) - 4);
        const ToolRun run = runTool(args);
        const QString bars = row.value(QStringLiteral("bars"));
        EXPECT_EQ(run.status, bars.isEmpty() ? 1 : 0);
        EXPECT_EQ(run.out.toStdString(),
                  bars.isEmpty() ? std::string() : QString(bars + QLatin1Char('\n')).toStdString());
    }
    for (const FixtureRow &row : barcodeFixture(QStringLiteral("fim.csv"))) {
        const ToolRun run =
            runTool({QStringLiteral("barcode"), QStringLiteral("fim"), row.value(QStringLiteral("letter"))});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out.toStdString(),
                  QString(row.value(QStringLiteral("grid17")) + QLatin1Char('\n')).toStdString());
    }
    const ToolRun imb = runTool({QStringLiteral("barcode"), QStringLiteral("imb"),
                                 QStringLiteral("01234567094987654321"), QStringLiteral("01234567891")});
    EXPECT_EQ(imb.status, 0);
    EXPECT_EQ(imb.out.toStdString(), "AADTFFDFTDADTAADAATFDTDDAAADDTDTTDAFADADDDTFFFDDTTTADFAAADFTDAADA\n");
}

TEST_F(LayoutToolTest, BarcodeRefusesWhatMakesNoBarcode)
{
    struct Case {
        QStringList args;
        int status;
    };
    const Case cases[] = {
        {{QStringLiteral("barcode"), QStringLiteral("imb"), QStringLiteral("0123")}, 1},
        {{QStringLiteral("barcode"), QStringLiteral("imb"), QStringLiteral("01234567094987654321"),
          QStringLiteral("1234")},
         1},
        {{QStringLiteral("barcode"), QStringLiteral("postnet"), QStringLiteral("K1A 0B1")}, 1},
        {{QStringLiteral("barcode"), QStringLiteral("postnet"), QStringLiteral("12345"),
          QStringLiteral("--type"), QStringLiteral("7")},
         2},
        {{QStringLiteral("barcode"), QStringLiteral("fim"), QStringLiteral("D")}, 2},
        {{QStringLiteral("barcode"), QStringLiteral("qr"), QStringLiteral("x")}, 2},
        {{QStringLiteral("barcode")}, 2},
    };
    for (const Case &c : cases) {
        const ToolRun run = runTool(c.args);
        EXPECT_EQ(run.status, c.status) << c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_FALSE(run.err.isEmpty());
    }
    // The program itself prints the bars.
    QProcess program;
    program.start(QStringLiteral(CORVANTIS_BINARY_DIR "/corvantis-layout"),
                  {QStringLiteral("barcode"), QStringLiteral("postnet"), QStringLiteral("12345")});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(program.readAllStandardOutput().toStdString(), "FHHHFFHHFHFHHFFHHFHHFHFHFHHFHFHF\n");
}

} // namespace
