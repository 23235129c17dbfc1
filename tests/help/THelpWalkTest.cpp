// The walk through every window: each one is made offscreen over a small program folder, F1
// is pressed in it and its Help button clicked, and the topic it asks for must open a page of
// the collection (the page listed, its part present). Every control given a "What's this?"
// has a text, and the main dialogs describe each of their controls. A scan of the sources
// makes sure no window is left out of the walk.
#include "THelpRequest.h"
#include "THelpTopics.h"
#include "TWhatsThis.h"

#include "SmallAddressFile.h"
#include "TempDir.h"

#include "TAddressBrowseForm.h"
#include "TAddressQueryForm.h"
#include "TAddressSession.h"
#include "TAddressTagTarget.h"
#include "TAsciiColumns.h"
#include "TAsciiImport.h"
#include "TAsciiMatch.h"
#include "TCVDialer.h"
#include "TCVEnvelopes.h"
#include "TCVReindex.h"
#include "TChooseEnvelopeLayout.h"
#include "TChooseLabelLayout.h"
#include "TConvertToUpper.h"
#include "TCopyOut.h"
#include "TCopyToClipBoard.h"
#include "TCountZipCodes.h"
#include "TCurrentRecordValues.h"
#include "TDBFImport.h"
#include "TDBFMatch.h"
#include "TDbfSource.h"
#include "TDeleteRecords.h"
#include "TDupCheck.h"
#include "TEnvelopeDesignScreen.h"
#include "TEnvelopeFeed.h"
#include "TEnvelopePrePrint.h"
#include "TEnvelopeRun.h"
#include "TEnvelopeSetups.h"
#include "TEnvelopeSizes.h"
#include "TFieldLengthForm.h"
#include "TFieldLengths.h"
#include "TG3DEffectsDialog.h"
#include "TGAddressLayoutDialog.h"
#include "TGCounterDialog.h"
#include "TGCounterLabel.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGDMultiLineLabel.h"
#include "TGDataPanel.h"
#include "TGImage.h"
#include "TGIntelligentMailBarCode.h"
#include "TGIntelligentMailDialog.h"
#include "TGLoadImageDialog.h"
#include "TGMultiLineLabel.h"
#include "TGMultiLineTextDialog.h"
#include "TGOwner.h"
#include "TGPDLabel.h"
#include "TGPLabel.h"
#include "TGSelectFieldDialog.h"
#include "TGSymbolLabel.h"
#include "TGSymbolSelectorDialog.h"
#include "TGTextDialog.h"
#include "TGettingStarted.h"
#include "TImportOlder.h"
#include "TImportTargets.h"
#include "TIniFile.h"
#include "TLabelDesignScreen.h"
#include "TLabelEdit.h"
#include "TLabelSetupScreen.h"
#include "TLabelSetups.h"
#include "TLabelTemplates.h"
#include "TLetterDesign.h"
#include "TLetterFindDialog.h"
#include "TLetterPrint.h"
#include "TLetterPrintForm.h"
#include "TLetterTemplates.h"
#include "TMemoSearchForm.h"
#include "TMemoryDataSource.h"
#include "TMergeFields.h"
#include "TMessages.h"
#include "TNewDatabaseForm.h"
#include "TNewRecordForm.h"
#include "TPagePropDlg.h"
#include "TParagraphPropDlg.h"
#include "TPdfPrinterService.h"
#include "TPreferencesForm.h"
#include "TPreviewForm.h"
#include "TPrintCurrentRecord.h"
#include "TPrintStatusForm.h"
#include "TPrinterCalibrationForm.h"
#include "TRTFPreviewForm.h"
#include "TReportBands.h"
#include "TReportDesigner.h"
#include "TReportFiler.h"
#include "TReportPrinter.h"
#include "TReportProperties.h"
#include "TReportSetup.h"
#include "TSearchAndReplace.h"
#include "TSearchForm.h"
#include "TSelectDateForm.h"
#include "TSelectLabel.h"
#include "TSelectSpecificLabels.h"
#include "TSpellCheckDialog.h"
#include "TStateZipCheck.h"
#include "TSysReindexForm.h"
#include "TTagAllRecords.h"
#include "TcVLetters.h"
#include "TfrmTAPICall.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDBusConnection>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSet>
#include <QTabBar>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <memory>

