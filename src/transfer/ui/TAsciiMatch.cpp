#include "TAsciiMatch.h"

#include "THelpRequest.h"

#include "TAsciiColumns.h"
#include "TImportTargets.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3803;

namespace {

QStringList matchedNames(const TAsciiColumns &columns, const TImportTargets &targets)
{
    QStringList out;
    for (const QString &caption : targets.captions())
        out << columns.MatchedFieldName(caption);
    return out;
}

QStringList columnNames(const TAsciiColumns &columns)
{
    QStringList out;
    for (const TAsciiColumn &c : columns.columns())
        out << c.name;
    return out;
}

} // namespace

TAsciiMatch::TAsciiMatch(TAsciiColumns &columns, const TImportTargets &targets, const QString &fileName,
                         QWidget *parent)
    : TMatchWindow(targets.captions(), matchedNames(columns, targets), fileName,
                   [names = columnNames(columns)](int) { return names; }, parent),
      m_columns(columns), m_targets(targets)
{
    setWindowTitle(QStringLiteral("ASCII File Import Match Fields"));
    m_top->addWidget(new QLabel(QStringLiteral("Sample ASCII Fields"), this));
    SampleGrid = new QTableWidget(static_cast<int>(columns.sample().size()), columns.columnCount(), this);
    SampleGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SampleGrid->setHorizontalHeaderLabels(columnNames(columns));
    SampleGrid->horizontalHeader()->setStyleSheet(QStringLiteral("QHeaderView::section { background-color: rgb(192,192,192); }"));
    const QFontMetrics fm(font());
    const int most = 2 * (screen() ? static_cast<int>(screen()->logicalDotsPerInch()) : 96);
    for (int c = 0; c < columns.columnCount(); ++c) {
        const int w = fm.horizontalAdvance(QLatin1Char('W')) * columns.columns()[c].maxLength;
        SampleGrid->setColumnWidth(c, std::clamp(w, fm.horizontalAdvance(QStringLiteral("Field 12")), std::max(most, 1)));
    }
    for (int r = 0; r < columns.sample().size(); ++r)
        for (int c = 0; c < columns.sample()[r].size(); ++c)
            SampleGrid->setItem(r, c, new QTableWidgetItem(columns.sample()[r][c]));
    m_top->addWidget(SampleGrid);
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

void TAsciiMatch::accept()
{
    const QStringList names = matched();
    const QStringList captions = m_targets.captions();
    for (TAsciiColumn &c : m_columns.columns()) {
        c.match.clear();
        const qsizetype row = names.indexOf(c.name);
        if (row >= 0 && !c.name.isEmpty())
            c.match = captions[row];
    }
    TMatchWindow::accept();
}
