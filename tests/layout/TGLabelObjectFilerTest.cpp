// Layout files byte for byte: the line example, naming on read, paste offsets, report files,
// the class registry, the reader's messages, and identical bytes after write-read-write for
// every class.
#include "TGLabelObjectFiler.h"
#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "LayoutTestSupport.h"
#include "TGBasePanel.h"
#include "TGCounterLabel.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGDMultiLineLabel.h"
#include "TGDataPanel.h"
#include "TGDateTimeLabel.h"
#include "TGFIMBarCode.h"
#include "TGImage.h"
#include "TGIntelligentMailBarCode.h"
#include "TGLabelShapes.h"
#include "TGLineShape.h"
#include "TGMultiLineLabel.h"
#include "TGOwner.h"
#include "TGPDLabel.h"
#include "TGPLabel.h"
#include "TGPageNumberLabel.h"
#include "TGPostNetBarCode.h"
#include "TGSymbolLabel.h"
#include "TLayoutFileName.h"
#include "TReportSettingsList.h"
#include "TempDir.h"
#include "Trpshapes.h"

#include <QBuffer>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

namespace {

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

// The line of the format's example: Special1 at (10, 20), 100 × 15, vertical, default pen.
const QByteArray kLineExample =
    bytesOf({0x01, "TPF0",   0x0B,        "TGLineShape", 0x08, "Special1",   0x04,    "Left", 0x02,
             0x0A, 0x03,     "Top",       0x02,          0x14, 0x05,         "Width", 0x02,   0x64,
             0x06, "Height", 0x02,        0x0F,          0x06, "Locked",     0x08,    0x0C,   "Unselectable",
             0x08, 0x09,     "LineStyle", 0x07,          0x0A, "stVertical", 0x00,    0x00,   0x00});

class FilerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        freshRegistry({TGSurfaceKind::Label});
        surface.setSize(400, 200);
    }
    QString path(const char *name) const { return QString::fromStdString(dir.file(name)); }

    TempDir dir;
    TGOwner owner;
    TGDataPanel surface{&owner, 96};
};

TEST_F(FilerTest, LineExampleGivesExactlyTheFormatsBytes)
{
    auto line = std::make_unique<TGLineShape>(&owner);
    line->setName(QStringLiteral("Special1"));
    line->SetBounds(10, 20, 100, 15);
    line->LineStyle = stVertical;
    TGLabelObjectFiler filer;
    ASSERT_TRUE(filer.SaveObject(*line, path("line.L")));
    EXPECT_EQ(readFile(path("line.L")).toHex(), kLineExample.toHex());
}

TEST_F(FilerTest, ReadingNamesTheObjectAfterTheFirstFreeComponentNumber)
{
    writeFile(path("line.L"), kLineExample);
    owner.addName(QStringLiteral("Component0"));
    ASSERT_TRUE(surface.LoadFromFile(path("line.L")));
    ASSERT_EQ(surface.objects().size(), 1u);
    auto *line = dynamic_cast<TGLineShape *>(surface.objects()[0]);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->Name(), QStringLiteral("Component1"));
    EXPECT_EQ(line->BoundsRect(), QRect(10, 20, 100, 15));
    EXPECT_EQ(line->LineStyle, stVertical);
    EXPECT_TRUE(line->isWired());
    EXPECT_EQ(line->parent(), &surface);
}

TEST_F(FilerTest, PastingOneClipboardFileTwiceGivesTwoObjectsAtTheSameOffset)
{
    writeFile(path("Clipbrd.tmp"), kLineExample);
    TGLabelObjectFiler filer;
    ASSERT_TRUE(filer.PasteFile(&owner, surface, path("Clipbrd.tmp")));
    ASSERT_TRUE(filer.PasteFile(&owner, surface, path("Clipbrd.tmp")));
    ASSERT_EQ(surface.objects().size(), 2u);
    for (const TGGraphicControl *o : surface.objects())
        EXPECT_EQ(o->BoundsRect(), QRect(25, 35, 100, 15));
    EXPECT_EQ(surface.objects()[0]->Name(), QStringLiteral("Component0"));
    EXPECT_EQ(surface.objects()[1]->Name(), QStringLiteral("Component1"));
}

