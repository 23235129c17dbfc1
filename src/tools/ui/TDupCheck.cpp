#include "TDupCheck.h"

#include "THelpRequest.h"
#include "TWhatsThis.h"

#include "TAddressSession.h"
#include "TBrowseColumns.h"
#include "TMessages.h"
#include "TToolGridModel.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3702;

namespace {

QString foundText(int count)
{
    return QStringLiteral("Found %1 possible duplicates").arg(count);
}

} // namespace

TDupCheck::TDupCheck(TAddressSession &session, QWidget *parent)
    : TToolWindow(parent), m_session(session), m_finder(session.table())
{
    setWindowTitle(QStringLiteral("Check and Repair Duplicates"));
    SetupPanel = new QWidget(this);
    auto *setup = new QVBoxLayout(SetupPanel);
    setup->addWidget(new QLabel(QStringLiteral("Duplicate Record Check Setup"), SetupPanel));
    setup->addWidget(new QLabel(QStringLiteral("What to check:"), SetupPanel));
    KindofCheck = new QButtonGroup(this);
    const char *kinds[] = {"&Last + First", "Last + &First Initial", "&Street Address"};
    for (int i = 0; i < 3; ++i) {
        auto *button = new QRadioButton(QLatin1String(kinds[i]), SetupPanel);
        KindofCheck->addButton(button, i);
        setup->addWidget(button);
    }
    KindofCheck->button(0)->setChecked(true);
    AddressCharsLabel =
        new QLabel(QStringLiteral("Check how many characters of street address (max 30)"), SetupPanel);
    AddressChars = new QSpinBox(SetupPanel);
    AddressChars->setRange(1, TDuplicateFinder::kMaxStreetChars);
    AddressChars->setValue(TDuplicateFinder::kMaxStreetChars);
    setup->addWidget(AddressCharsLabel);
    setup->addWidget(AddressChars);
    AddressCharsLabel->hide();
    AddressChars->hide();
    connect(KindofCheck, &QButtonGroup::idClicked, this, [this](int id) {
        AddressCharsLabel->setVisible(id == 2);
        AddressChars->setVisible(id == 2);
    });
    CheckitButton = new QPushButton(QStringLiteral("&Perform Duplicate Check Now"), SetupPanel);
    setup->addWidget(CheckitButton);

    CountLabel = new QLabel(this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->hide();

    ResultPanel = new QWidget(this);
    auto *result = new QVBoxLayout(ResultPanel);
    result->addWidget(new QLabel(QStringLiteral("Click on field to begin editing"), ResultPanel));
    ChkDupsGrid = new QTableView(ResultPanel);
    ChkDupsGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    ChkDupsGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    result->addWidget(ChkDupsGrid);
    auto *navigator = new QHBoxLayout;
    FirstButton = new QPushButton(QStringLiteral("|<"), ResultPanel);
    PriorButton = new QPushButton(QStringLiteral("<"), ResultPanel);
    NextButton = new QPushButton(QStringLiteral(">"), ResultPanel);
    LastButton = new QPushButton(QStringLiteral(">|"), ResultPanel);
    for (QPushButton *b : {FirstButton, PriorButton, NextButton, LastButton})
        navigator->addWidget(b);
    result->addLayout(navigator);
    auto *actions = new QHBoxLayout;
    DeleteButton = new QPushButton(QStringLiteral("&Delete"), ResultPanel);
    SaveButton = new QPushButton(QStringLiteral("S&ave"), ResultPanel);
    UndoButton = new QPushButton(QStringLiteral("&Undo"), ResultPanel);
    TagButton = new QPushButton(QStringLiteral("&Tag"), ResultPanel);
    TagAllButton = new QPushButton(QStringLiteral("Tag &All"), ResultPanel);
    for (QPushButton *b : {DeleteButton, SaveButton, UndoButton, TagButton, TagAllButton})
        actions->addWidget(b);
    result->addLayout(actions);
    ResultPanel->hide();

    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(CancelButton);
    buttons->addWidget(OkButton);
    buttons->addWidget(HelpButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SetupPanel);
    layout->addWidget(Gauge);
    layout->addWidget(CountLabel);
    layout->addWidget(ResultPanel);
    layout->addLayout(buttons);

    connect(CheckitButton, &QPushButton::clicked, this, &TDupCheck::CheckitButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TDupCheck::CancelButtonClick);
    connect(OkButton, &QPushButton::clicked, this, &TDupCheck::accept);
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {AddressChars, "How many characters of the street address must agree, at most 30."},
             {CheckitButton, "Looks for records that may be the same person twice."},
             {CancelButton, "Closes the window, or stops a check that is running."},
             {ChkDupsGrid, "The possible duplicates. Click a field to change it."},
             {FirstButton, "Goes to the first record in the list."},
             {PriorButton, "Goes to the previous record in the list."},
             {NextButton, "Goes to the next record in the list."},
             {LastButton, "Goes to the last record in the list."},
             {DeleteButton, "Deletes the selected record after asking."},
             {SaveButton, "Stores the change made to the record."},
             {UndoButton, "Takes back the change not yet stored."},
             {TagButton, "Tags the selected record, to find it again later."},
             {TagAllButton, "Tags every possible duplicate."},
             {OkButton, "Closes the window."},
             {HelpButton, "Opens the help page about duplicate records."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
    for (QAbstractButton *kind : KindofCheck->buttons())
        TWhatsThis::describe(kind, QStringLiteral("Looks for possible duplicates by comparing: %1.").arg(kind->text().remove(QLatin1Char('&'))));
    THelpRequest::wire(this, HelpButton, kHelpTopic);
    connect(DeleteButton, &QPushButton::clicked, this, &TDupCheck::DeleteButtonClick);
    connect(SaveButton, &QPushButton::clicked, this, &TDupCheck::SaveButtonClick);
    connect(UndoButton, &QPushButton::clicked, this, &TDupCheck::UndoButtonClick);
    connect(TagButton, &QPushButton::clicked, this, &TDupCheck::TagButtonClick);
    connect(TagAllButton, &QPushButton::clicked, this, &TDupCheck::TagAllButtonClick);
    connect(FirstButton, &QPushButton::clicked, this, [this] { moveTo(0); });
    connect(PriorButton, &QPushButton::clicked, this, [this] { moveTo(currentRow() - 1); });
    connect(NextButton, &QPushButton::clicked, this, [this] { moveTo(currentRow() + 1); });
    connect(LastButton, &QPushButton::clicked, this,
            [this] { moveTo(m_model ? m_model->rowCount() - 1 : 0); });
    connect(ChkDupsGrid, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (m_model && m_model->columnField(index.column()) == QLatin1String("Tagged"))
            TagButtonClick();
    });
}

TDupCheck::~TDupCheck()
{
    ChkDupsGrid->setModel(nullptr);
    m_model.reset();
    m_finder.release();
}

QString TDupCheck::indexPath() const
{
    return m_session.programFolder() + QStringLiteral("_chkdup.idx");
}

void TDupCheck::stepped(int)
{
    CountLabel->setText(foundText(m_finder.pairs()));
}

void TDupCheck::CheckitButtonClick()
{
    if (isRunning() || m_done)
        return;
    SetupPanel->hide();
    HelpButton->hide();
    OkButton->hide();
    CancelButton->show();
    beginRun();
    const auto kind = TDuplicateFinder::Kind(qMax(0, KindofCheck->checkedId()));
    const TResult result = m_finder.run(kind, AddressChars->value(), indexPath(), *this);
    CancelButton->hide();
    OkButton->show();
    HelpButton->show();
    m_done = true;
    CountLabel->setText(foundText(m_finder.pairs()));
    if (!result.ok)
        TMessages::failure(this, result);
    if (result.ok && m_finder.pairs() > 0) {
        QStringList order = TBrowseColumns(m_session.programFolder()).read();
        if (kind == TDuplicateFinder::Kind::Street && order.removeAll(QStringLiteral("STREET")) > 0)
            order.insert(qMin(1, int(order.size())), QStringLiteral("STREET"));
        m_model = std::make_unique<TToolGridModel>(m_session.table(), order);
        ChkDupsGrid->setModel(m_model.get());
        ResultPanel->show();
        moveTo(0);
    }
    endRun();
}

void TDupCheck::CancelButtonClick()
{
    confirmCancel();
}

int TDupCheck::currentRow() const
{
    return ChkDupsGrid->currentIndex().isValid() ? ChkDupsGrid->currentIndex().row() : 0;
}

void TDupCheck::moveTo(int row)
{
    if (!m_model || m_model->rowCount() == 0)
        return;
    row = qBound(0, row, m_model->rowCount() - 1);
    ChkDupsGrid->setCurrentIndex(m_model->index(row, qMax(0, ChkDupsGrid->currentIndex().column())));
    const TResult moved = m_model->selectRow(row);
    if (!moved.ok && !moved.isNotFound())
        TMessages::failure(this, moved);
}

void TDupCheck::DeleteButtonClick()
{
    if (!m_model || m_model->rowCount() == 0)
        return;
    if (!TMessages::question(this, QStringLiteral("DELETE"), QStringLiteral("Delete this record?"),
                             QMessageBox::No))
        return;
    const int row = currentRow();
    const TResult deleted = m_model->deleteRow(row);
    if (!deleted.ok)
        TMessages::failure(this, deleted);
    moveTo(row);
}

void TDupCheck::SaveButtonClick()
{
    if (!m_model)
        return;
    const TResult posted = m_model->post();
    if (!posted.ok)
        TMessages::failure(this, posted);
}

void TDupCheck::UndoButtonClick()
{
    if (m_model)
        m_model->cancel();
}

void TDupCheck::TagButtonClick()
{
    toggleTagOf(m_model.get(), currentRow());
}

void TDupCheck::TagAllButtonClick()
{
    tagAllOf(m_model.get(), QStringLiteral("Tag all possible duplicates?"));
}