namespace {

const QString kSource = QStringLiteral(CORVANTIS_SOURCE_DIR);
const QString kPages = kSource + QStringLiteral("/src/help/pages/");
const QString kBuiltSysdata = QStringLiteral(CORVANTIS_BINARY_DIR "/sysdata/");

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// What the windows are made over: a program folder with the label catalogue, a session over a
// small address file, a second address file to import from, the settings, the setups of the
// outputs, a print job to a PDF file, and a design surface with a record.
class Walk
{
public:
    Walk()
    {
        program = QString::fromStdString(dir.path()) + QLatin1Char('/');
        QDir().mkpath(program + QStringLiteral("sysdata"));
        for (const char *ext : {".DBF", ".CDX"})
            QFile::copy(kBuiltSysdata + QStringLiteral("LBLTPL") + QLatin1String(ext),
                        program + QStringLiteral("sysdata/LBLTPL") + QLatin1String(ext));
        session = smallfile::session(program, {{{"LNAME", QStringLiteral("Lee")},
                                                {"FNAME", QStringLiteral("Ann")},
                                                {"STREET", QStringLiteral("1 Main St")},
                                                {"CITY", QStringLiteral("Salem")},
                                                {"STATE", QStringLiteral("OR")},
                                                {"ZIP", QStringLiteral("97301")}}});
        other = program + QStringLiteral("OTHER/OTHER.DBF");
        smallfile::create(other, {{{"LNAME", QStringLiteral("Moreno")}}});
        ini = std::make_unique<TIniFile>(session->settingsPath());
        service = std::make_unique<TPdfPrinterService>(program + QStringLiteral("walk.pdf"));
        job = std::make_unique<TReportPrinter>(*service);
        labels.open(program);
        envelopes.open(program);
        letters.open(program);
        catalogue.open(program);
        record.set(QStringLiteral("FNAME"), QStringLiteral("Ann"));
        record.set(QStringLiteral("CITY"), QStringLiteral("Salem"));
        surface = std::make_unique<TGDataPanel>(&owner, 96);
        surface->setDataSet(&record);
        letter.setPlainText(QStringLiteral("Dear [FNAME],\nHelo."));
    }
    TAddressTable &table() { return session->table(); }
    template <typename O> O *object() { return static_cast<O *>(surface->insertObject(std::make_unique<O>(&owner))); }

