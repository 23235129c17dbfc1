#include "TImportOlder.h"

#include "THelpRequest.h"

#include "TAddressTable.h"
#include "TMessages.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3800;

TImportOlder::TImportOlder(TAddressTable &table, int format, QWidget *parent)
    : TImportWindow(format == 0 ? QStringLiteral("Import Corvantis 1.x DBF") : QStringLiteral("Import Corvantis 2.x DBF"),
                    QStringLiteral("DBF File Name"), QStringLiteral("Select DBF File"), parent),
      m_table(table), m_version(format == 0 ? TDbfImportRun::Older::V1 : TDbfImportRun::Older::V2)
{
    MatchButton->hide();
    connect(SelectButton, &QPushButton::clicked, this, &TImportOlder::SelectButtonClick);
    connect(ImportButton, &QPushButton::clicked, this, &TImportOlder::ImportButtonClick);
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

void TImportOlder::SelectButtonClick()
{
    const QString chosen = chooseFile(QStringLiteral("DBF Files (*.dbf *.DBF)"), QStringLiteral("dbf"));
    m_source.close();
    ImportButton->setEnabled(false);
    FileNameLabel->setText(QStringLiteral("(none)"));
    if (chosen.isEmpty())
        return;
    TResult r = m_source.open(chosen, m_table.path());
    if (r.ok)
        r = TDbfImportRun::recognise(m_source, m_version);
    if (!r.ok) {
        m_source.close();
        TMessages::information(this, r.message);
        return;
    }
    FileNameLabel->setText(chosen);
    ImportButton->setEnabled(true);
}

void TImportOlder::ImportButtonClick()
{
    runImport(false, [this](TImportGauge &gauge) {
        return TDbfImportRun::runOlder(m_table, m_source, m_version, *this, &gauge,
                                       [this](const QString &text) { StatusLabel->setText(text); });
    });
    m_source.close();
}
