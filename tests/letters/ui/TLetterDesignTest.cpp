// The letter designer, its dialogs and the letter preview driven offscreen with keys and
// clicks: a new letter, fields, formats, page breaks, the default font, the page and
// paragraph dialogs, the spelling check, files, and the preview's pages and records; and a
// letter written here, saved, reopened and printed, read back by pdftotext and LibreOffice.
#include "TLetterDesign.h"

#include "LetterPrintSupport.h"
#include "TIniFile.h"
#include "TLetterPageLayout.h"
#include "TLetterPrint.h"
#include "TLetterTemplates.h"
#include "TMergeFields.h"
#include "TMessages.h"
#include "TPagePropDlg.h"
#include "TParagraphPropDlg.h"
#include "TPdfPrinterService.h"
#include "TProgress.h"
#include "TRTFPreviewForm.h"
#include "TSpellCheckDialog.h"
#include "TSpellChecker.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <functional>

using namespace lettertest;

namespace {

// Runs `act` on the first visible top-level window of type W once it shows.
template <typename W> void whenShown(std::function<void(W *)> act)
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *found = qobject_cast<W *>(w);
            if (found && found->isVisible()) {
                timer->stop();
                timer->deleteLater();
                act(found);
                return;
            }
        }
    });
    timer->start();
}

// Opens the list of `combo` and clicks its item `row`.
void pick(QComboBox *combo, int row)
{
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    view->scrollTo(view->model()->index(row, 0));
    const QRect item = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
}

// Replaces the text of a line edit as a user does: select all, type.
void retype(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

// Opens the menu of the menu bar that holds `action` and clicks the item.
void clickMenu(QWidget *window, QAction *action)
{
    auto *bar = window->findChild<QMenuBar *>(QStringLiteral("MainMenu"));
    ASSERT_TRUE(bar);
    for (QAction *top : bar->actions()) {
        QMenu *menu = top->menu();
        if (!menu || !menu->actions().contains(action))
            continue;
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(top).center());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        return;
    }
    FAIL() << "no menu holds " << action->text().toStdString();
}

QTextCharFormat formatAt(const QTextDocument &doc, int position)
{
    QTextCursor c(const_cast<QTextDocument *>(&doc));
    c.setPosition(position);
    return c.charFormat();
}

class LetterDesigner : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = QString::fromStdString(dir.path()) + QLatin1Char('/');
        ini = std::make_unique<TIniFile>(folder + QStringLiteral("CORVAN.ini"));
        previous = TMessages::setAnswerer([this](const TMessageRequest &r) {
            boxes << r.caption + QLatin1Char('|') + r.text;
            return QMessageBox::Yes;
        });
    }
    void TearDown() override
    {
        design.reset();
        TMessages::setAnswerer(previous);
    }
    void open(const QTextDocument *document = nullptr)
    {
        design = std::make_unique<TLetterDesign>(TLetterTemplates::untitled(), document, *ini);
        design->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(design.get()));
        design->RichEdit->setFocus();
    }
    QTextEdit *text() const { return design->RichEdit; }
    void selectAll() { QTest::keyClick(text(), Qt::Key_A, Qt::ControlModifier); }

    TempDir dir;
    QString folder;
    std::unique_ptr<TIniFile> ini;
    std::unique_ptr<TLetterDesign> design;
    QStringList boxes;
    TMessages::Answerer previous;
};

