#include "TAddressMain.h"

#include "TAddressBrowseForm.h"
#include "TAddressQueryForm.h"
#include "TAddressSearch.h"
#include "TAddressSession.h"
#include "TAddressTable.h"
#include "TAsciiImport.h"
#include "TCVDialer.h"
#include "TCVEnvelopes.h"
#include "TCVReindex.h"
#include "TContextHelp.h"
#include "TConvertToUpper.h"
#include "TCopyOut.h"
#include "TCopyToClipBoard.h"
#include "TCountZipCodes.h"
#include "TCurrentRecordValues.h"
#include "TDBFImport.h"
#include "TDeleteRecords.h"
#include "TDupCheck.h"
#include "TEditState.h"
#include "TEnvelopeSetups.h"
#include "TFieldLengths.h"
#include "TFileCase.h"
#include "TFilterFileCommands.h"
#include "TFormKeys.h"
#include "TFreezeGuard.h"
#include "TGettingStarted.h"
#include "THelpTopics.h"
#include "THourglass.h"
#include "TImportOlder.h"
#include "TIniFile.h"
#include "TLabelSetupScreen.h"
#include "TLabelSetups.h"
#include "TLetterTemplates.h"
#include "TMessages.h"
#include "TNewDatabaseForm.h"
#include "TNewFileName.h"
#include "TPreferencesForm.h"
#include "TPrintCurrentRecord.h"
#include "TPrinterCalibrationForm.h"
#include "TPrinterCheck.h"
#include "TProgramIcon.h"
#include "TQtPrinterService.h"
#include "TRecentFiles.h"
#include "TRecordEditCommands.h"
#include "TReportSetup.h"
#include "TSearchAndReplace.h"
#include "TSearchForm.h"
#include "TSortOrders.h"
#include "TStateZipCheck.h"
#include "TSysReindexForm.h"
#include "TSystemTables.h"
#include "TTagAllRecords.h"
#include "TTagCommands.h"
#include "TWhatsThis.h"
#include "TWindowPlacer.h"
#include "TcVLetters.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStackedLayout>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QValidator>

namespace {

const QString kClassName = QStringLiteral("TAddressMain");

struct BoxSpec {
    const char *field;
    const char *caption;
};

// The name panel, then the main page, in the order the boxes are shown.
const BoxSpec kNameBoxes[] = {
    {"LNAME", "Last"},    {"FNAME", "First"}, {"MIDDLE", "MI"},
    {"PREFIX", "Prefix"}, {"TITLE", "Title"}, {"ORG", "Org"},
};
const BoxSpec kMainBoxes[] = {
    {"STREET", "Address 1"},    {"STREET2", "Address 2"},  {"CITY", "City"},
    {"STATE", "State or Prov"}, {"ZIP", "Zip or Postal "}, {"COUNTRY", "Country"},
    {"PHONE", "Phone 1"},       {"PHONE2", "Phone 2"},     {"FAX", "Fax"},
    {"EMAIL", "E-mail"},        {"CODES", "Codes"},        {"USER1", "Comment 1"},
    {"USER2", "Comment 2"},
};

// The "What's this?" texts of the record boxes, by field.
const BoxSpec kBoxHelp[] = {
    {"LNAME", "The person's last name. The Last Name sort order and the duplicate check use it."},
    {"FNAME", "The person's first name."},
    {"MIDDLE", "The middle initial, typed in capitals. Printed with a period after it."},
    {"PREFIX", "A prefix printed before the name, such as Mr., Ms. or Dr."},
    {"TITLE", "The person's job title."},
    {"ORG", "The organization or company the person belongs to."},
    {"STREET", "The first line of the street address."},
    {"STREET2", "A second address line: suite, apartment, building or post office box."},
    {"CITY", "The city. With a new record it can be filled in from the ZIP code."},
    {"STATE", "The state or province, usually as its two-letter code."},
    {"ZIP", "The ZIP or postal code. Labels and envelopes print their postal barcode from it."},
    {"COUNTRY", "The country; leave it empty for addresses in your own country."},
    {"PHONE", "The first phone number."},
    {"PHONE2", "A second phone number."},
    {"FAX", "The fax number."},
    {"EMAIL", "The e-mail address."},
    {"CODES", "Code letters of your own for grouping records; a filter can select on them."},
    {"USER1", "A first comment of your own."},
    {"USER2", "A second comment of your own."},
};

// The "What's this?" texts of the other controls.
const char *const kLabelsHelp = "Prints labels for the records, or designs label layouts (Ctrl+L).";
const char *const kLettersHelp = "Prints merged letters for the records, or edits letter templates (Ctrl+T).";
const char *const kEnvelopesHelp = "Prints envelopes for the records, or designs envelope layouts (Ctrl+E).";
const char *const kReportsHelp = "Prints reports of the records, or designs report layouts (Ctrl+R).";
const char *const kBrowseHelp =
    "Shows the records as a table; moving there moves the record shown here (Ctrl+B).";
const char *const kSearchHelp =
    "Finds the first record whose value in a sort order begins with the text you type (Ctrl+S).";
const char *const kFilterHelp = "Shows only the records that match the values you set (Ctrl+F).";
const char *const kMouseHelpHelp =
    "Right-click any control and choose \"What's this?\" to learn what it does.";
const char *const kDateButtonHelp = "Opens a calendar to choose the record's date, or to clear it.";
const char *const kDateBoxHelp = "The record's date, in your short date format. Set it with the Date button.";
const char *const kDial1Help = "Dials the first phone number.";
const char *const kDial2Help = "Dials the second phone number.";
const char *const kTaggedHelp =
    "Click to tag or untag the record. Filters and printing can select the tagged records.";
const char *const kMemoHelp = "Notes of any length about the record. Typing here starts editing the record.";
const char *const kSearchMemoHelp = "Finds the first record whose memo contains the text you type.";
const char *const kFindNextHelp = "Finds the next record whose memo contains the same text.";
const char *const kPagesHelp = "Switches between the address page and the memo page of the record.";
const char *const kSortStatusHelp = "The order the records are shown in. Change it in the Sort menu.";
const char *const kFilterStatusHelp = "How many records are shown, and whether a filter selects them.";
const char *const kEmptyPanelHelp =
    "No address file is open. Open one, or create a new one, from the File menu.";
const char *const kExitHelp = "Closes the address file and ends the program.";
const char *const kFirstHelp = "Shows the first record (Ctrl+Up).";
const char *const kPriorHelp = "Shows the previous record (Ctrl+Left).";
const char *const kNextHelp = "Shows the next record (Ctrl+Right).";
const char *const kLastHelp = "Shows the last record (Ctrl+Down).";
const char *const kAddHelp = "Starts a new record.";
const char *const kEditHelp = "Starts changing the record shown. Typing in a box does the same.";
const char *const kSaveHelp = "Stores the changes to the record (Ctrl+Enter).";
const char *const kCancelHelp = "Drops the changes to the record (Esc).";
const char *const kDeleteHelp = "Deletes the record shown, after asking.";
const char *const kClearFilterHelp = "Removes the filter, so that every record shows again.";
const char *const kTypingModeHelp =
    "INS: typing goes in ahead of the cursor. OVR: typing replaces. The Insert key switches.";

// Turns whatever is typed or pasted into capitals (the middle-initial box).
class TUpperCaseValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};

QPushButton *hinted(const QString &caption, const char *hint, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setToolTip(QLatin1String(hint));
    button->setStatusTip(QLatin1String(hint));
    return button;
}

} // namespace

TAddressMain::TAddressMain(QString settingsPath, QWidget *parent)
    : QMainWindow(parent), m_session(new TAddressSession(std::move(settingsPath), this))
{
    setObjectName(kClassName);
    setWindowTitle(QStringLiteral("Corvantis"));
    setWindowIcon(TProgramIcon::icon());
    setFont(QFont(QStringLiteral("Arial")));
    TableCVW = &m_session->table();
    m_session->setPrinterServiceMaker([this] {
        return std::make_unique<TQtPrinterService>(programFolder() + QStringLiteral("Corvantis.pdf"), this);
    });
    buildForm();
    buildMenus();
    wireEditing();
    describeControls();
    // Every window's Help button and F1 open the help window on its topic.
    TContextHelp::installHandler(programFolder());
    connect(TableCVW, &TAddressTable::recordChanged, this, &TAddressMain::RefreshForm);
    connect(m_session, &TAddressSession::orderChanged, this, &TAddressMain::showOrder);
    connect(m_session, &TAddressSession::recentFilesChanged, this, &TAddressMain::rebuildMruMenu);
    // The designed size, used when no placement is stored.
    resize(800, 600);
    SortStatus->clear();
    FilterStatus->clear();
    PageTabs->setCurrentIndex(0);
}