TEST_F(FilerTest, MissingFilesReadNothingAndUnwritableFilesAreNamed)
{
    TGLabelObjectFiler filer;
    EXPECT_TRUE(filer.LoadSurface(&owner, surface, path("none.L")));
    EXPECT_TRUE(filer.PasteFile(&owner, surface, path("none.tmp")));
    EXPECT_TRUE(surface.objects().empty());
    const QString bad = path("no-such-folder/BIN00001.L");
    const TResult r = filer.SaveSurface(surface, bad);
    EXPECT_FALSE(r);
    EXPECT_EQ(r.message, QStringLiteral("Cannot create file ") + bad);
    // An empty selection writes nothing and leaves the clipboard file.
    writeFile(path("Clipbrd.tmp"), "keep");
    EXPECT_TRUE(filer.SaveSelection({}, path("Clipbrd.tmp")));
    EXPECT_EQ(readFile(path("Clipbrd.tmp")), "keep");
}

TEST_F(FilerTest, CloneGivesAnEqualObjectUnderANewName)
{
    auto *label = static_cast<TGPLabel *>(surface.insertObject(std::make_unique<TGPLabel>(&owner)));
    label->setName(QStringLiteral("Special1"));
    label->setCaption(QStringLiteral("Hello"));
    TGLabelObjectFiler filer;
    ASSERT_TRUE(filer.CloneObject(*label, &owner, surface));
    ASSERT_EQ(surface.objects().size(), 2u);
    auto *clone = dynamic_cast<TGPLabel *>(surface.objects()[1]);
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->Caption(), QStringLiteral("Hello"));
    EXPECT_EQ(clone->Name(), QStringLiteral("Component0"));
}

struct ReadFailure {
    const char *what;
    QByteArray objects; // object records after a good line object, ending the list
    const char *message;
};

TEST_F(FilerTest, DamagedStreamsFailWithTheReadersMessageAndLeaveNothingBehind)
{
    const ReadFailure cases[] = {
        {"cut short", bytesOf({"TPF0", 8, "TGPLabel", 0, 4, "Left"}),
         "Error reading Component1.Left: Stream read error"},
        {"bad signature", bytesOf({"TPF9", 8, "TGPLabel"}), "Invalid stream format"},
        {"unknown class", bytesOf({"TPF0", 6, "TGNone", 0, 0, 0, 0}), "Class TGNone not found"},
        {"unknown property", bytesOf({"TPF0", 8, "TGPLabel", 1, "X", 4, "Size", 0x02, 1, 0, 0, 0}),
         "Error reading Component1.Size: Property does not exist"},
        {"wrong value kind", bytesOf({"TPF0", 8, "TGPLabel", 0, 4, "Left", 0x06, 1, "x", 0, 0, 0}),
         "Error reading Component1.Left: Invalid property value"},
        {"unknown enumeration", bytesOf({"TPF0", 8, "TGPLabel", 0, 9, "Alignment", 0x07, 3, "taX", 0, 0, 0}),
         "Error reading Component1.Alignment: Invalid property value"},
        {"bad picture",
         bytesOf({"TPF0", 7, "TGImage", 0, 12, "Picture.Data", 0x0A, 4, 0, 0, 0, 3, "TXY", 0, 0, 0}),
         "Error reading Component1.Picture.Data: Invalid property value"},
        {"children", bytesOf({"TPF0", 8, "TGPLabel", 0, 0, 1, 0}), "Invalid stream format"},
        {"no end of list", QByteArray(), "Stream read error"},
    };
    for (const ReadFailure &c : cases) {
        // A good object comes first: the failed read takes it back again.
        const QByteArray bytes = kLineExample.left(kLineExample.size() - 1) + c.objects;
        const TResult r = TGLabelObjectFiler::readBytes(bytes, &owner, surface, false);
        EXPECT_FALSE(r) << c.what;
        EXPECT_EQ(r.message, QString::fromLatin1(c.message)) << c.what;
        EXPECT_TRUE(surface.objects().empty()) << c.what;
    }
    const TResult noList = TGLabelObjectFiler::readBytes(bytesOf({0x02}), &owner, surface, false);
    EXPECT_EQ(noList.message, QStringLiteral("Invalid property value"));
}