TEST_F(LetterDesigner, ANewLetterIsUntitledOnLetterPaperAndTypedInTheDefaultFont)
{
    ASSERT_TRUE(ini->writeString(QStringLiteral("Letter"), QStringLiteral("DefaultFontName"),
                                 QStringLiteral("Liberation Serif")));
    ASSERT_TRUE(ini->writeInteger(QStringLiteral("Letter"), QStringLiteral("DefaultFontSize"), 14));
    ASSERT_TRUE(ini->writeBool(QStringLiteral("Letter"), QStringLiteral("DefaultFontBold"), true));
    open();
    QTest::keyClicks(text(), QStringLiteral("Hi"));
    EXPECT_EQ(design->Description->text(), QStringLiteral("{untitled}"));
    EXPECT_EQ(TLetterPageLayout::of(design->document()), TLetterPageLayout());
    const QTextCharFormat typed = formatAt(design->document(), 1);
    EXPECT_EQ(typed.fontFamilies().toStringList(), QStringList{QStringLiteral("Liberation Serif")});
    EXPECT_EQ(typed.fontPointSize(), 14);
    EXPECT_EQ(typed.fontWeight(), QFont::Bold);
    EXPECT_EQ(design->mnuDefaultFont->text(),
              QStringLiteral("&Default Font: Liberation Serif, 14 pt , bold"));
    EXPECT_EQ(design->mnuWordWrap->text(), QStringLiteral("&Word Wrap is OFF"));
    clickMenu(design.get(), design->mnuWordWrap);
    EXPECT_EQ(design->mnuWordWrap->text(), QStringLiteral("&Word Wrap is ON"));
    EXPECT_EQ(text()->lineWrapMode(), QTextEdit::FixedPixelWidth);
    EXPECT_EQ(text()->lineWrapColumnOrWidth(), (12240 - 2 * 1440) / 15);
}

TEST_F(LetterDesigner, NameAndAddressInsertsItsFieldAtTheCursor)
{
    open();
    QTest::keyClicks(text(), QStringLiteral("To: "));
    pick(design->InsertField,
         static_cast<int>(TMergeFields::names().indexOf(QStringLiteral("Name and Address"))));
    EXPECT_EQ(design->document().toPlainText(), QStringLiteral("To: [Name and Address]"));
    EXPECT_TRUE(text()->hasFocus());
}