TAddressMain::~TAddressMain()
{
    // The keyboard rules act through the commands: they go first.
    delete m_keys;
    m_keys = nullptr;
}

QString TAddressMain::programFolder() const
{
    return m_session->programFolder();
}

// ---- Building -------------------------------------------------------------------------

void TAddressMain::buildForm()
{
    auto *central = new QWidget(this);
    auto *outer = new QVBoxLayout(central);

    // Button bar.
    auto *bar = new QHBoxLayout;
    LabelsButton =
        hinted(QStringLiteral("Labels"), "Click here or press CTRL+L to print/design labels", central);
    LettersButton =
        hinted(QStringLiteral("Letters"), "Click here or press CTRL+T to print/design letters", central);
    EnvelopesButton =
        hinted(QStringLiteral("Envelopes"), "Click here or press CTRL+E to print/design envelopes", central);
    ReportsButton =
        hinted(QStringLiteral("Reports"), "Click here or press CTRL+R to print/design reports", central);
    BrowseButton = hinted(QStringLiteral("Browse"),
                          "Click here or press CTRL+B for a table view of the database", central);
    SearchButton = hinted(QStringLiteral("Search"),
                          "Click here or press CTRL+S to search for a specific value", central);
    FilterButton =
        hinted(QStringLiteral("Filter"), "Click here or press CTRL+F to set or change a filter", central);
    MouseHelpButton = hinted(QStringLiteral("?"), "Click here for mouse help", central);
    for (QPushButton *b : {LabelsButton, LettersButton, EnvelopesButton, ReportsButton, BrowseButton,
                           SearchButton, FilterButton, MouseHelpButton}) {
        b->setFocusPolicy(Qt::NoFocus);
        bar->addWidget(b);
    }
    bar->addStretch();
    connect(MouseHelpButton, &QPushButton::clicked, this, &TAddressMain::HelpClick);
    outer->addLayout(bar);

    // The form and, over it while no file is open, the empty-state panel.
    auto *stackHost = new QWidget(central);
    m_stack = new QStackedLayout(stackHost);
    m_form = new QWidget(stackHost);
    auto *formLayout = new QVBoxLayout(m_form);
    formLayout->setContentsMargins(0, 0, 0, 0);

    auto addBox = [this](QGridLayout *grid, const BoxSpec &spec, int row, int column, QWidget *parent) {
        auto *edit = new QLineEdit(parent);
        const QString field = QLatin1String(spec.field);
        edit->setObjectName(field);
        auto *label = new QLabel(QLatin1String(spec.caption), parent);
        label->setBuddy(edit);
        grid->addWidget(label, row, column);
        grid->addWidget(edit, row, column + 1);
        m_boxes.insert(field, edit);
        m_boxLabels.insert(field, label);
        if (field == QLatin1String("MIDDLE"))
            edit->setValidator(new TUpperCaseValidator(edit));
    };

    auto *names = new QGridLayout;
    for (int i = 0; i < int(std::size(kNameBoxes)); ++i)
        addBox(names, kNameBoxes[i], i / 3, (i % 3) * 2, m_form);
    formLayout->addLayout(names);

    PageTabs = new QTabWidget(m_form);
    PageTabs->setTabPosition(QTabWidget::South);
    auto *mainPage = new QWidget(PageTabs);
    mainPage->setObjectName(QStringLiteral("Main"));
    auto *mainGrid = new QGridLayout(mainPage);
    for (int i = 0; i < int(std::size(kMainBoxes)); ++i)
        addBox(mainGrid, kMainBoxes[i], i % 7, (i / 7) * 3, mainPage);
    DateLabel = new QPushButton(QStringLiteral("Date"), mainPage);
    DateLabel->setEnabled(false);
    DateEdit = new QLineEdit(mainPage);
    DateEdit->setObjectName(QStringLiteral("DisplayDate"));
    DateEdit->setReadOnly(true);
    mainGrid->addWidget(DateLabel, 6, 3);
    mainGrid->addWidget(DateEdit, 6, 4);
    Dial1Button = new QPushButton(QStringLiteral("Dial Phone &1"), mainPage);
    Dial2Button = new QPushButton(QStringLiteral("Dial Phone &2"), mainPage);
    mainGrid->addWidget(Dial1Button, 6, 2);
    mainGrid->addWidget(Dial2Button, 0, 5);
    TaggedCheck = new QCheckBox(QStringLiteral("Tagged"), mainPage);
    // The box shows the tag; a left-button press on it toggles the tag (see eventFilter).
    TaggedCheck->setFocusPolicy(Qt::NoFocus);
    TaggedCheck->installEventFilter(this);
    mainGrid->addWidget(TaggedCheck, 7, 4);
    PageTabs->addTab(mainPage, QStringLiteral("Address &Information"));

    auto *memoPage = new QWidget(PageTabs);
    memoPage->setObjectName(QStringLiteral("Memo"));
    auto *memoLayout = new QVBoxLayout(memoPage);
    MemoEdit = new QPlainTextEdit(memoPage);
    MemoEdit->setObjectName(QStringLiteral("MEMO"));
    SearchMemoButton = new QPushButton(QStringLiteral("Search &Memo"), memoPage);
    SearchMemoNextButton = new QPushButton(QStringLiteral("Find &Next"), memoPage);
    SearchMemoButton->setEnabled(false);
    SearchMemoNextButton->hide();
    auto *memoButtons = new QHBoxLayout;
    memoButtons->addWidget(SearchMemoButton);
    memoButtons->addWidget(SearchMemoNextButton);
    memoButtons->addStretch();
    memoLayout->addWidget(MemoEdit);
    memoLayout->addLayout(memoButtons);
    PageTabs->addTab(memoPage, QStringLiteral("&Memo"));
    formLayout->addWidget(PageTabs);

    EmptyPanel = new QLabel(QStringLiteral("Please Open or Create a Corvantis Address file"), stackHost);
    EmptyPanel->setAlignment(Qt::AlignCenter);
    EmptyPanel->setWordWrap(true);
    QFont big = EmptyPanel->font();
    big.setPointSize(20);
    big.setBold(true);
    big.setItalic(true);
    EmptyPanel->setFont(big);
    m_stack->addWidget(m_form);
    m_stack->addWidget(EmptyPanel);
    m_stack->setCurrentWidget(EmptyPanel);
    outer->addWidget(stackHost, 1);

    // Bottom bar.
    auto *bottom = new QHBoxLayout;
    ExitButton = new QPushButton(QStringLiteral("E&xit"), central);
    FirstButton = new QPushButton(QStringLiteral("|<"), central);
    PriorButton = new QPushButton(QStringLiteral("<"), central);
    NextButton = new QPushButton(QStringLiteral(">"), central);
    LastButton = new QPushButton(QStringLiteral(">|"), central);
    AddButton = new QPushButton(QStringLiteral("&Add"), central);
    EditButton = new QPushButton(QStringLiteral("&Edit"), central);
    SaveButton = new QPushButton(QStringLiteral("&Save"), central);
    CancelButton = new QPushButton(QStringLiteral("&Cancel"), central);
    DeleteButton = new QPushButton(QStringLiteral("&Delete"), central);
    ClearFilterButton = new QPushButton(QStringLiteral("Clear Filter"), central);
    FirstButton->setObjectName(QStringLiteral("FirstButton"));
    PriorButton->setObjectName(QStringLiteral("PriorButton"));
    NextButton->setObjectName(QStringLiteral("NextButton"));
    LastButton->setObjectName(QStringLiteral("LastButton"));
    for (QPushButton *b : {FirstButton, PriorButton, NextButton, LastButton})
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(QStringLiteral(">|")) + 24);
    for (QPushButton *b : {ExitButton, FirstButton, PriorButton, NextButton, LastButton, AddButton,
                           EditButton, SaveButton, CancelButton, DeleteButton, ClearFilterButton})
        bottom->addWidget(b);
    bottom->addStretch();
    outer->addLayout(bottom);
    connect(ExitButton, &QPushButton::clicked, this, &QWidget::close);
    connect(FirstButton, &QPushButton::clicked, this, &TAddressMain::FirstButtonClick);
    connect(PriorButton, &QPushButton::clicked, this, &TAddressMain::PriorButtonClick);
    connect(NextButton, &QPushButton::clicked, this, &TAddressMain::NextButtonClick);
    connect(LastButton, &QPushButton::clicked, this, &TAddressMain::LastButtonClick);

    setCentralWidget(central);

    SortStatus = new QLabel(this);
    FilterStatus = new QLabel(this);
    SortStatus->setObjectName(QStringLiteral("SortStatus"));
    FilterStatus->setObjectName(QStringLiteral("FilterStatus"));
    statusBar()->addWidget(SortStatus, 1);
    statusBar()->addPermanentWidget(FilterStatus);
}

