#include "TStateZipCheck.h"

#include "TAddressSession.h"
#include "TBrowseColumns.h"
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

    CloseButton = new QPushButton(QStringLiteral("Close"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(CancelButton);
    buttons->addWidget(CloseButton);
    buttons->addWidget(HelpButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SetupPanel);
    layout->addWidget(Gauge);
    layout->addWidget(CountLabel);
    layout->addWidget(ResultPanel);
    layout->addLayout(buttons);

    connect(CheckitButton, &QPushButton::clicked, this, &TStateZipCheck::CheckitButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TStateZipCheck::CancelButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &TStateZipCheck::reject);
    connect(HelpButton, &QPushButton::clicked, this, &TStateZipCheck::helpRequested);
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
    connect(TagButton, &QPushButton::clicked, this, &TStateZipCheck::TagButtonClick);
    connect(TagAllButton, &QPushButton::clicked, this, &TStateZipCheck::TagAllButtonClick);
    connect(ChkStateZip, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (m_model && m_model->columnField(index.column()) == QLatin1String("Tagged"))
            TagButtonClick();
    });
}

TStateZipCheck::~TStateZipCheck()
{
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
    HelpButton->show();
    CloseButton->show();
    if (!result.ok)
        SetupPanel->show();
    endRun();
}

void TStateZipCheck::CancelButtonClick()
{
    if (isRunning() && TMessages::question(this, QStringLiteral("CANCEL"),
                                           QStringLiteral("Cancel operation?"), QMessageBox::No))
        requestCancel();
}

int TStateZipCheck::currentRow() const
{
    return ChkStateZip->currentIndex().isValid() ? ChkStateZip->currentIndex().row() : 0;
}

void TStateZipCheck::TagButtonClick()
{
    if (!m_model || m_model->rowCount() == 0)
        return;
    const TResult toggled = m_model->toggleTag(currentRow());
    if (!toggled.ok)
        TMessages::failure(this, toggled);
}

void TStateZipCheck::TagAllButtonClick()
{
    if (!m_model || m_model->rowCount() == 0)
        return;
    if (!TMessages::question(this, QStringLiteral("TAG ALL"),
                             QStringLiteral("Tag all records with questionable state or zipcodes?"),
                             QMessageBox::No))
        return;
    int tagged = 0;
    const TResult result = m_model->tagAll(tagged);
    if (!result.ok)
        TMessages::failure(this, result);
}