TEST_F(LetterDesigner, BoldOnASelectionAndAPageBreakThatKeepsTheCursorsFormat)
{
    open();
    QTest::keyClicks(text(), QStringLiteral("one"));
    QTest::keyClick(text(), Qt::Key_Home, Qt::ShiftModifier);
    QTest::mouseClick(design->BoldButton, Qt::LeftButton);
    QTest::keyClick(text(), Qt::Key_End);
    QTest::mouseClick(design->CenterButton, Qt::LeftButton);
    clickMenu(design.get(), design->mnuPageBreak);
    QTest::keyClicks(text(), QStringLiteral("two"));
    QTest::keyClick(text(), Qt::Key_Return);
    QTest::keyClicks(text(), QStringLiteral("three"));

    EXPECT_EQ(boxes, QStringList{QStringLiteral("PAGE BREAK|Insert a page break?")});
    const QTextDocument &doc = design->document();
    ASSERT_EQ(doc.blockCount(), 3);
    EXPECT_EQ(doc.findBlockByNumber(0).text(), QStringLiteral("one"));
    EXPECT_EQ(formatAt(doc, 1).fontWeight(), QFont::Bold);
    EXPECT_EQ(doc.findBlockByNumber(0).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    const QTextBlock two = doc.findBlockByNumber(1);
    EXPECT_EQ(two.text(), QStringLiteral("two"));
    EXPECT_TRUE(two.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_EQ(formatAt(doc, two.position() + 1).fontWeight(), QFont::Bold);
    // Enter after the break starts a paragraph on the same page.
    EXPECT_FALSE(doc.findBlockByNumber(2).blockFormat().pageBreakPolicy() &
                 QTextFormat::PageBreak_AlwaysBefore);
}

TEST_F(LetterDesigner, TheDefaultFontGoesToTheSelectionAndToTheSettingsEvenWhenCancelled)
{
    open();
    QTest::keyClicks(text(), QStringLiteral("abc"));
    selectAll();
    design->chooseFont = [](const TLetterDefaultFont &) {
        return std::optional<TLetterDefaultFont>(
            TLetterDefaultFont{QStringLiteral("Liberation Mono"), 16, false, true});
    };
    clickMenu(design.get(), design->mnuDefaultFont);
    const QTextCharFormat f = formatAt(design->document(), 2);
    EXPECT_EQ(f.fontFamilies().toStringList(), QStringList{QStringLiteral("Liberation Mono")});
    EXPECT_EQ(f.fontPointSize(), 16);
    EXPECT_TRUE(f.fontItalic());
    EXPECT_EQ(design->mnuDefaultFont->text(),
              QStringLiteral("&Default Font: Liberation Mono, 16 pt , italic"));
    EXPECT_EQ(ini->readString(QStringLiteral("Letter"), QStringLiteral("DefaultFontName")),
              QStringLiteral("Liberation Mono"));

    ASSERT_TRUE(ini->deleteKey(QStringLiteral("Letter"), QStringLiteral("DefaultFontSize")));
    design->chooseFont = [](const TLetterDefaultFont &) { return std::optional<TLetterDefaultFont>(); };
    clickMenu(design.get(), design->mnuDefaultFont);
    EXPECT_EQ(ini->readInteger(QStringLiteral("Letter"), QStringLiteral("DefaultFontSize"), 0), 16);
}

// Page settings used to save the text to "eraseme.rtf", clear the editor and load it back, so
// a failed save lost the letter; and sizes were taken unchecked.
TEST_F(LetterDesigner, PagePropertiesShowUnitsRefuseImpossiblePagesAndKeepTheText)
{
    open();
    QTest::keyClicks(text(), QStringLiteral("Keep me"));
    QStringList shown;
    bool stayedOpen = false;
    whenShown<TPagePropDlg>([&](TPagePropDlg *dialog) {
        shown << dialog->MarginLeft->text();
        pick(dialog->Unit, 1);
        shown << dialog->MarginLeft->text();
        pick(dialog->Unit, 2);
        shown << dialog->MarginLeft->text();
        retype(dialog->PaperWidth, QStringLiteral("2880"));
        QTest::mouseClick(dialog->OkButton, Qt::LeftButton);
        stayedOpen = dialog->isVisible();
        retype(dialog->MarginTop, QStringLiteral("-1"));
        retype(dialog->PaperWidth, QStringLiteral("8640"));
        QTest::mouseClick(dialog->OkButton, Qt::LeftButton);
        retype(dialog->MarginTop, QStringLiteral("720"));
        QTest::mouseClick(dialog->OkButton, Qt::LeftButton);
    });
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder);
    clickMenu(design.get(), design->mnuPage);
    QDir::setCurrent(before);

    EXPECT_EQ(shown, (QStringList{QStringLiteral("1.00"), QStringLiteral("2.54"), QStringLiteral("1440")}));
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(boxes, (QStringList{
                         QStringLiteral("Information|The paper width must be larger than the left and right "
                                        "margins together."),
                         QStringLiteral("Information|Paper size and margins cannot be negative.")}));
    const TLetterPageLayout page = TLetterPageLayout::of(design->document());
    EXPECT_EQ(page.paperWidth, 8640);
    EXPECT_EQ(page.marginTop, 720);
    EXPECT_EQ(design->document().toPlainText(), QStringLiteral("Keep me"));
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("eraseme.rtf")));
    EXPECT_EQ(text()->lineWrapColumnOrWidth(), (8640 - 2 * 1440) / 15);

    // The unit confirmed last is the one shown next.
    int unit = -1;
    whenShown<TPagePropDlg>([&](TPagePropDlg *dialog) {
        unit = dialog->Unit->currentIndex();
        QTest::mouseClick(dialog->CancelButton, Qt::LeftButton);
    });
    clickMenu(design.get(), design->mnuPage);
    EXPECT_EQ(unit, 2);
}