    TempDir dir;
    QString program;
    QString other;
    std::unique_ptr<TAddressSession> session;
    std::unique_ptr<TIniFile> ini;
    std::unique_ptr<TPdfPrinterService> service;
    std::unique_ptr<TReportPrinter> job;
    TLabelSetups labels;
    TEnvelopeSetups envelopes;
    TLetterTemplates letters;
    TLabelTemplates catalogue;
    TGOwner owner;
    TMemoryDataSource record;
    std::unique_ptr<TGDataPanel> surface;
    QTextDocument letter;
    QTextEdit editor;
    // What some windows keep a reference to for their life.
    std::unique_ptr<TAddressTagTarget> tagTarget;
    std::unique_ptr<TDbfSource> source;
    std::unique_ptr<TImportTargets> targets;
    std::unique_ptr<TAsciiColumns> columns;
    std::unique_ptr<TReportBands> bands;
    std::unique_ptr<TLetterPrint> letterRun;
    std::unique_ptr<TReportFiler> filer;
    QByteArray stream;
};

using Factory = std::function<std::unique_ptr<QWidget>(Walk &)>;

struct WalkCase {
    const char *window;
    int topic;
    Factory make;
    // The window describes each of its controls with a "What's this?" text.
    bool describesControls = false;
};

// gtest names a failing case by its window.
void PrintTo(const WalkCase &c, std::ostream *out)
{
    *out << c.window;
}

template <typename W, typename... A> std::unique_ptr<QWidget> make(A &&...args)
{
    return std::make_unique<W>(std::forward<A>(args)...);
}

std::vector<WalkCase> walkCases()
{
    return {
        {"TAddressBrowseForm", 1034,
         [](Walk &w) { return make<TAddressBrowseForm>(w.table(), w.program, w.session->settingsPath(), [] {}); }},
        {"TCVReindex", 1040, [](Walk &w) { return make<TCVReindex>(w.table()); }, true},
        {"TCopyToClipBoard", 3001,
         [](Walk &w) { return make<TCopyToClipBoard>(TCurrentRecordValues::fromAddressTable(w.table())); }, true},
        {"TFieldLengthForm", 2097, [](Walk &w) { return make<TFieldLengthForm>(TFieldLengths(), *w.ini); }, true},
        {"TGettingStarted", 3007, [](Walk &w) { return make<TGettingStarted>(*w.ini); }},
        {"TMemoSearchForm", 3003, [](Walk &) { return make<TMemoSearchForm>(QStringLiteral("Salem")); }},
        {"TNewDatabaseForm", 1037, [](Walk &w) { return make<TNewDatabaseForm>(QStringLiteral("ADD0002"), *w.ini); },
         true},
        {"TNewRecordForm", 3006, [](Walk &) { return make<TNewRecordForm>(true, true, 30, 30, 10); }},
        {"TPreferencesForm", 1038, [](Walk &w) { return make<TPreferencesForm>(*w.ini); }, true},
        {"TPrintCurrentRecord", 3002,
         [](Walk &w) {
             return make<TPrintCurrentRecord>(TCurrentRecordValues::fromAddressTable(w.table()), *w.service, *w.ini);
         }, true},
        {"TSearchForm", 1026, [](Walk &) { return make<TSearchForm>(QStringLiteral("Last Name")); }, true},
        {"TSelectDateForm", 3004, [](Walk &) { return make<TSelectDateForm>(QDate(2026, 12, 11)); }},
        {"TTagAllRecords", 3005,
         [](Walk &w) {
             w.tagTarget = std::make_unique<TAddressTagTarget>(w.table());
             return make<TTagAllRecords>(*w.tagTarget);
         }},
        {"TAddressQueryForm", 1033,
         [](Walk &) { return make<TAddressQueryForm>(TFilterCriteria(), TAddressQueryForm::Tester()); }},
        {"TSysReindexForm", 1039, [](Walk &w) { return make<TSysReindexForm>(w.program); }},
        {"TCVDialer", 3010,
         [](Walk &w) { return make<TCVDialer>(w.session->settingsPath(), QStringLiteral("555-0100")); }},
        {"TfrmTAPICall", 3011,
         [](Walk &) {
             return make<TfrmTAPICall>(QStringLiteral("555-0100"), QDBusConnection(QStringLiteral("walk-none")));
         }},
        {"TLabelSetupScreen", 3100,
         [](Walk &w) {
             auto window = std::make_unique<TLabelSetupScreen>(*w.session, w.labels);
             window->setGlabelsFolder(QStringLiteral("/nonexistent"));
             return std::unique_ptr<QWidget>(std::move(window));
         },
         true},
        {"TSelectLabel", 3101,
         [](Walk &w) { return make<TSelectLabel>(w.catalogue, nullptr, TLabelSetup::newSetupDefaults()); }, true},
        {"TChooseLabelLayout", 3102, [](Walk &) { return make<TChooseLabelLayout>(); }, true},
        {"TLabelEdit", 3103, [](Walk &) { return make<TLabelEdit>(TLabelSetup::newSetupDefaults()); }, true},
        {"TLabelDesignScreen", 3104,
         [](Walk &w) {
             return make<TLabelDesignScreen>(TLabelSetup::newSetupDefaults(), true, *w.ini, &w.table(), w.program);
         }},
        {"TSelectSpecificLabels", 3105,
         [](Walk &w) {
             const TLabelSetup setup = TLabelSetup::newSetupDefaults();
             return make<TSelectSpecificLabels>(setup, QVector<bool>(setup.labelCount(), true), false, *w.job);
         }},
        {"TCVEnvelopes", 3200, [](Walk &w) { return make<TCVEnvelopes>(*w.session, w.envelopes, *w.ini); }, true},
        {"TChooseEnvelopeLayout", 3201, [](Walk &) { return make<TChooseEnvelopeLayout>(20); }},
        {"TEnvelopeDesignScreen", 3202, [](Walk &w) { return make<TEnvelopeDesignScreen>(*w.session, *w.ini); }},
        {"TEnvelopeFeed", 3203, [](Walk &) { return make<TEnvelopeFeed>(TEnvelopeFeedValues()); }, true},
        {"TEnvelopePrePrint", 3204,
         [](Walk &w) {
             const TEnvelopeFeedValues feed;
             TEnvelopeRun::prepareJob(*w.job, 20, TEnvelopeSizes::size(20), feed);
             return make<TEnvelopePrePrint>(*w.job, feed, 20);
         }, true},
        {"TcVLetters", 3300, [](Walk &w) { return make<TcVLetters>(*w.session, w.letters); }, true},
        {"TLetterDesign", 3301,
         [](Walk &w) { return make<TLetterDesign>(QStringLiteral("Walk"), &w.letter, *w.ini); }},
        {"TLetterFindDialog", 3302, [](Walk &w) { return make<TLetterFindDialog>(&w.editor, true); }},
        {"TPagePropDlg", 3303, [](Walk &) { return make<TPagePropDlg>(TLetterPageLayout(), TLengthUnit::Inch); }},
        {"TParagraphPropDlg", 3304, [](Walk &) { return make<TParagraphPropDlg>(TParagraphTwips()); }},
        {"TSpellCheckDialog", 3305,
         [](Walk &w) {
             w.editor.setPlainText(QStringLiteral("Helo wrld"));
             return make<TSpellCheckDialog>(&w.editor, w.program + QStringLiteral("none.dic"),
                                            w.program + QStringLiteral("user.dic"));
         }},
        {"TRTFPreviewForm", 3306,
         [](Walk &w) { return make<TRTFPreviewForm>(w.letter, &w.table(), TMergeDates::system(), w.ini.get()); }},
        {"TLetterPrintForm", 3307,
         [](Walk &w) {
             w.letterRun = std::make_unique<TLetterPrint>(w.letter, *w.service);
             return make<TLetterPrintForm>(*w.letterRun, w.table());
         }},
        {"TReportSetup", 3400, [](Walk &w) { return make<TReportSetup>(*w.session, *w.ini); }, true},
        {"TReportDesigner", 3401,
         [](Walk &w) {
             w.bands = std::make_unique<TReportBands>(96);
             return make<TReportDesigner>(*w.session, *w.bands, QStringLiteral("<new report>"),
                                          QStringLiteral("Letter Size, Portrait"), *w.ini);
         }},
        {"TReportProperties", 3402, [](Walk &) { return make<TReportProperties>(TReportSettings()); }},
        {"TGTextDialog", 3500, [](Walk &w) { return make<TGTextDialog>(w.object<TGPLabel>()); }},
        {"TGMultiLineTextDialog", 3501, [](Walk &w) { return make<TGMultiLineTextDialog>(w.object<TGMultiLineLabel>()); }},
        {"TGAddressLayoutDialog", 3502,
         [](Walk &w) { return make<TGAddressLayoutDialog>(w.object<TGDMultiLineAddressLabel>()); }},
        {"TGSelectFieldDialog", 3503, [](Walk &w) { return make<TGSelectFieldDialog>(w.object<TGPDLabel>()); }},
        {"TGCounterDialog", 3504, [](Walk &w) { return make<TGCounterDialog>(w.object<TGCounterLabel>()); }},
        {"TGIntelligentMailDialog", 3505,
         [](Walk &w) { return make<TGIntelligentMailDialog>(w.object<TGIntelligentMailBarCode>()); }},
        {"TGSymbolSelectorDialog", 3506, [](Walk &w) { return make<TGSymbolSelectorDialog>(w.object<TGSymbolLabel>()); }},
        {"TG3DEffectsDialog", 3507, [](Walk &w) { return make<TG3DEffectsDialog>(w.object<TGPLabel>()); }},
        {"TGLoadImageDialog", 3508, [](Walk &w) { return make<TGLoadImageDialog>(*w.object<TGImage>()); }},
        {"TPreviewForm", 3600,
         [](Walk &w) {
             w.filer = std::make_unique<TReportFiler>();
             w.filer->setStream(&w.stream);
             w.filer->OnPrint = [](TBaseReport &r) { r.TextAtLeft(QStringLiteral("Page 1"), Inches(1.0)); };
             w.filer->RunJob();
             return make<TPreviewForm>(w.stream, QStringLiteral("Preview Labels"), 100, *w.ini);
         }, true},
        {"TPrintStatusForm", 3601,
         [](Walk &w) {
             w.filer = std::make_unique<TReportFiler>();
             w.filer->setStream(&w.stream);
             w.filer->OnPrint = [](TBaseReport &r) { r.TextAtLeft(QStringLiteral("Label 1"), Inches(1.0)); };
             // A print run: its window stays with "Ok" once the run is done (a preview closes itself).
             return make<TPrintStatusForm>(*w.filer, false, TPrintStatusTexts::labels());
         }},
        {"TPrinterCalibrationForm", 3602, [](Walk &w) { return make<TPrinterCalibrationForm>(*w.service, *w.ini); }},
        {"TCountZipCodes", 3700, [](Walk &w) { return make<TCountZipCodes>(*w.session, *w.ini); }, true},
        {"TStateZipCheck", 3701, [](Walk &w) { return make<TStateZipCheck>(*w.session); }, true},
        {"TDupCheck", 3702, [](Walk &w) { return make<TDupCheck>(*w.session); }, true},
        {"TConvertToUpper", 3703, [](Walk &w) { return make<TConvertToUpper>(*w.session); }, true},
        {"TDeleteRecords", 3704, [](Walk &w) { return make<TDeleteRecords>(*w.session); }, true},
        {"TSearchAndReplace", 3705, [](Walk &w) { return make<TSearchAndReplace>(*w.session); }, true},
        {"TDBFImport", 1021, [](Walk &w) { return make<TDBFImport>(w.table()); }, true},
        {"TAsciiImport", 1023, [](Walk &w) { return make<TAsciiImport>(w.table()); }, true},
        {"TImportOlder", 3800, [](Walk &w) { return make<TImportOlder>(w.table(), 1); }, true},
        {"TCopyOut", 3801, [](Walk &w) { return make<TCopyOut>(w.table(), w.program); }, true},
        {"TDBFMatch", 3802,
         [](Walk &w) {
             w.source = std::make_unique<TDbfSource>();
             w.source->open(w.other, w.table().fileName());
             w.targets = std::make_unique<TImportTargets>(w.table(), TImportTargets::Kind::Table);
             return make<TDBFMatch>(*w.source, *w.targets);
         }},
        {"TAsciiMatch", 3803,
         [](Walk &w) {
             w.columns = std::make_unique<TAsciiColumns>();
             w.targets = std::make_unique<TImportTargets>(w.table(), TImportTargets::Kind::Text);
             return make<TAsciiMatch>(*w.columns, *w.targets, QStringLiteral("walk.txt"));
         }},
    };
}

// Windows the walk does not make, each with the reason.
const QSet<QString> kNotWalked = {
    // Its F1 goes straight to the help window; the help window's own test presses it.
    QStringLiteral("TAddressMain"),
    // Frames that the windows above derive from; each derived window wires its own topic.
    QStringLiteral("TToolWindow"), QStringLiteral("TImportWindow"), QStringLiteral("TMatchWindow"),
    QStringLiteral("TGPropertyDialog"),
    // Presorts as soon as it shows and closes itself when done; the source scan checks it.
    QStringLiteral("TSortBulkMail"),
};

class HelpWalk : public ::testing::TestWithParam<WalkCase>
{
protected:
    void SetUp() override
    {
        TMessages::setAnswerer([](const TMessageRequest &r) {
            return (r.buttons & QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok;
        });
        THelpRequest::setHandler([this](QWidget *, int topic) { asked << topic; });
    }
    void TearDown() override
    {
        THelpRequest::setHandler({});
        TMessages::setAnswerer({});
    }
    QList<int> asked;
};

// The controls a user works with: buttons, boxes, lists.
bool isControl(const QWidget *widget)
{
    const QWidget *parent = widget->parentWidget();
    if (parent && (qobject_cast<const QAbstractSpinBox *>(parent) || qobject_cast<const QComboBox *>(parent) ||
                   qobject_cast<const QTabBar *>(parent)))
        return false;
    return qobject_cast<const QAbstractButton *>(widget) || qobject_cast<const QLineEdit *>(widget) ||
           qobject_cast<const QComboBox *>(widget) || qobject_cast<const QAbstractSpinBox *>(widget);
}

} // namespace

TEST_P(HelpWalk, F1AndHelpOpenAnExistingPageAndEveryDescribedControlHasAText)
{
    const WalkCase c = GetParam();
    Walk walk;
    std::unique_ptr<QWidget> window = c.make(walk);
    ASSERT_TRUE(window);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get())) << c.window;
    QApplication::processEvents();

    QWidget *focus = QApplication::focusWidget();
    QTest::keyClick(focus && focus->window() == window.get() ? focus : window.get(), Qt::Key_F1);
    EXPECT_EQ(asked, QList<int>{c.topic}) << c.window << ": F1";
    asked.clear();
    QAbstractButton *help = window->findChild<QAbstractButton *>(QStringLiteral("HelpButton"));
    if (!help) {
        for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
            if (button->text() == QLatin1String("Help"))
                help = button;
        }
    }
    if (help && help->isVisible()) {
        QTest::mouseClick(help, Qt::LeftButton);
        EXPECT_EQ(asked, QList<int>{c.topic}) << c.window << ": Help";
    }

    const QString page = THelpTopics::page(c.topic);
    ASSERT_FALSE(page.isEmpty()) << c.window << " asks for topic " << c.topic << ", which has no page";
    const QString file = THelpTopics::file(c.topic);
    const QString html = readText(kPages + file);
    ASSERT_FALSE(html.isEmpty()) << file.toStdString();
    const QString part = page.section(QLatin1Char('#'), 1);
    if (!part.isEmpty()) {
        EXPECT_TRUE(html.contains(QStringLiteral("name=\"%1\"").arg(part))) << page.toStdString();
    }
    const QString listed = readText(kPages + QStringLiteral("pages.txt"));
    EXPECT_TRUE(listed.contains(QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(file) +
                                                   QStringLiteral(" \\|"),
                                                   QRegularExpression::MultilineOption)))
        << file.toStdString() << " is not in the collection";

    int described = 0;
    for (QWidget *child : window->findChildren<QWidget *>()) {
        if (child->property("corvantisWhatsThis").isValid()) {
            ++described;
            EXPECT_FALSE(TWhatsThis::text(child).trimmed().isEmpty())
                << c.window << ": " << child->objectName().toStdString() << " has an empty text";
        }
        if (c.describesControls && isControl(child) && child->isVisibleTo(window.get()) &&
            child->window() == window.get()) {
            EXPECT_FALSE(TWhatsThis::text(child).isEmpty())
                << c.window << ": " << child->metaObject()->className() << " "
                << child->objectName().toStdString() << " \"" << child->property("text").toString().toStdString()
                << "\" has no What's this? text";
        }
    }
    if (c.describesControls) {
        EXPECT_GT(described, 0) << c.window;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, HelpWalk, ::testing::ValuesIn(walkCases()),
                         [](const ::testing::TestParamInfo<WalkCase> &walked) { return std::string(walked.param.window); });

