#include "TAddressBrowseForm.h"

#include "THelpRequest.h"

#include "TAddressTable.h"
#include "TBrowseColumns.h"
#include "TBrowseModel.h"
#include "TIniFile.h"
#include "TWindowPlacer.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>

namespace {
const QString kClassName = QStringLiteral("TAddressBrowseForm");
} // namespace

TAddressBrowseForm::TAddressBrowseForm(TAddressTable &table, const QString &programFolder,
                                       const QString &settingsPath, std::function<void()> toggleTag,
                                       QWidget *parent)
    : QDialog(parent), m_table(table), m_programFolder(programFolder), m_settingsPath(settingsPath),
      m_toggleTag(std::move(toggleTag))
{
    setWindowTitle(QStringLiteral("Address Browse"));
    setObjectName(kClassName);

    m_fieldOrder = TBrowseColumns(m_programFolder).read();
    m_model = new TBrowseModel(m_table, m_fieldOrder, this);

    Grid = new QTableView(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setModel(m_model);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->setWordWrap(false);
    // Fixed row heights: the grid never measures rows it does not show.
    QHeaderView *rows = Grid->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(Grid->fontMetrics().height() + 4);
    rows->hide();
    QHeaderView *columns = Grid->horizontalHeader();
    columns->setSectionsMovable(true);
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setHighlightSections(false);
    const QFontMetrics metrics(Grid->font());
    const QFontMetrics titleMetrics(columns->font());
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const int chars = m_model->browseWidth(c) * metrics.averageCharWidth();
        const int title = titleMetrics.horizontalAdvance(m_model->headerData(c, Qt::Horizontal).toString());
        columns->resizeSection(c, std::max(chars, title) + 8);
    }

    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    FirstButton = new QPushButton(QStringLiteral("|<"), this);
    PriorButton = new QPushButton(QStringLiteral("<"), this);
    NextButton = new QPushButton(QStringLiteral(">"), this);
    LastButton = new QPushButton(QStringLiteral(">|"), this);
    TagButton = new QPushButton(QStringLiteral("&Tag"), this);
    FirstButton->setToolTip(QStringLiteral("First record"));
    PriorButton->setToolTip(QStringLiteral("Previous record"));
    NextButton->setToolTip(QStringLiteral("Next record"));
    LastButton->setToolTip(QStringLiteral("Last record"));
    OkButton->setDefault(true);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {FirstButton, PriorButton, NextButton, LastButton})
        buttons->addWidget(b);
    buttons->addSpacing(12);
    buttons->addWidget(TagButton);
    buttons->addStretch(1);
    buttons->addWidget(OkButton);
    buttons->addWidget(HelpButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Grid, 1);
    layout->addLayout(buttons);

    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(HelpButton, &QPushButton::clicked, this, &TAddressBrowseForm::HelpButtonClick);
    connect(FirstButton, &QPushButton::clicked, this, &TAddressBrowseForm::FirstButtonClick);
    connect(PriorButton, &QPushButton::clicked, this, &TAddressBrowseForm::PriorButtonClick);
    connect(NextButton, &QPushButton::clicked, this, &TAddressBrowseForm::NextButtonClick);
    connect(LastButton, &QPushButton::clicked, this, &TAddressBrowseForm::LastButtonClick);
    connect(TagButton, &QPushButton::clicked, this, &TAddressBrowseForm::TagButtonClick);
    connect(Grid, &QTableView::doubleClicked, this, &TAddressBrowseForm::GridDblClick);
    connect(Grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { rowChanged(current.row()); });

    resize(scaledDesignSize(TWindowPlacer::dotsPerInch(parent ? parent : this)));
    selectCurrentRecord();
}

TAddressBrowseForm::~TAddressBrowseForm() = default;

QSize TAddressBrowseForm::scaledDesignSize(int dotsPerInch)
{
    if (dotsPerInch <= 96)
        return QSize(kDesignWidth, kDesignHeight);
    const double scale = double(dotsPerInch) / 96.0 * 0.95;
    return QSize(int(std::lround(kDesignWidth * scale)), int(std::lround(kDesignHeight * scale)));
}

QStringList TAddressBrowseForm::shownColumns() const
{
    QStringList names;
    const QHeaderView *header = Grid->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual)
        names.append(m_model->columnField(header->logicalIndex(visual)));
    return names;
}

QStringList TAddressBrowseForm::fieldOrder() const
{
    QStringList order = m_fieldOrder;
    const QStringList shown = shownColumns();
    int next = 0;
    for (QString &name : order) {
        if (m_model->columnFields().contains(name) && next < shown.size())
            name = shown[next++];
    }
    return order;
}

void TAddressBrowseForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    TIniFile ini(m_settingsPath);
    TWindowPlacer::restore(this, kClassName, ini, false, parentWidget());
    selectCurrentRecord();
}

void TAddressBrowseForm::done(int result)
{
    if (!m_closed) {
        m_closed = true;
        TBrowseColumns(m_programFolder).write(fieldOrder());
        if (m_activated) {
            TIniFile ini(m_settingsPath);
            TWindowPlacer::save(this, kClassName, ini);
        }
    }
    QDialog::done(result);
}

void TAddressBrowseForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        HelpButtonClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TAddressBrowseForm::selectRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex index = m_model->index(row, std::max(0, Grid->currentIndex().column()));
    Grid->selectionModel()->setCurrentIndex(index,
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    Grid->scrollTo(index);
}

void TAddressBrowseForm::selectCurrentRecord()
{
    const int row = m_table.hasRecord() ? m_model->rowOf(m_table.recno()) : -1;
    if (row < 0)
        return;
    const QModelIndex index = m_model->index(row, std::max(0, Grid->currentIndex().column()));
    Grid->selectionModel()->setCurrentIndex(index,
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    Grid->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void TAddressBrowseForm::rowChanged(int row)
{
    const quint32 recno = m_model->recnoOf(row);
    if (recno != 0 && recno != m_table.recno())
        m_table.goTo(recno);
}

void TAddressBrowseForm::beep()
{
    ++m_beeps;
    QApplication::beep();
}

void TAddressBrowseForm::FirstButtonClick()
{
    selectRow(0);
}

void TAddressBrowseForm::PriorButtonClick()
{
    const int row = Grid->currentIndex().row();
    if (row <= 0) {
        beep();
        return;
    }
    selectRow(row - 1);
}

void TAddressBrowseForm::NextButtonClick()
{
    const int row = Grid->currentIndex().row();
    if (row < 0 || row + 1 >= m_model->rowCount()) {
        beep();
        return;
    }
    selectRow(row + 1);
}

void TAddressBrowseForm::LastButtonClick()
{
    selectRow(m_model->rowCount() - 1);
}

void TAddressBrowseForm::TagButtonClick()
{
    if (!m_table.hasRecord() || !m_toggleTag)
        return;
    const quint32 recno = m_table.recno();
    const int row = Grid->currentIndex().row();
    m_toggleTag();
    // A filter on tags may have hidden the record: the rows are listed again, and when the
    // record is gone the row that took its place becomes current.
    if (!m_model->reload()) {
        m_model->refreshRecord(recno);
        return;
    }
    if (m_table.hasRecord() && m_model->rowOf(m_table.recno()) >= 0)
        selectCurrentRecord();
    else
        selectRow(std::min(std::max(row, 0), m_model->rowCount() - 1));
}

void TAddressBrowseForm::GridDblClick()
{
    TagButtonClick();
}

void TAddressBrowseForm::HelpButtonClick()
{
    emit helpRequested(kHelpTopic);
    THelpRequest::ask(this, kHelpTopic);
}