TEST_F(LetterDesigner, ParagraphPropertiesStorePointsAsTwips)
{
    open();
    QTest::keyClicks(text(), QStringLiteral("Para"));
    QString firstShown;
    whenShown<TParagraphPropDlg>([&](TParagraphPropDlg *dialog) {
        firstShown = dialog->FirstIndentCombo->currentText();
        retype(dialog->SpaceBeforePts, QStringLiteral("12"));
        retype(dialog->LeftIndent, QStringLiteral("0.5"));
        QTest::mouseClick(dialog->OkButton, Qt::LeftButton);
    });
    clickMenu(design.get(), design->mnuParagraph);
    EXPECT_EQ(firstShown, QStringLiteral("Same as Left Indent"));
    const TParagraphTwips p = TParagraphTwips::of(text()->textCursor().blockFormat());
    EXPECT_EQ(p.spaceBefore, 240);
    EXPECT_EQ(p.left, 720);
    EXPECT_EQ(p.first, 720); // follows the left indent
}

class SpellingDesigner : public LetterDesigner
{
protected:
    void SetUp() override
    {
        LetterDesigner::SetUp();
        dictionary = TSpellChecker::findMainDictionary();
        if (dictionary.isEmpty())
            GTEST_SKIP() << "no English Hunspell dictionary (hunspell-en-us)";
    }
    QString dictionary;
};

TEST_F(SpellingDesigner, F7ReportsMisspeltWordsOutsideFieldsAddsAndReplacesAll)
{
    open();
    design->setMainDictionary(dictionary);
    QTest::keyClicks(text(), QStringLiteral("Dear [Frst Name], thiss is a tesst of the tesst."));
    QStringList reported;
    QString replaceWith;
    whenShown<TSpellCheckDialog>([&](TSpellCheckDialog *dialog) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->reportedWord().isEmpty(); }));
        reported << dialog->reportedWord() << text()->textCursor().selectedText();
        QTest::mouseClick(dialog->AddButton, Qt::LeftButton);
        reported << dialog->reportedWord();
        replaceWith = dialog->ReplaceWith->text();
        QTest::mouseClick(dialog->ReplaceAllButton, Qt::LeftButton);
    });
    QTest::keyClick(text(), Qt::Key_F7);
    EXPECT_EQ(reported,
              (QStringList{QStringLiteral("thiss"), QStringLiteral("thiss"), QStringLiteral("tesst")}));
    TSpellChecker engine;
    ASSERT_TRUE(engine.openMain(dictionary));
    const QString first = engine.suggestions(QStringLiteral("tesst")).value(0);
    EXPECT_FALSE(first.isEmpty());
    EXPECT_EQ(replaceWith, first);
    EXPECT_EQ(design->document().toPlainText(), QStringLiteral("Dear [Frst Name], thiss is a ") + first +
                                                    QStringLiteral(" of the ") + first + QLatin1Char('.'));
    EXPECT_EQ(boxes, QStringList{QStringLiteral("Information|Spell check complete")});
    QFile user(folder + QStringLiteral("corvanu.dct"));
    ASSERT_TRUE(user.open(QIODevice::ReadOnly));
    EXPECT_EQ(user.readAll(), QByteArray("thiss\n"));
}

TEST_F(SpellingDesigner, ACleanTextIsCompleteAtOnce)
{
    open();
    design->setMainDictionary(dictionary);
    QTest::keyClicks(text(), QStringLiteral("Thank you for your letter."));
    QTest::keyClick(text(), Qt::Key_F7);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.isEmpty(); }));
    EXPECT_EQ(boxes, QStringList{QStringLiteral("Information|Spell check complete")});
    EXPECT_TRUE(QTest::qWaitFor([] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<TSpellCheckDialog *>(w) && w->isVisible())
                return false;
        return true;
    }));
}

TEST_F(LetterDesigner, WithoutADictionaryF7SaysSo)
{
    open();
    design->setMainDictionary(folder + QStringLiteral("none.dic"));
    QTest::keyClick(text(), Qt::Key_F7);
    EXPECT_EQ(boxes, QStringList{QStringLiteral("Information|") + TSpellChecker::missingDictionaryMessage()});
}