void TAddressMain::buildMenus()
{
    FileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    NewFileMenu =
        FileMenu->addAction(QStringLiteral("&New Address Database"), this, &TAddressMain::NewFileMenuClick);
    OpenFileMenu =
        FileMenu->addAction(QStringLiteral("&Open Address DataBase"), this, &TAddressMain::OpenFileMenuClick);
    FileMenu->addSeparator();
    mnuBrowse = FileMenu->addAction(QStringLiteral("&Browse"), this, &TAddressMain::BrowseButtonClick);
    mnuBrowse->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    mnuSearch = FileMenu->addAction(QStringLiteral("&Search"), this, &TAddressMain::SearchButtonClick);
    mnuSearch->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    FileMenu->addSeparator();
    mnuImportDBF =
        FileMenu->addAction(QStringLiteral("Import from &DBF File"), this, &TAddressMain::mnuImportDBFClick);
    mnuImportASCII = FileMenu->addAction(QStringLiteral("Import from &ASCII File"), this,
                                         &TAddressMain::mnuImportASCIIClick);
    Importfrom = FileMenu->addAction(QStringLiteral("Import from Corvantis 1.x DBF"), this,
                                     &TAddressMain::ImportfromClick);
    mnuImportFromCorvantis2xFile = FileMenu->addAction(QStringLiteral("Import from Corvantis 2.x DBF"), this,
                                                       &TAddressMain::mnuImportFromCorvantis2xFileClick);
    CopyRecordsOutMnu =
        FileMenu->addAction(QStringLiteral("&Export "), this, &TAddressMain::CopyRecordsOutMnuClick);
    FileMenu->addSeparator();
    mnuSetFilter = FileMenu->addAction(QStringLiteral("Set &Filter"), this, &TAddressMain::mnuSetFilterClick);
    mnuSetFilter->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    mnuClearFilter =
        FileMenu->addAction(QStringLiteral("&Clear Filter"), this, &TAddressMain::mnuClearFilterClick);
    mnuSaveFilter =
        FileMenu->addAction(QStringLiteral("&Save Filter"), this, &TAddressMain::mnuSaveFilterClick);
    mnuRestoreFilter =
        FileMenu->addAction(QStringLiteral("&Restore Filter"), this, &TAddressMain::mnuRestoreFilterClick);
    connect(FilterButton, &QPushButton::clicked, this, &TAddressMain::mnuSetFilterClick);
    connect(ClearFilterButton, &QPushButton::clicked, this, &TAddressMain::mnuClearFilterClick);
    connect(BrowseButton, &QPushButton::clicked, this, &TAddressMain::BrowseButtonClick);
    connect(SearchButton, &QPushButton::clicked, this, &TAddressMain::SearchButtonClick);
    connect(LabelsButton, &QPushButton::clicked, this, &TAddressMain::LabelsMenuClick);
    connect(LettersButton, &QPushButton::clicked, this, &TAddressMain::LettersMenuClick);
    connect(EnvelopesButton, &QPushButton::clicked, this, &TAddressMain::EnvelopesMenuClick);
    connect(ReportsButton, &QPushButton::clicked, this, &TAddressMain::ReportsMenuClick);
    connect(Dial1Button, &QPushButton::clicked, this, [this] { DialButtonClick(QStringLiteral("PHONE")); });
    connect(Dial2Button, &QPushButton::clicked, this, [this] { DialButtonClick(QStringLiteral("PHONE2")); });
    FileMenu->addSeparator();
    ClearTags1 = FileMenu->addAction(QStringLiteral("Clear &Tags"), this, &TAddressMain::ClearTags1Click);
    mnuTagAllFilterMatches = FileMenu->addAction(QStringLiteral("&Tag All Filter Matches"), this,
                                                 &TAddressMain::mnuTagAllFilterMatchesClick);
    FileMenu->addSeparator();
    mnuRebuildIndexes = FileMenu->addAction(QStringLiteral("&Rebuild Indexes for this file"), this,
                                            &TAddressMain::mnuRebuildIndexesClick);
    RebuildSystemFileindexesmnu = FileMenu->addAction(QStringLiteral("Rebuild S&ystem File indexes"), this,
                                                      &TAddressMain::RebuildSystemFileindexesmnuClick);
    Prefences1 = FileMenu->addAction(QStringLiteral("Pre&ferences"), this, &TAddressMain::PrefencesClick);
    FileMenu->addSeparator();
    ExitMenu = FileMenu->addAction(QStringLiteral("E&xit "), this, &QWidget::close);
    mruSeparator = FileMenu->addSeparator();

    // The hidden Edit menu: its items act on the focused text box.
    mnuEditMenu = menuBar()->addMenu(QStringLiteral("Ed&it"));
    mnuEditMenu->menuAction()->setVisible(false);
    const auto editItem = [this](const char *caption, QKeySequence key, void (*act)(QWidget *)) {
        QAction *a = mnuEditMenu->addAction(QLatin1String(caption), this, [act] {
            if (QWidget *w = QApplication::focusWidget())
                act(w);
        });
        a->setShortcut(key);
        // The text boxes keep their own keys; the items are reached from the menu only.
        a->setShortcutContext(Qt::WidgetShortcut);
        return a;
    };
    editItem("&Undo typing", QKeySequence(Qt::CTRL | Qt::Key_Z), [](QWidget *w) {
        if (auto *e = qobject_cast<QLineEdit *>(w))
            e->undo();
        else if (auto *m = qobject_cast<QPlainTextEdit *>(w))
            m->undo();
    });
    editItem("Cu&t", QKeySequence(Qt::CTRL | Qt::Key_X), [](QWidget *w) {
        if (auto *e = qobject_cast<QLineEdit *>(w))
            e->cut();
        else if (auto *m = qobject_cast<QPlainTextEdit *>(w))
            m->cut();
    });
    editItem("&Copy", QKeySequence(Qt::CTRL | Qt::Key_C), [](QWidget *w) {
        if (auto *e = qobject_cast<QLineEdit *>(w))
            e->copy();
        else if (auto *m = qobject_cast<QPlainTextEdit *>(w))
            m->copy();
    });
    editItem("&Paste", QKeySequence(Qt::CTRL | Qt::Key_V), [](QWidget *w) {
        if (auto *e = qobject_cast<QLineEdit *>(w))
            e->paste();
        else if (auto *m = qobject_cast<QPlainTextEdit *>(w))
            m->paste();
    });

    mnuRecord = menuBar()->addMenu(QStringLiteral("&Record"));
    mnufirst = mnuRecord->addAction(QStringLiteral("&First"), this, &TAddressMain::FirstButtonClick);
    mnuPrev = mnuRecord->addAction(QStringLiteral("&Previous"), this, &TAddressMain::PriorButtonClick);
    mnuNext = mnuRecord->addAction(QStringLiteral("&Next"), this, &TAddressMain::NextButtonClick);
    mnuLast = mnuRecord->addAction(QStringLiteral("&Last"), this, &TAddressMain::LastButtonClick);
    mnufirst->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Up));
    mnuPrev->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Left));
    mnuNext->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Right));
    mnuLast->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Down));
    mnuRecord->addSeparator();
    mnuAdd = mnuRecord->addAction(QStringLiteral("&Add"));
    mnuEdit = mnuRecord->addAction(QStringLiteral("&Edit"));
    mnuDelete = mnuRecord->addAction(QStringLiteral("&Delete"));
    mnuRecord->addSeparator();
    ToClipboard1 =
        mnuRecord->addAction(QStringLiteral("Copy To &Clipboard"), this, &TAddressMain::ToClipboard1Click);
    mnuClone = mnuRecord->addAction(QStringLiteral("Create a Duplicate &Record (Clone)"));

    mnuOrder = menuBar()->addMenu(QStringLiteral("&Sort"));
    for (const TSortOrder &s : TSortOrders::all()) {
        SortItem item;
        item.caption = s.caption;
        item.tag = s.tag;
        item.action = mnuOrder->addAction(item.caption);
        item.action->setCheckable(true);
        item.action->setObjectName(item.tag);
        const QString name = sortName(item);
        connect(item.action, &QAction::triggered, this, [this, name] { SetOrderTo(name); });
        m_sortItems.append(item);
    }
    m_sortItems.first().action->setChecked(true);

    mnuUtilities = menuBar()->addMenu(QStringLiteral("&Utilities"));
    CountZipCodes1 =
        mnuUtilities->addAction(QStringLiteral("Count &Zip Codes"), this, &TAddressMain::CountZipCodes1Click);
    CheckState1 = mnuUtilities->addAction(QStringLiteral("Check && Repair &State and Zip Codes"), this,
                                          &TAddressMain::CheckState1Click);
    DuplicatesReport1 = mnuUtilities->addAction(QStringLiteral("Check && Repair &Duplicates"), this,
                                                &TAddressMain::DuplicatesReport1Click);
    mnuUtilities->addSeparator();
    CaseConversion1 =
        mnuUtilities->addAction(QStringLiteral("Con&vert Case"), this, &TAddressMain::CaseConversion1Click);
    DeleteRecords1 =
        mnuUtilities->addAction(QStringLiteral("Delete &Records"), this, &TAddressMain::DeleteRecords1Click);
    SearchReplaceFieldValues1 = mnuUtilities->addAction(QStringLiteral("&Search && Replace Field Values"),
                                                        this, &TAddressMain::SearchReplaceFieldValues1Click);

    mnuPrint = menuBar()->addMenu(QStringLiteral("&Print"));
    LabelsMenu = mnuPrint->addAction(QStringLiteral("Print &Labels"), this, &TAddressMain::LabelsMenuClick);
    LabelsMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    LettersMenu =
        mnuPrint->addAction(QStringLiteral("Print Le&tters"), this, &TAddressMain::LettersMenuClick);
    LettersMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    EnvelopesMenu =
        mnuPrint->addAction(QStringLiteral("Print &Envelopes"), this, &TAddressMain::EnvelopesMenuClick);
    EnvelopesMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    ReportsMenu =
        mnuPrint->addAction(QStringLiteral("Print &Reports"), this, &TAddressMain::ReportsMenuClick);
    ReportsMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    mnuPrint->addSeparator();
    CurrentRecordMenu = mnuPrint->addAction(QStringLiteral("Print C&urrent Record"), this,
                                            &TAddressMain::CurrentRecordMenuClick);
    CurrentRecordMenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    PrinterCalibrationMenu = mnuPrint->addAction(QStringLiteral("Printer &Calibration..."), this,
                                                 &TAddressMain::PrinterCalibrationMenuClick);

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    Contents1 = mnuHelp->addAction(QStringLiteral("&Contents"), this,
                                   [this] { TContextHelp::showContents(this, programFolder()); });
    SearchforHelpOn1 = mnuHelp->addAction(QStringLiteral("Search for Help On"), this,
                                          [this] { TContextHelp::showIndex(this, programFolder()); });
    HowtoUseHelp1 = mnuHelp->addAction(QStringLiteral("How to Use Help"), this,
                                       [this] { TContextHelp::showHelpOnHelp(this, programFolder()); });
    mnuHelp->addSeparator();
    mnuHelpGettingStarted =
        mnuHelp->addAction(QStringLiteral("&Getting Started"), this, &TAddressMain::ShowGettingStarted);
    About1 = mnuHelp->addAction(QStringLiteral("&About..."), this, &TAddressMain::AboutClick);
}

