#include "TCVReindex.h"

#include "TWhatsThis.h"
#include "THelpRequest.h"

#include "TAddressTable.h"
#include "THourglass.h"
#include "TMessages.h"
#include "TRebuildGauge.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 1040;

TCVReindex::TCVReindex(TAddressTable &table, QWidget *parent) : QDialog(parent), m_table(table)
{
    setObjectName(QStringLiteral("TCVReindex"));
    setWindowTitle(QStringLiteral("Rebuild indexes for ") + table.fileName());
    setModal(true);

    StatusLabel = new QLabel(this);
    Gauge = new QProgressBar(this);
    Gauge->setRange(0, 100);
    Gauge->setValue(0);
    Gauge->hide();
    ReindexButton = new QPushButton(QStringLiteral("Reindex"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    ReindexButton->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ReindexButton);
    buttons->addWidget(CancelButton);
    buttons->addWidget(HelpButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(StatusLabel);
    layout->addWidget(Gauge);
    layout->addLayout(buttons);
    setMinimumWidth(380);

    connect(ReindexButton, &QPushButton::clicked, this, &TCVReindex::ReindexButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {ReindexButton, "Removes the records marked as deleted for good and rebuilds every index of the file."},
             {CancelButton, "Closes the window without changing the file."},
             {HelpButton, "Opens the help page about rebuilding the indexes."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

void TCVReindex::ReindexButtonClick()
{
    if (m_ran)
        return;
    m_ran = true;
    {
        THourglass hourglass;
        ReindexButton->hide();
        CancelButton->hide();
        HelpButton->hide();
        Gauge->show();
        StatusLabel->setText(QStringLiteral("Cleaning out old deleted records"));
        TRebuildGauge *running = nullptr;
        TRebuildGauge gauge([this, &running](int position) {
            // The text changes with the engine's first report of the tag builds.
            if (running && running->phase() == TRebuildGauge::Phase::Indexing)
                StatusLabel->setText(QStringLiteral("Rebuilding indexes"));
            Gauge->setValue(position);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
        running = &gauge;
        m_result = m_table.rebuild(gauge);
    }
    if (!m_result.ok)
        TMessages::information(this, m_result.message);
    accept();
}