// Every window class of the program (a class in a ui folder derived from a dialog, a main
// window or a file dialog) is walked or named with its reason, and asks for help in its code.
TEST(HelpWalkScan, EveryWindowOfTheProgramIsWalkedAndAsksForItsTopic)
{
    QSet<QString> walked;
    for (const WalkCase &c : walkCases())
        walked.insert(QLatin1String(c.window));
    const QRegularExpression windowClass(
        QStringLiteral("^class (T\\w+) : public (?:QDialog|QMainWindow|QFileDialog|TGPropertyDialog|TToolWindow|"
                       "TImportWindow|TMatchWindow)\\b"),
        QRegularExpression::MultilineOption);
    int windows = 0;
    QDirIterator it(kSource + QStringLiteral("/src"), {QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString header = it.next();
        if (!header.contains(QLatin1String("/ui/")) || header.contains(QLatin1String("/help/ui/")))
            continue;
        auto match = windowClass.globalMatch(readText(header));
        while (match.hasNext()) {
            const QString name = match.next().captured(1);
            ++windows;
            EXPECT_TRUE(walked.contains(name) || kNotWalked.contains(name)) << name.toStdString() << " is not walked";
            if (kNotWalked.contains(name) && name != QLatin1String("TSortBulkMail"))
                continue;
            const QString code = readText(header.left(header.size() - 2) + QStringLiteral(".cpp"));
            EXPECT_TRUE(code.contains(QLatin1String("THelpRequest::wire")) ||
                        code.contains(QLatin1String("THelpRequest::ask")))
                << name.toStdString() << " does not ask for its help topic";
            EXPECT_FALSE(code.contains(QLatin1String("Help is not available"))) << name.toStdString();
        }
    }
    EXPECT_GE(windows, 60);
}