TEST_F(FilerTest, AnFimBarcodeNeedsAnEnvelopeSurfaceEarlierInTheRun)
{
    const QByteArray fim =
        bytesOf({0x01, "TPF0", 12, "TGFIMBarCode", 0, 7, "FIMType", 0x07, 8, "fimTypeC", 0, 0, 0});
    const TResult refused = TGLabelObjectFiler::readBytes(fim, &owner, surface, false);
    EXPECT_EQ(refused.message, QStringLiteral("Class TGFIMBarCode not found"));
    TGClassRegistry::registerKind(TGSurfaceKind::Envelope);
    ASSERT_TRUE(TGLabelObjectFiler::readBytes(fim, &owner, surface, false));
    EXPECT_EQ(static_cast<TGFIMBarCode *>(surface.objects()[0])->FIMType, fimTypeC);
}

TEST_F(FilerTest, EmptyCaptionWritesNoCaptionEntryAndReadsBackEmpty)
{
    TGPLabel label(&owner);
    label.setCaption(QString());
    LayoutStreamWriter w;
    TGLabelObjectFiler::writeObject(w, label);
    EXPECT_FALSE(w.bytes().contains("Caption"));
    label.setCaption(QStringLiteral("x"));
    LayoutStreamWriter w2;
    TGLabelObjectFiler::writeObject(w2, label);
    EXPECT_TRUE(w2.bytes().contains(bytesOf({7, "Caption", 0x06, 1, "x"})));

    TGPLabel empty(&owner);
    empty.setCaption(QString());
    LayoutStreamWriter one;
    TGLabelObjectFiler::writeList(one, {&empty});
    ASSERT_TRUE(TGLabelObjectFiler::readBytes(one.bytes(), &owner, surface, false));
    EXPECT_TRUE(static_cast<TGPLabel *>(surface.objects()[0])->Caption().isEmpty());
}

TEST_F(FilerTest, AnEmptyTypefaceKeepsTheFontsOwnSoRewritingIsStable)
{
    const QByteArray bytes = bytesOf({0x01, "TPF0", 8, "TGPLabel", 0, 9, "Font.Name", 0x06, 0, 0, 0, 0});
    ASSERT_TRUE(TGLabelObjectFiler::readBytes(bytes, &owner, surface, false));
    EXPECT_EQ(static_cast<TGPLabel *>(surface.objects()[0])->Font().name(), QStringLiteral("Arial"));
}

TEST_F(FilerTest, SavingASurfaceClearsDataFieldCaptions)
{
    auto *field = static_cast<TGPDLabel *>(surface.insertObject(std::make_unique<TGPDLabel>(&owner)));
    field->DataFieldDescript = QStringLiteral("Last Name");
    field->setCaption(QStringLiteral("Smith"));
    ASSERT_TRUE(surface.SaveToFile(path("fields.L")));
    const QByteArray bytes = readFile(path("fields.L"));
    EXPECT_FALSE(bytes.contains("Caption"));
    EXPECT_TRUE(bytes.contains("Last Name"));
}