class LetterPreview : public ::testing::Test
{
protected:
    void SetUp() override
    {
        makeAddressFile(QString::fromStdString(dir.path()) + QStringLiteral("/add0001.DBF"),
                        {{"Ann", "Lee", "Salem"}, {"Bob", "Moreno", "Bend"}, {"Carla", "Nguyen", "Eugene"}},
                        table);
    }
    // The page images as the record buttons go first, next, next.
    std::vector<QImage> pagesByRecord(const QTextDocument &letter)
    {
        TRTFPreviewForm preview(letter, &table, TMergeDates::system(), nullptr);
        preview.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&preview));
        std::vector<QImage> images;
        QTest::mouseClick(preview.FirstRecord, Qt::LeftButton);
        images.push_back(preview.pageImage());
        QTest::mouseClick(preview.NextRecord, Qt::LeftButton);
        images.push_back(preview.pageImage());
        QTest::mouseClick(preview.NextRecord, Qt::LeftButton);
        images.push_back(preview.pageImage());
        return images;
    }
    TempDir dir;
    TAddressTable table;
};

TEST_F(LetterPreview, ATemplateWithoutFieldsShowsTheSamePageForEveryRecord)
{
    const std::vector<QImage> same = pagesByRecord(*letter({QStringLiteral("Dear customer")}));
    ASSERT_FALSE(same[0].isNull());
    EXPECT_EQ(same[0], same[1]);
    EXPECT_EQ(same[1], same[2]);
    const std::vector<QImage> merged = pagesByRecord(*letter({QStringLiteral("Dear [First]")}));
    EXPECT_NE(merged[0], merged[1]);
    EXPECT_NE(merged[1], merged[2]);
}

