#include "TStateZipCheck.h"

#include "THelpRequest.h"
#include "TWhatsThis.h"

#include "TAddressSession.h"
#include "TBrowseColumns.h"
#include "TCszListModel.h"
#include "TMessages.h"
#include "TSystemTables.h"
#include "TToolGridModel.h"

#include "Table.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3701;

namespace {

QString foundText(int count)
{
    return QStringLiteral("Found %1 records with questionable state or zipcodes").arg(count);
}

} // namespace

TStateZipCheck::TStateZipCheck(TAddressSession &session, QWidget *parent)
    : TToolWindow(parent), m_session(session), m_finder(session.table())
{
    setWindowTitle(QStringLiteral("Check State and Zip  Codes"));
    SetupPanel = new QWidget(this);
    auto *setup = new QVBoxLayout(SetupPanel);
    setup->addWidget(
        new QLabel(QStringLiteral("Check For State/Province  & Zipcode/Postal Code Anomolies"), SetupPanel));
    auto *explanation = new QLabel(
        QStringLiteral(
            "A check will be performed by comparing the records in the file against the State/Province "
            "file, which contains a list of State/Zip Province/Postcode combinations. This file may be "
            "edited or added to by clicking the 'Edit State/Province File' button below."),
        SetupPanel);
    explanation->setWordWrap(true);
    setup->addWidget(explanation);
    CheckBlanks = new QCheckBox(
        QStringLiteral("Include records with blank State/Province or Zip/Postcode entries?"), SetupPanel);
    setup->addWidget(CheckBlanks);
    CheckitButton = new QPushButton(QStringLiteral("Perform Check Now"), SetupPanel);
    setup->addWidget(CheckitButton);

    CountLabel = new QLabel(this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->hide();

    ResultPanel = new QWidget(this);
    auto *result = new QVBoxLayout(ResultPanel);
    auto *heading = new QLabel(
        QStringLiteral(
            "These records have questionable state/zip or province/postcode combinations. You may edit "
            "the contents to make changes. When you are done, press the Close button."),
        ResultPanel);
    heading->setWordWrap(true);
    result->addWidget(heading);
    result->addWidget(new QLabel(QStringLiteral("Click on field to begin editing"), ResultPanel));
    ChkStateZip = new QTableView(ResultPanel);
    ChkStateZip->setSelectionBehavior(QAbstractItemView::SelectRows);
    ChkStateZip->setSelectionMode(QAbstractItemView::SingleSelection);
    result->addWidget(ChkStateZip);
    auto *actions = new QHBoxLayout;
    EditButton = new QPushButton(QStringLiteral("&Edit"), ResultPanel);
    SaveButton = new QPushButton(QStringLiteral("&Save"), ResultPanel);
    CancelEditButton = new QPushButton(QStringLiteral("&Cancel"), ResultPanel);
    TagButton = new QPushButton(QStringLiteral("&Tag"), ResultPanel);
    TagAllButton = new QPushButton(QStringLiteral("Tag &All"), ResultPanel);
    for (QPushButton *b : {EditButton, SaveButton, CancelEditButton, TagButton, TagAllButton})
        actions->addWidget(b);
    result->addLayout(actions);
    ResultPanel->hide();

    ListPanel = new QWidget(this);
    auto *list = new QVBoxLayout(ListPanel);
    list->addWidget(new QLabel(
        QStringLiteral("Make changes to the State/Province file to best reflect your country"), ListPanel));
    list->addWidget(new QLabel(QStringLiteral("Click on field to begin editing"), ListPanel));
    CszGrid = new QTableView(ListPanel);
    CszGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    CszGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    list->addWidget(CszGrid);
    auto *listButtons = new QHBoxLayout;
    AddButton = new QPushButton(QStringLiteral("Add"), ListPanel);
    DeleteListButton = new QPushButton(QStringLiteral("Delete"), ListPanel);
    SaveListButton = new QPushButton(QStringLiteral("Save"), ListPanel);
    UndoListButton = new QPushButton(QStringLiteral("Undo"), ListPanel);
    for (QPushButton *b : {AddButton, DeleteListButton, SaveListButton, UndoListButton})
        listButtons->addWidget(b);
    list->addLayout(listButtons);
    ListPanel->hide();

    EditListButton = new QPushButton(QStringLiteral("Edit State/Province File"), this);
    CloseButton = new QPushButton(QStringLiteral("Close"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(EditListButton);
    buttons->addWidget(CancelButton);
    buttons->addWidget(CloseButton);
    buttons->addWidget(HelpButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SetupPanel);
    layout->addWidget(Gauge);
    layout->addWidget(CountLabel);
    layout->addWidget(ResultPanel);
    layout->addWidget(ListPanel);
    layout->addLayout(buttons);

    connect(CheckitButton, &QPushButton::clicked, this, &TStateZipCheck::CheckitButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TStateZipCheck::CancelButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &TStateZipCheck::reject);
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {CheckBlanks, "Also lists the records whose state or ZIP code is empty."},
             {CheckitButton, "Compares every record's state with its ZIP code and lists the ones that do not agree."},
             {CancelButton, "Closes the window, or stops a check that is running."},
             {ChkStateZip, "The records found. Click a field to correct it."},
             {EditButton, "Starts editing the selected record in the list."},
             {SaveButton, "Stores the change made to the record in the list."},
             {CancelEditButton, "Drops the change made to the record in the list."},
             {TagButton, "Tags the selected record, to find it again later."},
             {TagAllButton, "Tags every record in the list."},
             {EditListButton, "Opens the list of states and ZIP codes the check compares with, to suit it to your country."},
             {CszGrid, "The states or provinces and their ranges of ZIP or postal codes."},
             {AddButton, "Adds a row to the list of states and ZIP codes."},
             {DeleteListButton, "Removes the selected row from the list of states and ZIP codes."},
             {SaveListButton, "Stores the changes to the list of states and ZIP codes."},
             {UndoListButton, "Takes back the change not yet stored."},
             {CloseButton, "Closes the list of states and ZIP codes."},
             {HelpButton, "Opens the help page about checking states and ZIP codes."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
    THelpRequest::wire(this, HelpButton, kHelpTopic);
    connect(EditButton, &QPushButton::clicked, this, [this] {
        if (m_model && ChkStateZip->currentIndex().isValid())
            ChkStateZip->edit(ChkStateZip->currentIndex());
    });
    connect(SaveButton, &QPushButton::clicked, this, [this] {
        if (!m_model)
            return;
        const TResult posted = m_model->post();
        if (!posted.ok)
            TMessages::failure(this, posted);
    });
    connect(CancelEditButton, &QPushButton::clicked, this, [this] {
        if (m_model)
            m_model->cancel();
    });
    connect(EditListButton, &QPushButton::clicked, this, &TStateZipCheck::EditListButtonClick);
    connect(AddButton, &QPushButton::clicked, this, [this] {
        int row = -1;
        const TResult added = m_listModel ? m_listModel->addRow(row) : TResult::notFound();
        if (!added.ok && !added.isNotFound())
            TMessages::failure(this, added);
        if (row >= 0)
            CszGrid->setCurrentIndex(m_listModel->index(row, 0));
    });
    connect(DeleteListButton, &QPushButton::clicked, this, [this] {
        if (!m_listModel || !CszGrid->currentIndex().isValid())
            return;
        const TResult deleted = m_listModel->deleteRow(CszGrid->currentIndex().row());
        if (!deleted.ok)
            TMessages::failure(this, deleted);
    });
    connect(SaveListButton, &QPushButton::clicked, this, [this] {
        const TResult posted = m_listModel ? m_listModel->post() : TResult::success();
        if (!posted.ok)
            TMessages::failure(this, posted);
    });
    connect(UndoListButton, &QPushButton::clicked, this, [this] {
        if (m_listModel)
            m_listModel->cancel();
    });
    connect(TagButton, &QPushButton::clicked, this, &TStateZipCheck::TagButtonClick);
    connect(TagAllButton, &QPushButton::clicked, this, &TStateZipCheck::TagAllButtonClick);
    connect(ChkStateZip, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (m_model && m_model->columnField(index.column()) == QLatin1String("Tagged"))
            TagButtonClick();
    });
}

TStateZipCheck::~TStateZipCheck()
{
    CszGrid->setModel(nullptr);
    m_listModel.reset();
    if (m_list) {
        // An entry typed but not saved is kept, as leaving the list keeps it.
        if (m_list->isEditing())
            (void)m_list->post(); // a failure leaves the entry as it was stored
        (void)m_list->close();    // nothing is pending after the post
    }
    ChkStateZip->setModel(nullptr);
    m_model.reset();
    m_finder.release();
}

QString TStateZipCheck::indexPath() const
{
    return m_session.table().folder() + QStringLiteral("_chksz.idx");
}

void TStateZipCheck::stepped(int)
{
    CountLabel->setText(foundText(m_finder.found()));
}

void TStateZipCheck::CheckitButtonClick()
{
    if (isRunning() || m_checked)
        return;
    HelpButton->hide();
    CloseButton->hide();
    SetupPanel->hide();
    EditListButton->hide();
    CancelButton->show();
    beginRun();
    xbase::Table csz;
    TResult result = TSystemTables::open(TSystemTable::Csz, csz, m_session.programFolder());
    TStateZipFinder::Ranges ranges;
    if (result.ok)
        result = TStateZipFinder::readRanges(csz, ranges);
    (void)csz.close(); // read only: nothing of it is pending
    if (result.ok)
        result = m_finder.run(ranges, CheckBlanks->isChecked(), indexPath(), *this);
    if (!result.ok) {
        TMessages::failure(this, result);
    } else {
        m_model = std::make_unique<TToolGridModel>(m_session.table(),
                                                   TBrowseColumns(m_session.programFolder()).read());
        ChkStateZip->setModel(m_model.get());
        ResultPanel->show();
        if (m_model->rowCount() > 0)
            ChkStateZip->setCurrentIndex(m_model->index(0, 0));
    }
    CountLabel->setText(foundText(m_finder.found()));
    m_checked = true;
    CancelButton->hide();
    EditListButton->show();
    HelpButton->show();
    CloseButton->show();
    if (!result.ok)
        SetupPanel->show();
    endRun();
}

void TStateZipCheck::CancelButtonClick()
{
    confirmCancel();
}

int TStateZipCheck::currentRow() const
{
    return ChkStateZip->currentIndex().isValid() ? ChkStateZip->currentIndex().row() : 0;
}

void TStateZipCheck::TagButtonClick()
{
    toggleTagOf(m_model.get(), currentRow());
}

void TStateZipCheck::TagAllButtonClick()
{
    tagAllOf(m_model.get(), QStringLiteral("Tag all records with questionable state or zipcodes?"));
}

void TStateZipCheck::EditListButtonClick()
{
    if (isRunning())
        return;
    if (!m_list) {
        auto list = std::make_unique<xbase::Table>();
        if (!TSystemTables::open(TSystemTable::Csz, *list, m_session.programFolder()).ok) {
            TMessages::information(this, QStringLiteral("Unable to open CSZ.DBF"));
            return;
        }
        m_list = std::move(list);
        m_listModel = std::make_unique<TCszListModel>(*m_list);
        CszGrid->setModel(m_listModel.get());
        (m_checked ? ResultPanel : SetupPanel)->hide();
        CancelButton->setEnabled(false);
        EditListButton->setText(QStringLiteral("Stop Editing"));
        ListPanel->show();
        return;
    }
    const TResult posted = m_listModel->post();
    if (!posted.ok)
        TMessages::failure(this, posted);
    CszGrid->setModel(nullptr);
    m_listModel.reset();
    const TResult closed = TResult::fromStatus(m_list->close());
    m_list.reset();
    if (!closed.ok)
        TMessages::failure(this, closed);
    ListPanel->hide();
    EditListButton->setText(QStringLiteral("Edit State/Province File"));
    CancelButton->setEnabled(true);
    (m_checked ? ResultPanel : SetupPanel)->show();
}