// Every class with values other than its defaults.
std::vector<std::unique_ptr<TGGraphicControl>> everyClass(TGOwner *owner)
{
    std::vector<std::unique_ptr<TGGraphicControl>> out;
    TGFont font(QStringLiteral("Courier New"), 14);
    font.setColor(0x123456);
    font.setStyle(fsBold | fsUnderline);
    font.setPitch(fpFixed);

    auto setText = [&](TGBaseLabel &l) {
        l.setFont(font);
        l.setAlignment(taCenter);
        l.setDepthHighlight(2);
        l.setDepthShadow(3);
        l.setDirectionHighlight(hdUp);
        l.setDirectionShadow(sdLeft);
        l.setColorHighlight(0x80000005);
        l.setColorShadow(0xFF);
        l.setTransparent(false);
        l.setBackColor(0xABCDEF);
        l.setCaption(QStringLiteral("Caption \u00E9"));
    };
    auto plain = std::make_unique<TGPLabel>(owner);
    setText(*plain);
    plain->SetAngle(90);
    plain->setTag(7);
    plain->setLocked(true);
    plain->setUnselectable(true);
    plain->setHint(QStringLiteral("hint"));
    out.push_back(std::move(plain));
    auto field = std::make_unique<TGPDLabel>(owner);
    setText(*field);
    field->DataFieldName = QStringLiteral("LNAME");
    field->DataFieldDescript = QStringLiteral("Last Name");
    field->LengthOfText = 30;
    out.push_back(std::move(field));
    auto counter = std::make_unique<TGCounterLabel>(owner);
    setText(*counter);
    counter->setStartingnumber(100000);
    counter->setRepeatEach(3);
    counter->setLeadingZeros(7);
    counter->setTextBefore(QStringLiteral("No. "));
    counter->setTextAfter(QString(300, QLatin1Char('x')));
    out.push_back(std::move(counter));
    auto symbol = std::make_unique<TGSymbolLabel>(owner);
    symbol->SetAngle(180);
    out.push_back(std::move(symbol));
    auto date = std::make_unique<TGDateTimeLabel>(owner);
    date->DateFormat = dtfDateLong;
    date->TimeFormat = dtfTimeShort;
    out.push_back(std::move(date));
    auto page = std::make_unique<TGPageNumberLabel>(owner);
    page->SetAngle(270);
    out.push_back(std::move(page));
    auto multi = std::make_unique<TGMultiLineLabel>(owner);
    multi->setItems({QStringLiteral("one"), QString(), QStringLiteral("three")});
    multi->setWordWrap(true);
    multi->setAutoSize(true);
    multi->setAlignment(taRightJustify);
    multi->setFont(font);
    out.push_back(std::move(multi));
    auto memo = std::make_unique<TGDMultiLineLabel>(owner);
    memo->DataFieldName = QStringLiteral("MEMO");
    memo->DataFieldDescript = QStringLiteral("Notes");
    out.push_back(std::move(memo));
    auto address = std::make_unique<TGDMultiLineAddressLabel>(owner);
    address->UseTitle = false;
    address->UsePhone = true;
    address->ZipOptions = zoBeforeCountry;
    address->UpperCase = true;
    out.push_back(std::move(address));
    auto postnet = std::make_unique<TGPostNetBarCode>(owner);
    postnet->ZipCodeField = QStringLiteral("ZIP");
    postnet->AddressField = QStringLiteral("STREET");
    postnet->BarCodeType = pnbc5Digit;
    out.push_back(std::move(postnet));
    auto fim = std::make_unique<TGFIMBarCode>(owner);
    fim->FIMType = fimTypeB;
    out.push_back(std::move(fim));
    auto imb = std::make_unique<TGIntelligentMailBarCode>(owner);
    imb->MailerID = QStringLiteral("123456");
    imb->SerialSource = imbSerialField;
    imb->SerialField = QStringLiteral("USER1");
    out.push_back(std::move(imb));
    auto image = std::make_unique<TGImage>(owner);
    QImage pixels(3, 2, QImage::Format_RGB32);
    pixels.fill(Qt::red);
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    pixels.save(&buffer, "BMP");
    image->setPicture(TGPicture::fromBitmapFile(bmp));
    image->setAutoSize(true);
    out.push_back(std::move(image));
    auto shape = std::make_unique<TGLabelShapes>(owner);
    shape->setTransparent(true);
    shape->Brush.color = 0x00FF00;
    shape->Pen = TGPen{0x0000FF, pmXor, psDashDot, 3};
    shape->RoundPerc = 40;
    shape->Shape = stRoundSquare;
    out.push_back(std::move(shape));
    auto report = std::make_unique<Trpshapes>(owner);
    report->Shape = stCircle;
    out.push_back(std::move(report));
    auto line = std::make_unique<TGLineShape>(owner);
    line->LineStyle = stAngleSlopingDown;
    line->Pen.width = 2;
    out.push_back(std::move(line));
    int i = 0;
    for (auto &o : out) {
        o->SetBounds(-3 + i, 200 + i, 70000 + i, 33);
        ++i;
    }
    return out;
}

