#include "TDBFMatch.h"

#include "THelpRequest.h"

#include "TCp1252.h"
#include "TDbfSource.h"
#include "TImportTargets.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3802;

namespace {

constexpr int kBrowsedRecords = 200;

QStringList matchedNames(const TDbfSource &source, const TImportTargets &targets)
{
    QStringList out;
    for (const TImportTarget &t : targets.offered())
        out << source.matchedTo(t.index);
    return out;
}

} // namespace

TDBFMatch::TDBFMatch(TDbfSource &source, const TImportTargets &targets, QWidget *parent)
    : TMatchWindow(targets.captions(), matchedNames(source, targets), QFileInfo(source.path()).fileName(),
                   [&source, &targets](int row) { return source.fitting(targets.offered()[static_cast<size_t>(row)].type); },
                   parent),
      m_source(source), m_targets(targets)
{
    setWindowTitle(QStringLiteral("DBF File Import Match Fields"));
    m_top->addWidget(new QLabel(QStringLiteral("Import DBF File Browser"), this));
    const auto &fields = source.fields();
    BrowserGrid = new QTableWidget(0, static_cast<int>(fields.size()), this);
    BrowserGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QStringList heads;
    for (const auto &f : fields)
        heads << f.name + QStringLiteral(" (") + TDbfSource::typeText(f.type) + QLatin1Char(')');
    BrowserGrid->setHorizontalHeaderLabels(heads);
    xbase::Table &t = source.table();
    std::string value;
    int row = 0;
    for (xbase::Status s = t.goTop(); s.ok() && !t.eof() && row < kBrowsedRecords; s = t.skip(1), ++row) {
        BrowserGrid->insertRow(row);
        for (size_t c = 0; c < fields.size(); ++c) {
            if (!t.fieldValue(fields[c].index, value).ok())
                value.clear();
            BrowserGrid->setItem(row, static_cast<int>(c),
                                 new QTableWidgetItem(TCp1252::toString(value.data(), static_cast<qsizetype>(value.size())).left(200)));
        }
    }
    m_top->addWidget(BrowserGrid);
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

void TDBFMatch::accept()
{
    const QStringList names = matched();
    m_source.clearMatches();
    for (auto &f : m_source.fields()) {
        const qsizetype row = names.indexOf(f.name);
        if (row >= 0)
            if (const TImportTarget *t = m_targets.FieldByDisplayLabel(m_targets.offered()[static_cast<size_t>(row)].caption))
                f.match = t->index;
    }
    TMatchWindow::accept();
}
