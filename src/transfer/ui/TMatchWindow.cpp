#include "TMatchWindow.h"

#include <QAction>
#include <QCursor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TMatchWindow::TMatchWindow(const QStringList &captions, const QStringList &matched, const QString &fileName,
                           std::function<QStringList(int)> choices, QWidget *parent)
    : QDialog(parent), m_choices(std::move(choices))
{
    auto *layout = new QVBoxLayout(this);
    m_top = new QVBoxLayout;
    layout->addLayout(m_top);
    FieldMatchLabel = new QLabel(QStringLiteral("Field Match"), this);
    layout->addWidget(FieldMatchLabel);
    MatchGrid = new QTableWidget(static_cast<int>(captions.size()), 2, this);
    MatchGrid->setHorizontalHeaderLabels(
        {QStringLiteral("Corvantis Field"), QStringLiteral("Import from Field (in ") + fileName + QLatin1Char(')')});
    MatchGrid->verticalHeader()->hide();
    MatchGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MatchGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    MatchGrid->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: rgb(128,128,128); color: white; }"));
    for (int r = 0; r < captions.size(); ++r) {
        auto *first = new QTableWidgetItem(captions[r]);
        first->setBackground(QColor(192, 192, 192));
        first->setForeground(Qt::black);
        MatchGrid->setItem(r, 0, first);
        MatchGrid->setItem(r, 1, new QTableWidgetItem(matched.value(r)));
    }
    if (!captions.isEmpty())
        MatchGrid->setCurrentCell(0, 1);
    layout->addWidget(MatchGrid);
    auto *buttons = new QHBoxLayout;
    SelectFieldButton = new QPushButton(QStringLiteral("&Select Field"), this);
    ClearCurrentButton = new QPushButton(QStringLiteral("&Clear Current"), this);
    ClearAllButton = new QPushButton(QStringLiteral("Clear &All"), this);
    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    for (QPushButton *b : {SelectFieldButton, ClearCurrentButton, ClearAllButton, OkButton, CancelButton, HelpButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(SelectFieldButton, &QPushButton::clicked, this, &TMatchWindow::SelectFieldButtonClick);
    connect(MatchGrid, &QTableWidget::cellDoubleClicked, this, &TMatchWindow::SelectFieldButtonClick);
    connect(ClearCurrentButton, &QPushButton::clicked, this, &TMatchWindow::ClearCurrentButtonClick);
    connect(ClearAllButton, &QPushButton::clicked, this, &TMatchWindow::ClearAllButtonClick);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    resize(560, 480);
}

QStringList TMatchWindow::matched() const
{
    QStringList out;
    for (int r = 0; r < MatchGrid->rowCount(); ++r)
        out << MatchGrid->item(r, 1)->text();
    return out;
}

void TMatchWindow::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    // About 30 % and 70 % of the grid's width.
    const int w = MatchGrid->viewport()->width();
    MatchGrid->setColumnWidth(0, w / 2 - w / 5);
    MatchGrid->setColumnWidth(1, w / 5 + w / 2);
}

void TMatchWindow::put(int row, const QString &name)
{
    if (!name.isEmpty())
        for (int r = 0; r < MatchGrid->rowCount(); ++r)
            if (MatchGrid->item(r, 1)->text() == name)
                MatchGrid->item(r, 1)->setText(QString());
    MatchGrid->item(row, 1)->setText(name);
}

void TMatchWindow::SelectFieldButtonClick()
{
    const int row = MatchGrid->currentRow();
    if (row < 0)
        return;
    QMenu menu(this);
    const QString current = MatchGrid->item(row, 1)->text();
    QAction *none = menu.addAction(QStringLiteral("(none)"));
    for (const QString &name : m_choices(row)) {
        QAction *a = menu.addAction(name);
        a->setCheckable(true);
        a->setChecked(name == current);
    }
    emit menuShown(&menu);
    QAction *chosen = menu.exec(QCursor::pos());
    if (!chosen)
        return;
    put(row, chosen == none ? QString() : chosen->text());
}

void TMatchWindow::ClearCurrentButtonClick()
{
    const int row = MatchGrid->currentRow();
    if (row >= 0)
        MatchGrid->item(row, 1)->setText(QString());
}

void TMatchWindow::ClearAllButtonClick()
{
    for (int r = 0; r < MatchGrid->rowCount(); ++r)
        MatchGrid->item(r, 1)->setText(QString());
}