TEST_F(FilerTest, EveryClassWritesReadsAndWritesTheSameBytes)
{
    freshRegistry({TGSurfaceKind::Label, TGSurfaceKind::Envelope, TGSurfaceKind::Report});
    const auto objects = everyClass(&owner);
    std::vector<const TGGraphicControl *> list;
    for (const auto &o : objects)
        list.push_back(o.get());
    LayoutStreamWriter first;
    TGLabelObjectFiler::writeList(first, list);

    ASSERT_TRUE(TGLabelObjectFiler::readBytes(first.bytes(), &owner, surface, false));
    ASSERT_EQ(surface.objects().size(), objects.size());
    for (std::size_t i = 0; i < objects.size(); ++i)
        EXPECT_EQ(surface.objects()[i]->ClassName(), objects[i]->ClassName());
    LayoutStreamWriter second;
    // The names differ (reading renames); compare the bytes with the names put back.
    for (std::size_t i = 0; i < objects.size(); ++i)
        surface.objects()[i]->setName(objects[i]->Name());
    TGLabelObjectFiler::writeList(second, {surface.objects().begin(), surface.objects().end()});
    EXPECT_EQ(second.bytes().toHex(), first.bytes().toHex());
    // Each class writes at least one entry of its own beyond the common ones.
    for (const char *entry : {"DataFieldDescript", "Startingnumber", "DateFormat", "Items.Strings",
                              "UseCountry", "BarCodeType", "FIMType", "Picture.Data", "RoundPerc", "Pen.Mode",
                              "LineStyle", "MailerID", "Font.Pitch", "fsUnderline", "clWindow", "Angle"})
        EXPECT_TRUE(first.bytes().contains(entry)) << entry;
}

TEST_F(FilerTest, ReportFilesHoldThreeBandsAndTheSettingsList)
{
    freshRegistry({TGSurfaceKind::Report});
    TGDataPanel header(&owner, 96), detail(&owner, 96), footer(&owner, 96);
    detail.insertObject(std::make_unique<TGPageNumberLabel>(&owner))->setName(QStringLiteral("Special1"));
    footer.insertObject(std::make_unique<TGDateTimeLabel>(&owner))->setName(QStringLiteral("Special2"));
    TReportSettingsList settings = TReportSettingsList::defaults(96);
    settings.groups[2].numbers[1] = 1234;
    settings.typeface2 = QStringLiteral("Times New Roman");
    TGLabelObjectFiler filer;
    ASSERT_TRUE(filer.SaveReportBands(header, detail, footer, path("BIN00001.R"),
                                      [&](LayoutStreamWriter &w) { settings.write(w); }));
    const QByteArray bytes = readFile(path("BIN00001.R"));
    EXPECT_TRUE(bytes.startsWith(bytesOf({0x01, 0x00, 0x01, "TPF0"})));
    // 8.5 in as 8500, 33 design pixels at 96 per inch as 343 thousandths.
    EXPECT_TRUE(bytes.contains(bytesOf({0x00, 0x01, 0x03, 0x34, 0x21, 0x03, 0xF8, 0x2A})));
    EXPECT_EQ(TReportSettingsList::toMils(33, 96), Mils(343));
    EXPECT_EQ(TReportSettingsList::toPixels(Mils(343), 96), 33);
    EXPECT_EQ(TReportSettingsList::toMils(33, 120), Mils(275));
    EXPECT_EQ(TReportSettingsList::toPixels(Mils(275), 120), 33);

    TGDataPanel h2(&owner, 96), d2(&owner, 96), f2(&owner, 96);
    TReportSettingsList back;
    ASSERT_TRUE(filer.LoadReportBands(&owner, h2, d2, f2, path("BIN00001.R"),
                                      [&](LayoutStreamReader &r) { back.read(r); }));
    EXPECT_TRUE(back == settings);
    EXPECT_EQ(h2.objects().size(), 0u);
    ASSERT_EQ(d2.objects().size(), 1u);
    EXPECT_EQ(d2.objects()[0]->ClassName(), "TGPageNumberLabel");
    ASSERT_EQ(f2.objects().size(), 1u);
    EXPECT_EQ(f2.objects()[0]->ClassName(), "TGDateTimeLabel");

    // A fourth list that is missing or short fails once the three bands were read.
    const qsizetype fourth = bytes.lastIndexOf(bytesOf({0x00, 0x01, 0x03, 0x34, 0x21})) + 1;
    const struct {
        QByteArray bytes;
        const char *message;
    } damaged[] = {
        {bytes.left(fourth), "Stream read error"},
        {bytes.left(fourth + 40), "Stream read error"},
        {bytes.left(fourth) + bytesOf({0x01, 0x02, 0x05, 0x00}), "Invalid property value"},
        {bytes.left(bytes.size() - 1) + bytesOf({0x02, 0x00}), "Invalid property value"},
    };
    for (const auto &c : damaged) {
        writeFile(path("bad.R"), c.bytes);
        int settingsCalls = 0;
        const TResult r =
            filer.LoadReportBands(&owner, h2, d2, f2, path("bad.R"), [&](LayoutStreamReader &rd) {
                ++settingsCalls;
                TReportSettingsList s;
                s.read(rd);
            });
        EXPECT_EQ(r.message, QString::fromLatin1(c.message));
        EXPECT_EQ(settingsCalls, c.bytes.size() > fourth ? 1 : 0);
        EXPECT_EQ(d2.objects().size(), 1u); // the failed load took its objects back
    }
}

