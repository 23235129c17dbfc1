#include "TLetterDesign.h"

#include "THelpRequest.h"

#include "TIniFile.h"
#include "TLetterDocument.h"
#include "TLetterFindDialog.h"
#include "TLetterPageLayout.h"
#include "TLetterRuler.h"
#include "TMergeFields.h"
#include "TMessages.h"
#include "TPagePropDlg.h"
#include "TParagraphPropDlg.h"
#include "TRTFPreviewForm.h"
#include "TRtfReader.h"
#include "TRtfWriter.h"
#include "TSpellCheckDialog.h"
#include "TSpellChecker.h"
#include "TWindowPlacer.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontComboBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3301;

TLengthUnit TLetterDesign::s_pageUnit = TLengthUnit::Inch;

namespace {

const QString kClassName = QStringLiteral("TLetterDesign");
const QString kFileFilter = QStringLiteral(
    "RTF files (*.RTF *.rtf);;HTML files (*.HTM *.htm);;TXT files (*.TXT *.txt);;all files (*.*)");
// A letter file larger than this is not read.
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

QToolButton *toolButton(const QString &text, const char *name, QWidget *parent, bool checkable = false)
{
    auto *b = new QToolButton(parent);
    b->setText(text);
    b->setObjectName(QLatin1String(name));
    b->setCheckable(checkable);
    b->setToolTip(text);
    return b;
}

QComboBox *colourList(const char *name, QWidget *parent)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    const std::pair<const char *, QColor> colours[] = {{"Default", QColor()},
                                                       {"Black", Qt::black},
                                                       {"Maroon", QColor(128, 0, 0)},
                                                       {"Green", QColor(0, 128, 0)},
                                                       {"Olive", QColor(128, 128, 0)},
                                                       {"Navy", QColor(0, 0, 128)},
                                                       {"Purple", QColor(128, 0, 128)},
                                                       {"Teal", QColor(0, 128, 128)},
                                                       {"Gray", Qt::gray},
                                                       {"Silver", QColor(192, 192, 192)},
                                                       {"Red", Qt::red},
                                                       {"Lime", Qt::green},
                                                       {"Yellow", Qt::yellow},
                                                       {"Blue", Qt::blue},
                                                       {"Fuchsia", Qt::magenta},
                                                       {"Aqua", Qt::cyan},
                                                       {"White", Qt::white}};
    for (const auto &[label, colour] : colours)
        list->addItem(QLatin1String(label), colour);
    return list;
}

bool isHtml(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QStringLiteral("htm") || suffix == QStringLiteral("html");
}

bool isText(const QString &path)
{
    return QFileInfo(path).suffix().toLower() == QStringLiteral("txt");
}

} // namespace

TLetterDesign::TLetterDesign(const QString &description, const QTextDocument *document, TIniFile &ini,
                             QWidget *parent)
    : QDialog(parent), m_ini(ini)
{
    setObjectName(kClassName);
    setWindowTitle(QStringLiteral("Letter Designer"));
    setModal(true);
    m_mainDictionary = TSpellChecker::findMainDictionary();
    m_defaultFont = TLetterDefaultFont::read(ini);
    Description = new QLineEdit(description, this);
    Description->setObjectName(QStringLiteral("Description"));
    Description->setMaxLength(50);
    InsertField = new QComboBox(this);
    InsertField->setObjectName(QStringLiteral("InsertField"));
    InsertField->addItems(TMergeFields::names());
    InsertField->setCurrentIndex(0);
    RichEdit = new QTextEdit(this);
    RichEdit->setObjectName(QStringLiteral("RichEdit"));
    RichEdit->setAcceptRichText(false);
    RichEdit->installEventFilter(this);
    Ruler = new TLetterRuler(RichEdit, this);
    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    PreviewButton = new QPushButton(QStringLiteral("Preview"), this);
    PreviewButton->setObjectName(QStringLiteral("PreviewButton"));
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    HelpButton->setObjectName(QStringLiteral("HelpButton"));
    for (QPushButton *b : {OkButton, CancelButton, PreviewButton, HelpButton})
        b->setAutoDefault(false);

    std::unique_ptr<QTextDocument> edited;
    if (document) {
        edited = TLetterDocument::copy(*document);
    } else {
        edited = std::make_unique<QTextDocument>();
        TLetterPageLayout().applyTo(*edited);
    }
    edited->setParent(RichEdit);
    RichEdit->setDocument(edited.release());
    if (!document)
        RichEdit->setCurrentCharFormat(m_defaultFont.appliedTo(RichEdit->currentCharFormat()));

    buildMenus();
    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(m_menuBar);
    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Description"), Description);
    fields->addRow(QStringLiteral("Insert field"), InsertField);
    layout->addLayout(fields);
    buildToolbar(layout);
    layout->addWidget(Ruler);
    layout->addWidget(RichEdit, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {OkButton, CancelButton, PreviewButton, HelpButton})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    resize(820, 700);

    connect(InsertField, QOverload<int>::of(&QComboBox::activated), this, &TLetterDesign::FieldClick);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(PreviewButton, &QPushButton::clicked, this, &TLetterDesign::PreviewButtonClick);
    THelpRequest::wire(this, HelpButton, kHelpTopic);
    connect(RichEdit, &QTextEdit::currentCharFormatChanged, this, [this] { showCursorFormat(); });
    connect(RichEdit, &QTextEdit::cursorPositionChanged, this, [this] { showCursorFormat(); });
    applyPage();
    showCursorFormat();
    RichEdit->setFocus();
}