void TAddressMain::wireEditing()
{
    TRecordFormParts parts;
    parts.window = this;
    parts.boxes = m_boxes;
    parts.dateBox = DateEdit;
    parts.memo = MemoEdit;
    parts.pages = PageTabs;
    parts.addressPage = PageTabs->widget(0);
    parts.findNextButton = SearchMemoNextButton;
    TRecordFormHooks hooks;
    hooks.refreshForm = [this] { RefreshForm(); };
    hooks.setButtons = [this] { SetButtons(); };
    // A save or delete that leaves nothing visible: the filter is applied again, which drops
    // one that shows nothing.
    hooks.reapplyFilter = [this] { applyQuery(); };
    hooks.beep = [this] { beep(); };
    m_commands = std::make_unique<TRecordEditCommands>(*TableCVW, parts, hooks);

    TTagHooks tagHooks;
    tagHooks.setLive = [this](bool live) { m_session->setLive(live); };
    // The filter applied again keeps the record in view while it still matches (Clear Tags
    // leaves the record where it was), else shows the first.
    tagHooks.reapplyFilter = [this] { applyQuery(); };
    tagHooks.refreshForm = [this] { RefreshForm(); };
    TTagAllRecords::addWindowHooks(tagHooks, this);
    m_tags = std::make_unique<TTagCommands>(*TableCVW, settingsPath(), tagHooks);

    TRecordEditCommands *c = m_commands.get();
    connect(AddButton, &QPushButton::clicked, c, &TRecordEditCommands::AddButtonClick);
    connect(EditButton, &QPushButton::clicked, c, &TRecordEditCommands::EditButtonClick);
    connect(SaveButton, &QPushButton::clicked, c, &TRecordEditCommands::SaveButtonClick);
    connect(CancelButton, &QPushButton::clicked, c, &TRecordEditCommands::CancelButtonClick);
    connect(DeleteButton, &QPushButton::clicked, c, &TRecordEditCommands::DeleteButtonClick);
    connect(mnuAdd, &QAction::triggered, c, &TRecordEditCommands::AddButtonClick);
    connect(mnuEdit, &QAction::triggered, c, &TRecordEditCommands::EditButtonClick);
    connect(mnuDelete, &QAction::triggered, c, &TRecordEditCommands::DeleteButtonClick);
    connect(mnuClone, &QAction::triggered, c, &TRecordEditCommands::mnuCloneClick);
    connect(DateLabel, &QPushButton::clicked, c, &TRecordEditCommands::DateLabelClick);
    connect(SearchMemoButton, &QPushButton::clicked, c, &TRecordEditCommands::SearchMemoButtonClick);
    connect(SearchMemoNextButton, &QPushButton::clicked, c, &TRecordEditCommands::SearchMemoNextButtonClick);

    m_keys = new TFormKeys(*c, this);
    QList<QLineEdit *> boxes;
    for (const BoxSpec &spec : kNameBoxes)
        boxes.append(m_boxes.value(QLatin1String(spec.field)));
    for (const BoxSpec &spec : kMainBoxes)
        boxes.append(m_boxes.value(QLatin1String(spec.field)));
    boxes.append(DateEdit);
    m_modeLabel = new QLabel(this);
    m_modeLabel->setObjectName(QStringLiteral("TypingMode"));
    statusBar()->addPermanentWidget(m_modeLabel);
    m_keys->install(boxes, MemoEdit, this, m_modeLabel);
}