TEST_F(LetterPreview, PagesStopAtBothEndsAndZoomRedraws)
{
    TRTFPreviewForm preview(*letter({QStringLiteral("one"), QStringLiteral("two")}), &table,
                            TMergeDates::system(), nullptr);
    preview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    const int width = preview.pageImage().width();
    QTest::mouseClick(preview.PriorPage, Qt::LeftButton);
    EXPECT_EQ(preview.windowTitle(), QStringLiteral("Preview Letters"));
    QTest::mouseClick(preview.NextPage, Qt::LeftButton);
    EXPECT_EQ(preview.windowTitle(), QStringLiteral("Preview Letters Page 2"));
    const QImage second = preview.pageImage();
    QTest::mouseClick(preview.NextPage, Qt::LeftButton);
    EXPECT_EQ(preview.state().pageNumber, 2);
    EXPECT_EQ(preview.pageImage(), second);
    QTest::mouseClick(preview.PriorPage, Qt::LeftButton);
    EXPECT_EQ(preview.windowTitle(), QStringLiteral("Preview Letters Page 1"));
    const int zoom = preview.state().zoom;
    QTest::mouseClick(preview.Page, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(preview.state().zoom, zoom < 150 ? zoom * 5 / 4 : zoom);
    EXPECT_GT(preview.pageImage().width(), width);
    QTest::mouseClick(preview.Page, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_LT(preview.state().zoom, zoom < 150 ? zoom * 5 / 4 : zoom + 1);
}

class NoProgress : public TProgress
{
public:
    void setTotal(int) override {}
    void step() override {}
    bool cancelled() const override { return false; }
};

// A letter written in the designer, saved as RTF, loaded into another designer and printed
// keeps its fonts, alignment, page break and margins; LibreOffice reads the saved file too.
TEST_F(LetterDesigner, AWrittenLetterSavedReopenedAndPrintedKeepsItsFormat)
{
    ASSERT_TRUE(ini->writeString(QStringLiteral("Letter"), QStringLiteral("DefaultFontName"),
                                 QStringLiteral("Liberation Serif")));
    open();
    QTest::keyClicks(text(), QStringLiteral("First page"));
    QTest::mouseClick(design->CenterButton, Qt::LeftButton);
    clickMenu(design.get(), design->mnuPageBreak);
    QTest::mouseClick(design->LeftButton, Qt::LeftButton);
    QTest::mouseClick(design->BoldButton, Qt::LeftButton);
    QTest::keyClicks(text(), QStringLiteral("Second page"));
    whenShown<TPagePropDlg>([](TPagePropDlg *dialog) {
        pick(dialog->Unit, 0);
        retype(dialog->MarginLeft, QStringLiteral("2"));
        QTest::mouseClick(dialog->OkButton, Qt::LeftButton);
    });
    clickMenu(design.get(), design->mnuPage);
    const QString rtf = folder + QStringLiteral("letter.rtf");
    design->chooseFile = [rtf](bool) { return rtf; };
    clickMenu(design.get(), design->mnuSaveRTF);
    ASSERT_TRUE(QFile::exists(rtf));

    design = std::make_unique<TLetterDesign>(QStringLiteral("again"), nullptr, *ini);
    design->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(design.get()));
    design->chooseFile = [rtf](bool) { return rtf; };
    clickMenu(design.get(), design->mnuLoadRTF);
    const QTextDocument &doc = design->document();
    ASSERT_EQ(doc.blockCount(), 2);
    EXPECT_EQ(doc.findBlockByNumber(0).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    EXPECT_TRUE(doc.findBlockByNumber(1).blockFormat().pageBreakPolicy() &
                QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_EQ(formatAt(doc, 2).fontFamilies().toStringList(),
              QStringList{QStringLiteral("Liberation Serif")});
    EXPECT_EQ(formatAt(doc, doc.findBlockByNumber(1).position() + 2).fontWeight(), QFont::Bold);
    EXPECT_EQ(TLetterPageLayout::of(doc).marginLeft, 2880);

    if (tool("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    TAddressTable table;
    makeAddressFile(folder + QStringLiteral("add0001.DBF"), {{"Ann", "Lee", "Salem"}}, table);
    const QString pdf = folder + QStringLiteral("letter.pdf");
    {
        TPdfPrinterService service(pdf);
        TLetterPrint run(doc, service);
        run.setUsesLetterPaper(true);
        NoProgress progress;
        ASSERT_EQ(run.run(table, progress), TLetterPrint::Outcome::Completed) << run.message().toStdString();
    }
    EXPECT_EQ(pdfPageTexts(pdf), (QStringList{QStringLiteral("First page"), QStringLiteral("Second page")}));
    EXPECT_TRUE(pdfPageSize(pdf).startsWith(QLatin1String("612 x 792"))) << pdfPageSize(pdf).toStdString();
    // The 2-inch left margin: the second page's text starts 2 inches (144 points) in.
    const QString bbox =
        runTool("pdftotext", {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("2"),
                              QStringLiteral("-l"), QStringLiteral("2"), pdf, QStringLiteral("-")});
    const qsizetype at = bbox.indexOf(QLatin1String("xMin=\""), bbox.indexOf(QLatin1String("<word")));
    ASSERT_GT(at, 0);
    EXPECT_NEAR(bbox.mid(at + 6, 8).section(QLatin1Char('"'), 0, 0).toDouble(), 144.0, 2.0);

    if (tool("soffice").isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    const QString out = folder + QStringLiteral("lo");
    (void)runTool("soffice",
                  {QStringLiteral("-env:UserInstallation=file://") + folder + QStringLiteral("profile"),
                   QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                   QStringLiteral("--outdir"), out, rtf});
    const QString loPdf = out + QStringLiteral("/letter.pdf");
    ASSERT_TRUE(QFile::exists(loPdf));
    EXPECT_EQ(pdfPageTexts(loPdf),
              (QStringList{QStringLiteral("First page"), QStringLiteral("Second page")}));
}

} // namespace