TLetterDesign::~TLetterDesign() = default;

void TLetterDesign::buildMenus()
{
    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("MainMenu"));
    auto action = [this](QMenu *menu, const QString &text, const char *name, void (TLetterDesign::*slot)(),
                         const QKeySequence &keys = {}) {
        QAction *a = menu->addAction(text);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QMenu *file = bar->addMenu(QStringLiteral("&File"));
    mnuSaveRTF = action(file, QStringLiteral("&Save as RTF"), "mnuSaveRTF", &TLetterDesign::SaveRTFClick);
    mnuLoadRTF = action(file, QStringLiteral("&Load RTF"), "mnuLoadRTF", &TLetterDesign::LoadRTFClick);
    mnuInsertRTF =
        action(file, QStringLiteral("&Insert RTF"), "mnuInsertRTF", &TLetterDesign::InsertRTFClick);
    QMenu *edit = bar->addMenu(QStringLiteral("&Edit"));
    mnuFind = action(edit, QStringLiteral("&Find"), "mnuFind", &TLetterDesign::FindClick,
                     QKeySequence(Qt::CTRL | Qt::Key_F));
    mnuReplace = action(edit, QStringLiteral("&Replace"), "mnuReplace", &TLetterDesign::ReplaceClick,
                        QKeySequence(Qt::CTRL | Qt::Key_R));
    mnuSpellCheck = action(edit, QStringLiteral("&Spell Check"), "mnuSpellCheck",
                           &TLetterDesign::SpellCheckClick, QKeySequence(Qt::Key_F7));
    mnuPageBreak =
        action(edit, QStringLiteral("&Insert Page Break"), "mnuPageBreak", &TLetterDesign::PageBreakClick);
    QMenu *settings = bar->addMenu(QStringLiteral("&Settings"));
    mnuParagraph = action(settings, QStringLiteral("&Paragraph Settings"), "mnuParagraph",
                          &TLetterDesign::ParagraphClick);
    mnuPage = action(settings, QStringLiteral("Pa&ge Settings"), "mnuPage", &TLetterDesign::PageClick);
    mnuWordWrap =
        action(settings, QStringLiteral("&Word Wrap is OFF"), "mnuWordWrap", &TLetterDesign::WordWrapClick);
    mnuDefaultFont =
        action(settings, m_defaultFont.caption(), "mnuDefaultFont", &TLetterDesign::DefaultFontClick);
    m_menuBar = bar;
}