void TAddressMain::describeControls()
{
    for (const BoxSpec &spec : kBoxHelp) {
        const QString field = QLatin1String(spec.field);
        const QString text = QLatin1String(spec.caption);
        TWhatsThis::describe(m_boxes.value(field), text);
        TWhatsThis::describe(m_boxLabels.value(field), text);
    }
    const std::pair<QWidget *, const char *> controls[] = {
        {LabelsButton, kLabelsHelp},
        {LettersButton, kLettersHelp},
        {EnvelopesButton, kEnvelopesHelp},
        {ReportsButton, kReportsHelp},
        {BrowseButton, kBrowseHelp},
        {SearchButton, kSearchHelp},
        {FilterButton, kFilterHelp},
        {MouseHelpButton, kMouseHelpHelp},
        {DateLabel, kDateButtonHelp},
        {DateEdit, kDateBoxHelp},
        {Dial1Button, kDial1Help},
        {Dial2Button, kDial2Help},
        {TaggedCheck, kTaggedHelp},
        {MemoEdit, kMemoHelp},
        {SearchMemoButton, kSearchMemoHelp},
        {SearchMemoNextButton, kFindNextHelp},
        {PageTabs->tabBar(), kPagesHelp},
        {SortStatus, kSortStatusHelp},
        {FilterStatus, kFilterStatusHelp},
        {EmptyPanel, kEmptyPanelHelp},
        {ExitButton, kExitHelp},
        {FirstButton, kFirstHelp},
        {PriorButton, kPriorHelp},
        {NextButton, kNextHelp},
        {LastButton, kLastHelp},
        {AddButton, kAddHelp},
        {EditButton, kEditHelp},
        {SaveButton, kSaveHelp},
        {CancelButton, kCancelHelp},
        {DeleteButton, kDeleteHelp},
        {ClearFilterButton, kClearFilterHelp},
        {m_modeLabel, kTypingModeHelp},
    };
    for (const auto &[control, text] : controls)
        TWhatsThis::describe(control, QLatin1String(text));
}

QString TAddressMain::sortName(const SortItem &item) const
{
    return item.caption.mid(1);
}

QLineEdit *TAddressMain::fieldBox(const QString &fieldName) const
{
    return m_boxes.value(fieldName.toUpper(), nullptr);
}

QAction *TAddressMain::sortAction(const QString &tagName) const
{
    for (const SortItem &item : m_sortItems) {
        if (item.tag.compare(tagName, Qt::CaseInsensitive) == 0)
            return item.action;
    }
    return nullptr;
}

// ---- Start-up -------------------------------------------------------------------------

void TAddressMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        FormActivate();
    }
}

void TAddressMain::FormActivate()
{
    TIniFile ini(settingsPath());
    TWindowPlacer::restore(this, kClassName, ini, false);
    centralWidget()->hide();
    setWindowTitle(QStringLiteral("Corvantis"));
    m_commands->setPrefs(TAddingPrefs::load(ini));
    m_session->loadSettings();

    const TStartupFile first = m_session->chooseStartupFile();
    if (!first.created)
        TMessages::information(this, first.created.message);
    if (!first.path.isEmpty())
        OpenCVWDBF(first.path);
    else
        OnOpenCVWFile();
    SetButtons();
    checkPrinters();
    centralWidget()->show();
    if (!TAddingPrefs::loadGettingStarted(ini))
        QTimer::singleShot(0, this, &TAddressMain::ShowGettingStarted);
}

// ---- Opening files --------------------------------------------------------------------

bool TAddressMain::OpenCVWFile(const QString &path)
{
    const TOpenResult opened = m_session->open(path);
    for (const QString &message : opened.messages)
        TMessages::information(this, message);
    if (opened.outcome != TOpenOutcome::NeedsRebuild)
        return opened.outcome == TOpenOutcome::Opened;
    const bool rebuild =
        TMessages::question(this, QStringLiteral("Warning"),
                            QStringLiteral("The index file for ") + path + QStringLiteral("\r\n") +
                                QStringLiteral("is missing or invalid. Rebuild now?"),
                            QMessageBox::Yes);
    if (!rebuild) {
        m_session->abandonOpen();
        return false;
    }
    TCVReindex reindex(*TableCVW, this);
    reindex.exec();
    return m_session->finishOpen();
}

void TAddressMain::OpenCVWDBF(const QString &path)
{
    if (path.isEmpty())
        return;
    {
        TFreezeGuard frozen(*TableCVW);
        OpenCVWFile(path);
        setWindowTitle(QStringLiteral("Corvantis - ") + path);
        m_commands->hideFindNext();
        OnOpenCVWFile();
    }
    RefreshForm();
}

void TAddressMain::OnOpenCVWFile()
{
    if (TableCVW->isOpen()) {
        m_stack->setCurrentWidget(m_form);
        for (auto it = m_boxes.cbegin(); it != m_boxes.cend(); ++it)
            it.value()->setMaxLength(qMax(1, TableCVW->fieldWidth(it.key())));
    } else {
        m_stack->setCurrentWidget(EmptyPanel);
    }
    RefreshForm();
}

QString TAddressMain::recordQuery() const
{
    return m_session->recordQuery();
}

TFilterOutcome TAddressMain::setCriteria(const TFilterCriteria &criteria)
{
    TFilterOutcome outcome;
    {
        THourglass hourglass;
        outcome = m_session->setCriteria(criteria);
    }
    SetButtons();
    if (!outcome.message.isEmpty())
        TMessages::information(this, outcome.message);
    return outcome;
}

qint64 TAddressMain::applyQuery()
{
    if (!TableCVW->isOpen())
        return 0;
    TFilterOutcome outcome;
    {
        THourglass hourglass;
        outcome = m_session->reapplyFilter();
    }
    if (!outcome.message.isEmpty())
        TMessages::information(this, outcome.message);
    return TableCVW->visibleCount();
}

void TAddressMain::UpdateMRUList(const QString &path)
{
    // The session puts a file that opened at the head of the list itself; this is for a path
    // named from outside.
    TIniFile ini(settingsPath());
    (void)TRecentFiles::save(ini, TRecentFiles::added(TRecentFiles::load(ini), path));
    m_session->loadSettings();
}

void TAddressMain::rebuildMruMenu()
{
    for (QAction *a : std::as_const(m_mruActions)) {
        FileMenu->removeAction(a);
        a->deleteLater();
    }
    m_mruActions.clear();
    for (const QString &path : m_session->recentFiles()) {
        QAction *a = FileMenu->addAction(path);
        a->setWhatsThis(QStringLiteral("Opens this recently used address file."));
        connect(a, &QAction::triggered, this, [this, path] { MRUITemClick(path); });
        m_mruActions.append(a);
    }
}

void TAddressMain::MRUITemClick(const QString &path)
{
    const bool wasOpen = TableCVW->isOpen();
    const QString previous = m_session->path();
    OpenCVWDBF(path);
    if (!TableCVW->isOpen() && wasOpen && !previous.isEmpty())
        OpenCVWDBF(previous);
    SetButtons();
}

void TAddressMain::OpenFileMenuClick()
{
    QString path;
    if (m_fileChooser) {
        path = m_fileChooser();
    } else {
        QFileDialog dialog(this, QStringLiteral("Open Address DataBase"),
                           TFileCase::resolve(programFolder(), QStringLiteral("DATA")),
                           QStringLiteral("DBF Files (*.dbf *.DBF)"));
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDefaultSuffix(QStringLiteral("DBF"));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            path = dialog.selectedFiles().first();
    }
    if (!path.isEmpty())
        openChosenFile(path);
    SetButtons();
}

void TAddressMain::openChosenFile(const QString &path)
{
    if (QFileInfo(path).suffix().compare(QLatin1String("DBF"), Qt::CaseInsensitive) != 0) {
        TMessages::information(this, QStringLiteral("Must be a DBF file"));
        return;
    }
    OpenCVWDBF(path);
}

void TAddressMain::NewFileMenuClick()
{
    const QString dataFolder = TFileCase::resolve(programFolder(), QStringLiteral("DATA"));
    TIniFile ini(settingsPath());
    TNewDatabaseForm form(TNewFileName::proposed(dataFolder), ini, this);
    for (;;) {
        if (form.exec() != QDialog::Accepted)
            break;
        const QString path = dataFolder + QLatin1Char('/') + form.name() + QStringLiteral(".DBF");
        if (!TFileCase::findEntry(dataFolder, form.name() + QStringLiteral(".DBF")).isEmpty()) {
            TMessages::information(this,
                                   QStringLiteral("That file already exists.Please select another name"));
            continue;
        }
        QDir().mkpath(dataFolder);
        const TResult created = TAddressTable::CreateAddressFile(path, form.lengths());
        if (!created.ok) {
            TMessages::information(this, created.message);
            break;
        }
        m_session->close();
        OpenCVWDBF(path);
        break;
    }
    SetButtons();
}