TEST(TLayoutFileName, FirstUnusedNumberPerKindIgnoringCase)
{
    TempDir dir;
    const QString folder = QString::fromStdString(dir.path());
    EXPECT_EQ(TLayoutFileName::firstUnused(folder, TGSurfaceKind::Label, {}), QStringLiteral("BIN00001.L"));
    for (const char *name : {"BIN00001.L", "bin00002.l", "BIN00003.E"})
        writeFile(folder + QLatin1Char('/') + QLatin1String(name), "x");
    EXPECT_EQ(TLayoutFileName::firstUnused(folder, TGSurfaceKind::Label, {}), QStringLiteral("BIN00003.L"));
    EXPECT_EQ(TLayoutFileName::firstUnused(folder, TGSurfaceKind::Envelope, {}), QStringLiteral("BIN00001.E"));
    EXPECT_EQ(TLayoutFileName::firstUnused(folder, TGSurfaceKind::Report, {}), QStringLiteral("BIN00001.R"));
    TGSurfaceKind kind{};
    EXPECT_TRUE(TLayoutFileName::kindOf(QStringLiteral("bin00007.r"), kind));
    EXPECT_EQ(kind, TGSurfaceKind::Report);
    EXPECT_FALSE(TLayoutFileName::kindOf(QStringLiteral("BIN00007.X"), kind));
}

TEST(TLayoutFileName, FirstUnusedSkipsNamesOfRowsWhoseFileIsMissing)
{
    TempDir dir;
    const QString folder = QString::fromStdString(dir.path());
    writeFile(folder + QStringLiteral("/BIN00001.L"), "x");
    // BIN00002.L is named by a row but its file was removed.
    EXPECT_EQ(TLayoutFileName::firstUnused(folder, TGSurfaceKind::Label,
                                           {QStringLiteral("bin00002.l ")}),
              QStringLiteral("BIN00003.L"));
    EXPECT_EQ(TLayoutFileName::firstUnused(folder, TGSurfaceKind::Label, {}), QStringLiteral("BIN00002.L"));
}

TEST(TLayoutFileName, OnlyBinNamesWithFiveDigitsAreLayoutFiles)
{
    struct Case { const char *name; bool own; };
    const Case cases[] = {{"BIN00001.L", true},   {"bin12345.l", true},  {"BIN00001.R", false},
                          {"BIN0001.L", false},   {"BIN000012.L", false}, {"../BIN00001.L", false},
                          {"ADDRESS.DBF", false}, {"BINABCDE.L", false}, {"", false}};
    for (const Case &c : cases)
        EXPECT_EQ(TLayoutFileName::isLayoutFileName(QString::fromLatin1(c.name), TGSurfaceKind::Label), c.own)
            << c.name;
}

} // namespace