void TLetterDesign::buildToolbar(QBoxLayout *into)
{
    FontName = new QFontComboBox(this);
    FontName->setObjectName(QStringLiteral("FontName"));
    FontName->setToolTip(QStringLiteral("Font"));
    FontSize = new QComboBox(this);
    FontSize->setObjectName(QStringLiteral("FontSize"));
    FontSize->setToolTip(QStringLiteral("Font Size"));
    FontSize->setEditable(true);
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        FontSize->addItem(QString::number(size));
    TextColor = colourList("TextColor", this);
    TextColor->setToolTip(QStringLiteral("Text Color"));
    BackColor = colourList("BackColor", this);
    BackColor->setToolTip(QStringLiteral("Background Color"));
    NormalButton = toolButton(QStringLiteral("Normal"), "NormalButton", this);
    BoldButton = toolButton(QStringLiteral("Bold"), "BoldButton", this, true);
    ItalicButton = toolButton(QStringLiteral("Italic"), "ItalicButton", this, true);
    UnderlineButton = toolButton(QStringLiteral("Underline"), "UnderlineButton", this, true);
    LeftButton = toolButton(QStringLiteral("Left"), "LeftButton", this, true);
    RightButton = toolButton(QStringLiteral("Right"), "RightButton", this, true);
    JustifyButton = toolButton(QStringLiteral("Justified"), "JustifyButton", this, true);
    CenterButton = toolButton(QStringLiteral("Center"), "CenterButton", this, true);
    auto *bar = new QHBoxLayout;
    bar->addWidget(FontName);
    bar->addWidget(FontSize);
    bar->addWidget(TextColor);
    bar->addWidget(BackColor);
    for (QToolButton *b : {NormalButton, BoldButton, ItalicButton, UnderlineButton, LeftButton, RightButton,
                           JustifyButton, CenterButton}) {
        b->setFocusPolicy(Qt::NoFocus);
        bar->addWidget(b);
    }
    bar->addStretch();
    into->addLayout(bar);

    connect(FontName, &QFontComboBox::currentFontChanged, this, [this](const QFont &font) {
        QTextCharFormat f;
        f.setFontFamilies({font.family()});
        mergeFormat(f);
    });
    connect(FontSize, &QComboBox::textActivated, this, [this](const QString &text) {
        bool ok = false;
        const double size = text.toDouble(&ok);
        if (!ok || size < 1 || size > 1638)
            return;
        QTextCharFormat f;
        f.setFontPointSize(size);
        mergeFormat(f);
    });
    connect(TextColor, QOverload<int>::of(&QComboBox::activated), this, [this](int index) {
        QTextCharFormat f;
        const QColor c = TextColor->itemData(index).value<QColor>();
        if (c.isValid())
            f.setForeground(c);
        else
            f.clearForeground();
        if (!c.isValid()) {
            QTextCursor cursor = RichEdit->textCursor();
            QTextCharFormat plain = cursor.charFormat();
            plain.clearForeground();
            if (cursor.hasSelection())
                cursor.setCharFormat(plain);
            RichEdit->setCurrentCharFormat(plain);
            return;
        }
        mergeFormat(f);
    });
    connect(BackColor, QOverload<int>::of(&QComboBox::activated), this, [this](int index) {
        QTextCharFormat f;
        const QColor c = BackColor->itemData(index).value<QColor>();
        f.setBackground(c.isValid() ? QBrush(c) : QBrush(Qt::NoBrush));
        mergeFormat(f);
    });
    connect(NormalButton, &QToolButton::clicked, this, [this] {
        QTextCharFormat f;
        f.setFontWeight(QFont::Normal);
        f.setFontItalic(false);
        f.setFontUnderline(false);
        mergeFormat(f);
    });
    connect(BoldButton, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontWeight(on ? QFont::Bold : QFont::Normal);
        mergeFormat(f);
    });
    connect(ItalicButton, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontItalic(on);
        mergeFormat(f);
    });
    connect(UnderlineButton, &QToolButton::clicked, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontUnderline(on);
        mergeFormat(f);
    });
    connect(LeftButton, &QToolButton::clicked, this, [this] { setAlignment(Qt::AlignLeft); });
    connect(RightButton, &QToolButton::clicked, this, [this] { setAlignment(Qt::AlignRight); });
    connect(JustifyButton, &QToolButton::clicked, this, [this] { setAlignment(Qt::AlignJustify); });
    connect(CenterButton, &QToolButton::clicked, this, [this] { setAlignment(Qt::AlignHCenter); });
}

void TLetterDesign::mergeFormat(const QTextCharFormat &format)
{
    if (m_updatingToolbar)
        return;
    // With a selection the selection takes it; without one, what is typed next.
    RichEdit->mergeCurrentCharFormat(format);
    RichEdit->setFocus();
}

void TLetterDesign::setAlignment(Qt::Alignment alignment)
{
    RichEdit->setAlignment(alignment);
    showCursorFormat();
    RichEdit->setFocus();
}

void TLetterDesign::showCursorFormat()
{
    m_updatingToolbar = true;
    const QTextCharFormat f = RichEdit->currentCharFormat();
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty())
        FontName->setCurrentFont(QFont(families.first()));
    if (f.fontPointSize() > 0)
        FontSize->setCurrentText(QString::number(f.fontPointSize()));
    BoldButton->setChecked(f.fontWeight() >= QFont::Bold);
    ItalicButton->setChecked(f.fontItalic());
    UnderlineButton->setChecked(f.fontUnderline());
    const Qt::Alignment a = RichEdit->alignment() & Qt::AlignHorizontal_Mask;
    LeftButton->setChecked(a == Qt::AlignLeft || a == Qt::AlignLeading);
    RightButton->setChecked(a == Qt::AlignRight || a == Qt::AlignTrailing);
    JustifyButton->setChecked(a == Qt::AlignJustify);
    CenterButton->setChecked(a == Qt::AlignHCenter);
    m_updatingToolbar = false;
}