// ---- Sort order -----------------------------------------------------------------------

void TAddressMain::SetOrderTo(const QString &name)
{
    if (const TSortOrder *order = TSortOrders::byName(name))
        m_session->setOrderTag(order->tag);
}

void TAddressMain::SetCurrentOrder(const QString &tagName)
{
    m_session->setOrderTag(tagName);
}

void TAddressMain::showOrder()
{
    const QString &tag = m_session->orderTag();
    const TSortOrder *order = TSortOrders::byTag(tag);
    SortStatus->setText(order ? QStringLiteral("Sorted by ") + order->name() : QString());
    for (const SortItem &item : std::as_const(m_sortItems))
        item.action->setChecked(item.tag.compare(tag, Qt::CaseInsensitive) == 0);
    RefreshForm();
}

// ---- Moves ----------------------------------------------------------------------------

void TAddressMain::beep()
{
    ++m_beeps;
    QApplication::beep();
}

void TAddressMain::FirstButtonClick()
{
    if (TableCVW->hasRecord())
        TableCVW->first();
}

void TAddressMain::LastButtonClick()
{
    if (TableCVW->hasRecord())
        TableCVW->last();
}

void TAddressMain::NextButtonClick()
{
    if (TableCVW->hasRecord() && !TableCVW->isEditing() && !TableCVW->next())
        beep();
}

void TAddressMain::PriorButtonClick()
{
    if (TableCVW->hasRecord() && !TableCVW->isEditing() && !TableCVW->prior())
        beep();
}

void TAddressMain::keyPressEvent(QKeyEvent *event)
{
    if (!TableCVW->isEditing()) {
        const bool ctrl = event->modifiers() & Qt::ControlModifier;
        if (event->key() == Qt::Key_PageDown) {
            ctrl ? LastButtonClick() : NextButtonClick();
            return;
        }
        if (event->key() == Qt::Key_PageUp) {
            ctrl ? FirstButtonClick() : PriorButtonClick();
            return;
        }
    }
    if (event->key() == Qt::Key_F1) {
        HelpClick();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

// ---- Showing the record ---------------------------------------------------------------

void TAddressMain::RefreshForm()
{
    // A frozen table shows its record once it is unfrozen; while a tool window works on the
    // table (not live) its changes leave the form and buttons alone.
    if (TableCVW->isFrozen() || !m_session->isLive())
        return;
    const bool shown = TableCVW->hasRecord() || TableCVW->isEditing();
    for (auto it = m_boxes.cbegin(); it != m_boxes.cend(); ++it)
        it.value()->setText(shown ? TableCVW->value(it.key()) : QString());
    DateEdit->setText(shown ? TableCVW->value(QStringLiteral("DisplayDate")) : QString());
    TaggedCheck->setChecked(shown && TableCVW->isTagged());
    MemoEdit->setPlainText(shown ? TableCVW->memo() : QString());
    SetButtons();
}

void TAddressMain::updateFilterStatus()
{
    if (!TableCVW->isOpen()) {
        SortStatus->hide();
        FilterStatus->hide();
        return;
    }
    SortStatus->show();
    FilterStatus->show();
    FilterStatus->setText(TRecordQuery::statusText(m_session->isFilterSet(), TableCVW->visibleCount()));
}

QStringList TAddressMain::criterionLabels() const
{
    QStringList labels;
    for (int i = 0; i < TFilterCriteria::kCount; ++i) {
        // City tests "CITY+STATE": its label is the City box's.
        const QString field = TFilterCriteria::fieldExpression(i).section(QLatin1Char('+'), 0, 0);
        if (field == QLatin1String("DATE")) {
            labels.append(DateLabel->text());
            continue;
        }
        const QLabel *label = m_boxLabels.value(field, nullptr);
        labels.append(label ? label->text() : QString());
    }
    return labels;
}

// ---- Filter ---------------------------------------------------------------------------

void TAddressMain::mnuSetFilterClick()
{
    if (TableCVW->isEditing()) {
        beep();
        return;
    }
    // With no file open the window still shows the kept criteria, so they can be changed or
    // cleared; its Test then applies nothing.
    if (!TableCVW->isOpen() && !m_session->isFilterSet())
        return;
    const TFilterCriteria before = m_session->criteria();
    TFilterCriteria edited = before;
    // "Test" applies the window's criteria at once and shows the first record they select.
    const auto tester = [this](TFilterCriteria &criteria) {
        THourglass hourglass;
        return m_session->testCriteria(criteria);
    };
    const bool accepted = TAddressQueryForm::edit(edited, tester, criterionLabels(), this);
    setCriteria(accepted ? edited : before);
}

void TAddressMain::mnuClearFilterClick()
{
    // Kept criteria are cleared with no file open too, so the next file opens unfiltered.
    if (TableCVW->isEditing())
        return;
    TFilterCriteria cleared = m_session->criteria();
    cleared.ClearQueryVars();
    setCriteria(cleared);
}

void TAddressMain::mnuSaveFilterClick()
{
    if (!m_session->isFilterSet())
        return;
    TFilterFileCommands::SaveFilter(this, m_session->criteria(), programFolder(), m_filterFileChooser);
}

void TAddressMain::mnuRestoreFilterClick()
{
    if (TableCVW->isEditing())
        return;
    TFilterCriteria restored = m_session->criteria();
    if (TFilterFileCommands::RestoreFilter(this, restored, programFolder(), m_filterFileChooser))
        setCriteria(restored);
}

// ---- Current record -------------------------------------------------------------------

TPrinterService &TAddressMain::printerService()
{
    return m_session->printerService();
}

void TAddressMain::setPrinterService(std::unique_ptr<TPrinterService> service)
{
    m_session->setPrinterService(std::move(service));
}

void TAddressMain::PrinterCalibrationMenuClick()
{
    THandOver needs;
    needs.printerCheck = true;
    needs.keepPrinter = true;
    handOver(needs, [this](TAddressSession &session) {
        TIniFile ini(session.settingsPath());
        TPrinterCalibrationForm window(printerService(), ini, this);
        window.exec();
    });
}

void TAddressMain::CurrentRecordMenuClick()
{
    THandOver needs;
    needs.needsRecords = true;
    needs.printerCheck = true;
    handOver(needs, [this](TAddressSession &session) {
        TIniFile ini(session.settingsPath());
        TPrintCurrentRecord window(TCurrentRecordValues::fromAddressTable(session.table()),
                                   session.printerService(), ini, this);
        window.exec();
    });
}

void TAddressMain::LabelsMenuClick()
{
    THandOver needs;
    needs.needsRecords = true;
    needs.printerCheck = true;
    needs.freeze = true;
    needs.keepRecord = needs.keepQuery = needs.keepPrinter = true;
    needs.compositeFields = true;
    handOver(needs, [this](TAddressSession &session) {
        TLabelSetups labels;
        const TResult opened = labels.open(session.programFolder());
        if (!opened) {
            TMessages::information(this, opened.message);
            return;
        }
        TLabelSetupScreen window(session, labels, this);
        window.exec();
    });
}

void TAddressMain::LettersMenuClick()
{
    THandOver needs;
    needs.needsRecords = true;
    needs.printerCheck = true;
    needs.keepPrinter = true; // a printer chosen in the window lasts while it is open
    handOver(needs, [this](TAddressSession &session) {
        TLetterTemplates letters;
        const TResult opened = letters.open(session.programFolder());
        if (!opened) {
            TMessages::information(this, opened.message);
            return;
        }
        TcVLetters window(session, letters, this);
        window.exec();
    });
}

void TAddressMain::EnvelopesMenuClick()
{
    THandOver needs;
    needs.needsRecords = true;
    needs.printerCheck = true;
    needs.freeze = true;
    needs.keepRecord = needs.keepQuery = needs.keepPrinter = true;
    handOver(needs, [this](TAddressSession &session) {
        TEnvelopeSetups setups;
        const TResult opened = setups.open(session.programFolder());
        if (!opened) {
            TMessages::information(this, opened.message);
            return;
        }
        TIniFile ini(session.settingsPath());
        TCVEnvelopes window(session, setups, ini, this);
        window.exec();
    });
}

void TAddressMain::ReportsMenuClick()
{
    THandOver needs;
    needs.needsRecords = true;
    needs.printerCheck = true;
    needs.freeze = true;
    needs.keepRecord = needs.keepQuery = needs.keepPrinter = true;
    needs.compositeFields = true;
    handOver(needs, [this](TAddressSession &session) {
        TIniFile ini(session.settingsPath());
        TReportSetup window(session, ini, this);
        window.exec();
    });
}

void TAddressMain::CountZipCodes1Click()
{
    THandOver needs;
    needs.needsRecords = true;
    handOver(needs, [this](TAddressSession &session) {
        TIniFile ini(session.settingsPath());
        TCountZipCodes window(session, ini, this);
        window.exec();
    });
}

void TAddressMain::CheckState1Click()
{
    if (!QFile::exists(TSystemTables::dbfPath(m_session->programFolder(), TSystemTable::Csz))) {
        TMessages::information(
            this, QStringLiteral(
                      "The file CSZ.DBF has been removed from the SYSDATA directory. Unable to continue."));
        return;
    }
    THandOver needs;
    needs.needsRecords = true;
    needs.freeze = true;
    needs.queryDuring = QStringLiteral("!ISDEL");
    needs.keepQuery = true;
    needs.keepRecord = true;
    handOver(needs, [this](TAddressSession &session) {
        TStateZipCheck window(session, this);
        window.exec();
    });
}

void TAddressMain::DuplicatesReport1Click()
{
    THandOver needs;
    needs.needsRecords = true;
    needs.freeze = true;
    needs.queryDuring = QStringLiteral("!ISDEL");
    needs.reapplyFilter = true;
    handOver(needs, [this](TAddressSession &session) {
        {
            TDupCheck window(session, this);
            window.exec();
        }
        // A file a stopped run may have left.
        QFile::remove(session.programFolder() + QStringLiteral("_chkdup.idx"));
    });
}

void TAddressMain::CaseConversion1Click()
{
    THandOver needs;
    needs.needsRecords = true;
    needs.freeze = true;
    needs.keepRecord = true;
    needs.reapplyFilter = true;
    handOver(needs, [this](TAddressSession &session) {
        TConvertToUpper window(session, this);
        window.exec();
    });
}

void TAddressMain::DeleteRecords1Click()
{
    THandOver needs;
    needs.needsRecords = true;
    needs.freeze = true;
    needs.queryDuring = m_session->recordQuery();
    needs.reapplyFilter = true;
    needs.firstRecord = true;
    handOver(needs, [this](TAddressSession &session) {
        TDeleteRecords window(session, this);
        window.exec();
    });
}

void TAddressMain::SearchReplaceFieldValues1Click()
{
    THandOver needs;
    needs.needsRecords = true;
    needs.freeze = true;
    needs.queryDuring = m_session->recordQuery();
    needs.reapplyFilter = true;
    needs.firstRecord = true;
    handOver(needs, [this](TAddressSession &session) {
        TSearchAndReplace window(session, this);
        window.exec();
    });
}

// ---- Imports and export --------------------------------------------------------------

void TAddressMain::importIntoOwnTable(bool ascii)
{
    THandOver needs;
    needs.needsFile = true;
    needs.noFileMessage = QStringLiteral("You need to have a database file open first");
    needs.keepFolder = true;
    needs.reapplyFilter = true;
    needs.firstRecord = true;
    handOver(needs, [this, ascii](TAddressSession &session) {
        // The import works on the file alone: the main table closes and the window opens the
        // file exclusively through its own table; afterwards the file is opened again.
        const QString path = session.path();
        const QString order = session.orderTag();
        session.close();
        {
            TAddressTable own;
            if (!own.OpenTableFile(path).ok) {
                TMessages::information(
                    this, QStringLiteral("Unknown error. Unable to do ASCII import at this time"));
            } else if (ascii) {
                TAsciiImport window(own, this);
                emit importWindowOpened(&window);
                window.exec();
            } else {
                TDBFImport window(own, this);
                emit importWindowOpened(&window);
                window.exec();
            }
        }
        if (OpenCVWFile(path))
            session.setOrderTag(order);
    });
}

void TAddressMain::mnuImportASCIIClick()
{
    importIntoOwnTable(true);
}

void TAddressMain::mnuImportDBFClick()
{
    importIntoOwnTable(false);
}

void TAddressMain::importOlder(int format)
{
    THandOver needs;
    needs.needsFile = true;
    needs.noFileMessage = QStringLiteral("You need to have a database file open first");
    needs.freeze = true;
    needs.queryDuring = QString();
    needs.keepFolder = true;
    needs.reapplyFilter = true;
    needs.firstRecord = true;
    handOver(needs, [this, format](TAddressSession &session) {
        TImportOlder window(session.table(), format, this);
        emit importWindowOpened(&window);
        window.exec();
    });
}

void TAddressMain::ImportfromClick()
{
    importOlder(0);
}

void TAddressMain::mnuImportFromCorvantis2xFileClick()
{
    importOlder(1);
}

void TAddressMain::CopyRecordsOutMnuClick()
{
    THandOver needs;
    needs.needsRecords = true;
    needs.noRecordsMessage = QStringLiteral("No active records for current filter. Nothing to copy");
    needs.freeze = true;
    needs.keepRecord = true;
    needs.keepQuery = true;
    needs.keepFolder = true;
    handOver(needs, [this](TAddressSession &session) {
        TCopyOut window(session.table(), session.programFolder(), this);
        emit exportWindowOpened(&window);
        window.exec();
    });
}

void TAddressMain::ToClipboard1Click()
{
    THandOver needs;
    needs.needsRecords = true;
    handOver(needs, [this](TAddressSession &session) {
        TCopyToClipBoard window(TCurrentRecordValues::fromAddressTable(session.table()), this);
        window.exec();
    });
}

bool TAddressMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != TaggedCheck)
        return QMainWindow::eventFilter(watched, event);
    // The box never changes by itself: it follows the record's tag, which a press toggles.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: // the second press of a quick double press
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton &&
            (TableCVW->hasRecord() || TableCVW->isEditing()))
            ToggleTag();
        return true;
    case QEvent::MouseButtonRelease:
    case QEvent::KeyPress:
        return true;
    default:
        return QMainWindow::eventFilter(watched, event);
    }
}