void TLetterDesign::applyPage()
{
    const TLetterPageLayout page = TLetterPageLayout::of(*RichEdit->document());
    // The document's unit is the 96-dpi pixel: 15 twips.
    const int textPixels = std::max(page.textWidth() / 15, 1);
    RichEdit->setLineWrapMode(m_wordWrap ? QTextEdit::FixedPixelWidth : QTextEdit::NoWrap);
    RichEdit->setLineWrapColumnOrWidth(textPixels);
    Ruler->setTextWidth(textPixels);
    mnuWordWrap->setText(m_wordWrap ? QStringLiteral("&Word Wrap is ON")
                                    : QStringLiteral("&Word Wrap is OFF"));
    RichEdit->viewport()->update();
}

int TLetterDesign::run(QDialog &dialog)
{
    if (runDialog)
        return runDialog(dialog);
    return dialog.exec();
}

QString TLetterDesign::description() const
{
    return Description->text();
}

const QTextDocument &TLetterDesign::document() const
{
    return *RichEdit->document();
}

void TLetterDesign::FieldClick(int index)
{
    if (index < 0 || index >= TMergeFields::names().size())
        return;
    RichEdit->insertPlainText(TMergeFields::token(TMergeFields::names().at(index)));
    RichEdit->setFocus();
}

void TLetterDesign::SaveRTFClick()
{
    const QString path =
        chooseFile ? chooseFile(true) : QFileDialog::getSaveFileName(this, QString(), QString(), kFileFilter);
    if (path.isEmpty())
        return;
    const QTextDocument &doc = *RichEdit->document();
    const QByteArray bytes = isHtml(path)   ? doc.toHtml().toUtf8()
                             : isText(path) ? doc.toPlainText().toUtf8()
                                            : TRtfWriter::write(doc);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        TMessages::information(this, QStringLiteral("The letter could not be saved to ") + path +
                                         QStringLiteral(": ") + file.errorString());
}

bool TLetterDesign::readFile(const QString &path, bool insert)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes) {
        TMessages::information(this,
                               QStringLiteral("The file ") + path + QStringLiteral(" could not be read"));
        return false;
    }
    const QByteArray bytes = file.readAll();
    auto read = std::make_unique<QTextDocument>();
    if (isHtml(path)) {
        read->setHtml(QString::fromUtf8(bytes));
        TLetterPageLayout::of(*RichEdit->document()).applyTo(*read);
    } else if (isText(path)) {
        read->setPlainText(QString::fromUtf8(bytes));
        TLetterPageLayout::of(*RichEdit->document()).applyTo(*read);
    } else {
        const xbase::Status status = TRtfReader::read(bytes, *read);
        if (!status.ok()) {
            TMessages::information(this, QStringLiteral("The file ") + path +
                                             QStringLiteral(" is not a readable RTF file: ") +
                                             QString::fromStdString(status.message()));
            return false;
        }
    }
    if (insert) {
        RichEdit->textCursor().insertFragment(QTextDocumentFragment(read.get()));
    } else {
        read->setParent(RichEdit);
        QTextDocument *old = RichEdit->document();
        RichEdit->setDocument(read.release());
        if (old && old->parent() == RichEdit)
            old->deleteLater();
        applyPage();
    }
    RichEdit->setFocus();
    return true;
}

void TLetterDesign::LoadRTFClick()
{
    const QString path = chooseFile ? chooseFile(false)
                                    : QFileDialog::getOpenFileName(this, QString(), QString(), kFileFilter);
    if (!path.isEmpty())
        (void)readFile(path, false); // a failure has shown its message and left the letter as it was
}

void TLetterDesign::InsertRTFClick()
{
    const QString path = chooseFile ? chooseFile(false)
                                    : QFileDialog::getOpenFileName(this, QString(), QString(), kFileFilter);
    if (!path.isEmpty())
        (void)readFile(path, true); // a failure has shown its message and left the letter as it was
}

void TLetterDesign::FindClick()
{
    TLetterFindDialog dialog(RichEdit, false, this);
    run(dialog);
}

void TLetterDesign::ReplaceClick()
{
    TLetterFindDialog dialog(RichEdit, true, this);
    run(dialog);
}

void TLetterDesign::SpellCheckClick()
{
    if (m_mainDictionary.isEmpty() || !QFileInfo(m_mainDictionary).isFile()) {
        TMessages::information(this, TSpellChecker::missingDictionaryMessage());
        return;
    }
    const QString user = QFileInfo(m_ini.path()).absoluteDir().filePath(QStringLiteral("corvanu.dct"));
    TSpellCheckDialog dialog(RichEdit, m_mainDictionary, user, this);
    run(dialog);
    RichEdit->setFocus();
}

void TLetterDesign::PageBreakClick()
{
    if (!TMessages::question(this, QStringLiteral("PAGE BREAK"), QStringLiteral("Insert a page break?"),
                             QMessageBox::Yes))
        return;
    QTextCursor cursor = RichEdit->textCursor();
    const QTextCharFormat chars = cursor.charFormat();
    QTextBlockFormat block = cursor.blockFormat();
    block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor.insertBlock(block, chars);
    RichEdit->setTextCursor(cursor);
    RichEdit->setCurrentCharFormat(chars);
    RichEdit->setFocus();
}

void TLetterDesign::ParagraphClick()
{
    QTextCursor cursor = RichEdit->textCursor();
    TParagraphPropDlg dialog(TParagraphTwips::of(cursor.blockFormat()), this);
    if (run(dialog) != QDialog::Accepted)
        return;
    QTextBlockFormat format = cursor.blockFormat();
    dialog.paragraph().applyTo(format);
    cursor.setBlockFormat(format);
    Ruler->update();
}

void TLetterDesign::PageClick()
{
    QTextDocument &doc = *RichEdit->document();
    TPagePropDlg dialog(TLetterPageLayout::of(doc), s_pageUnit, this);
    if (run(dialog) != QDialog::Accepted)
        return;
    s_pageUnit = dialog.unit();
    // The page is the document's own: the text stays where it is and is laid out anew.
    dialog.layout().applyTo(doc);
    applyPage();
    Ruler->update();
}

void TLetterDesign::WordWrapClick()
{
    m_wordWrap = !m_wordWrap;
    applyPage();
}

void TLetterDesign::DefaultFontClick()
{
    std::optional<TLetterDefaultFont> chosen;
    if (chooseFont) {
        chosen = chooseFont(m_defaultFont);
    } else {
        QFont initial(m_defaultFont.name, m_defaultFont.pointSize,
                      m_defaultFont.bold ? QFont::Bold : QFont::Normal, m_defaultFont.italic);
        bool ok = false;
        const QFont font = QFontDialog::getFont(&ok, initial, this);
        if (ok)
            chosen =
                TLetterDefaultFont{font.family(), std::max(font.pointSize(), 1), font.bold(), font.italic()};
    }
    if (chosen) {
        m_defaultFont = *chosen;
        QTextCursor cursor = RichEdit->textCursor();
        const QTextCharFormat format = m_defaultFont.appliedTo(RichEdit->currentCharFormat());
        if (cursor.hasSelection())
            cursor.mergeCharFormat(format);
        RichEdit->setCurrentCharFormat(format);
    }
    mnuDefaultFont->setText(m_defaultFont.caption());
    if (!m_defaultFont.write(m_ini))
        TMessages::information(this,
                               QStringLiteral("The default font could not be written to the settings file"));
    RichEdit->setFocus();
}

void TLetterDesign::PreviewButtonClick()
{
    TRTFPreviewForm preview(*RichEdit->document(), m_table, TMergeDates::system(), &m_ini, this);
    TWindowPlacer::centre(&preview, parentWidget());
    run(preview);
}

void TLetterDesign::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    m_wordWrap = false;
    applyPage();
    TWindowPlacer::restore(this, kClassName, m_ini, false);
}

void TLetterDesign::done(int result)
{
    (void)TWindowPlacer::save(this, kClassName, m_ini); // a placement not kept is no error to tell
    QDialog::done(result);
}

void TLetterDesign::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (!m_closing) {
        m_closing = true;
        accept();
    }
}

bool TLetterDesign::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == RichEdit && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // A new paragraph after a page break does not start another page.
            QTextCursor cursor = RichEdit->textCursor();
            QTextBlockFormat format = cursor.blockFormat();
            if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) {
                format.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
                const QTextCharFormat chars = RichEdit->currentCharFormat();
                cursor.insertBlock(format, chars);
                RichEdit->setTextCursor(cursor);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}