// ---- Handing the table to other windows -----------------------------------------------

bool TAddressMain::handOver(const THandOver &needs, const std::function<void(TAddressSession &)> &window)
{
    const THandOverRefusal refused = m_session->handOver(needs, window);
    switch (refused) {
    case THandOverRefusal::None:
        break;
    case THandOverRefusal::Editing:
        return false;
    case THandOverRefusal::NoFile:
        if (!needs.noFileMessage.isEmpty())
            TMessages::information(this, needs.noFileMessage);
        return false;
    case THandOverRefusal::NoRecords:
        if (!needs.noRecordsMessage.isEmpty())
            TMessages::information(this, needs.noRecordsMessage);
        return false;
    case THandOverRefusal::NoPrinters:
    case THandOverRefusal::NoDefaultPrinter:
        showPrinterProblem(refused);
        return false;
    }
    RefreshForm();
    return true;
}

void TAddressMain::SearchButtonClick()
{
    THandOver needs;
    needs.needsRecords = true;
    handOver(needs, [this](TAddressSession &session) {
        const TSortOrder *current = TSortOrders::byTag(session.orderTag());
        TSearchForm form(current ? current->name() : QString(), this);
        form.exec();
        if (!form.wantsSearch())
            return;
        SetOrderTo(form.sortName());
        TAddressSearch::search(session.table(), form.text());
    });
}

void TAddressMain::DialButtonClick(const QString &phoneField)
{
    THandOver needs;
    needs.needsRecords = true;
    handOver(needs, [this, phoneField](TAddressSession &session) {
        TCVDialer dialer(session.settingsPath(), session.table().value(phoneField), this);
        dialer.exec();
    });
}

void TAddressMain::BrowseButtonClick()
{
    if (TableCVW->isEditing()) {
        beep();
        return;
    }
    THandOver needs;
    needs.needsRecords = true;
    // Moving in the grid moves this window's record: nothing is put back afterwards.
    handOver(needs, [this](TAddressSession &session) {
        TAddressBrowseForm form(
            session.table(), session.programFolder(), session.settingsPath(), [this] { ToggleTag(); }, this);
        form.exec();
    });
}

void TAddressMain::ToggleTag()
{
    m_tags->ToggleTag();
    // During an edit the form keeps what is typed: only the box shows the tag.
    TaggedCheck->setChecked(TableCVW->isTagged());
}

void TAddressMain::ClearTags1Click()
{
    if (!TableCVW->isEditing())
        m_tags->ClearTags();
}

void TAddressMain::mnuTagAllFilterMatchesClick()
{
    if (m_session->isFilterSet())
        m_tags->TagAllFilterMatches();
}

void TAddressMain::RebuildSystemFileindexesmnuClick()
{
    TSysReindexForm form(programFolder(), this);
    form.exec();
}

void TAddressMain::SetButtons()
{
    TEditState state;
    state.fileOpen = TableCVW->isOpen();
    state.editing = TableCVW->isEditing();
    state.hasRecord = TableCVW->hasRecord();
    state.filterSet = m_session->isFilterSet();
    const TButtonStates s = state.SetButtons();
    const auto apply = [](QWidget *w, const TItemState &item) {
        w->setVisible(item.visible);
        w->setEnabled(item.enabled);
    };
    const auto applyAction = [](QAction *a, const TItemState &item) {
        a->setVisible(item.visible);
        a->setEnabled(item.enabled);
    };

    apply(SaveButton, s.save);
    apply(CancelButton, s.cancel);
    apply(AddButton, s.add);
    applyAction(mnuAdd, s.add);
    apply(EditButton, s.edit);
    applyAction(mnuEdit, s.edit);
    apply(DeleteButton, s.remove);
    applyAction(mnuDelete, s.remove);
    apply(ExitButton, s.exit);
    ExitMenu->setEnabled(s.exit.enabled);
    FileMenu->setEnabled(s.exit.enabled);
    for (QPushButton *b : {FirstButton, PriorButton, NextButton, LastButton})
        apply(b, s.moves);
    for (QAction *a : {mnufirst, mnuPrev, mnuNext, mnuLast})
        a->setEnabled(s.moves.enabled);
    apply(Dial1Button, s.dial);
    apply(Dial2Button, s.dial);
    apply(SearchMemoButton, s.searchMemo);
    apply(DateLabel, s.date);
    for (QMenu *m : {mnuOrder, mnuPrint, mnuUtilities})
        m->setEnabled(s.tools.enabled);
    for (QAction *a : {CurrentRecordMenu, mnuClone, ToClipboard1, mnuBrowse, mnuSearch, LabelsMenu,
                       LettersMenu, EnvelopesMenu})
        a->setEnabled(s.tools.enabled);
    BrowseButton->setEnabled(s.tools.enabled);
    SearchButton->setEnabled(s.tools.enabled);
    LettersButton->setEnabled(s.tools.enabled);
    LabelsButton->setEnabled(s.tools.enabled);
    EnvelopesButton->setEnabled(s.tools.enabled);
    ReportsButton->setEnabled(s.tools.enabled);
    ReportsMenu->setEnabled(s.tools.enabled);
    CountZipCodes1->setEnabled(s.tools.enabled);
    for (QAction *a :
         {CheckState1, DuplicatesReport1, CaseConversion1, DeleteRecords1, SearchReplaceFieldValues1})
        a->setEnabled(s.tools.enabled);
    for (QAction *a : {mnuImportDBF, mnuImportASCII, Importfrom, mnuImportFromCorvantis2xFile})
        a->setEnabled(s.fileCommands.enabled);
    CopyRecordsOutMnu->setEnabled(s.tools.enabled);
    FilterButton->setEnabled(s.filter.enabled);
    mnuSetFilter->setEnabled(s.filter.enabled);
    apply(ClearFilterButton, s.clearFilter);
    for (QAction *a : {mnuClearFilter, mnuSaveFilter, mnuTagAllFilterMatches})
        a->setEnabled(s.filterCommands.enabled);
    mnuRestoreFilter->setEnabled(state.fileOpen && !state.editing);
    mnuRecord->setEnabled(s.recordMenu.enabled);
    mnuRebuildIndexes->setEnabled(s.fileCommands.enabled);
    mnuEditMenu->setEnabled(s.fileCommands.enabled);
    updateFilterStatus();
    m_commands->keepFocusInForm();
}

// ---- Other windows --------------------------------------------------------------------

bool TAddressMain::checkPrinters()
{
    const THandOverRefusal problem = m_session->checkPrinters();
    if (problem == THandOverRefusal::None)
        return true;
    showPrinterProblem(problem);
    return false;
}

void TAddressMain::showPrinterProblem(THandOverRefusal problem)
{
    // The printer check's own texts: no printer at all, or none selected.
    const bool noPrinters = problem == THandOverRefusal::NoPrinters;
    TMessages::information(this, TPrinterCheck::message(noPrinters ? 0 : 1, false));
}

void TAddressMain::mnuRebuildIndexesClick()
{
    if (!TableCVW->isOpen()) {
        TMessages::information(this, QStringLiteral("You need to have a database file open first"));
        return;
    }
    {
        TFreezeGuard frozen(*TableCVW);
        TCVReindex reindex(*TableCVW, this);
        reindex.exec();
        m_session->afterRebuild();
    }
    SetButtons();
}

void TAddressMain::PrefencesClick()
{
    {
        TIniFile ini(settingsPath());
        TPreferencesForm form(ini, this);
        form.exec();
    }
    TIniFile ini(settingsPath());
    m_commands->setPrefs(TAddingPrefs::load(ini));
}

void TAddressMain::ShowGettingStarted()
{
    auto *ini = new TIniFile(settingsPath());
    auto *window = new TGettingStarted(*ini, this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &QObject::destroyed, this, [ini] { delete ini; });
    connect(window, &TGettingStarted::helpRequested, this, &TAddressMain::ShowHelpTopic);
    window->show();
    TWindowPlacer::centre(window, this);
}

void TAddressMain::AboutClick()
{
    QMessageBox box(this);
    box.setObjectName(QStringLiteral("AboutBox"));
    box.setWindowTitle(QStringLiteral("About Corvantis"));
    box.setIconPixmap(TProgramIcon::pixmap(64));
    box.setText(QStringLiteral("<b>Corvantis</b><br>Version 2.8<br>64-bit version for Linux"));
    box.setStandardButtons(QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
}

void TAddressMain::HelpClick()
{
    ShowHelpTopic(THelpTopics::kMainWindow);
}

void TAddressMain::ShowHelpTopic(int topic)
{
    TContextHelp::show(this, topic, programFolder());
}

void TAddressMain::bringToFront()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void TAddressMain::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    keepEdgesOnScreen();
}

void TAddressMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    keepEdgesOnScreen();
}

void TAddressMain::keepEdgesOnScreen()
{
    if (!isVisible() || windowState() != Qt::WindowNoState || !screen())
        return;
    const QRect area = screen()->geometry();
    const QRect frame = frameGeometry();
    QPoint to = frame.topLeft();
    if (frame.right() > area.right() && to.x() > area.left())
        to.setX(area.left());
    if (frame.bottom() > area.bottom() && to.y() > area.top())
        to.setY(area.top());
    if (to != frame.topLeft())
        move(to);
}

// ---- Closing --------------------------------------------------------------------------

bool TAddressMain::FormCloseQuery()
{
    if (!TableCVW->isEditing())
        return true;
    // Closing never drops typing without a word: the same question as leaving the record.
    const QMessageBox::StandardButton answer = TMessages::questionWithCancel(
        this, QStringLiteral("Save"), QStringLiteral("Save changes?"), QMessageBox::Yes);
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::Yes)
        return m_commands->SaveButtonClick(); // a failure has been shown; the window stays
    m_commands->CancelButtonClick();
    return true;
}

void TAddressMain::closeEvent(QCloseEvent *event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    TableCVW->close();
    TIniFile ini(settingsPath());
    TWindowPlacer::save(this, kClassName, ini);
    QMainWindow::closeEvent(event);
}
