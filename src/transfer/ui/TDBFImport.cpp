#include "TDBFImport.h"

#include "THelpRequest.h"

#include "TAddressTable.h"
#include "TDBFMatch.h"
#include "TDbfImportRun.h"
#include "TMessages.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 1021;

TDBFImport::TDBFImport(TAddressTable &table, QWidget *parent)
    : TImportWindow(QStringLiteral("DBF File Import"), QStringLiteral("DBF File Name"), QStringLiteral("Select DBF File"),
                    parent),
      m_table(table), m_targets(table, TImportTargets::Kind::Table)
{
    connect(SelectButton, &QPushButton::clicked, this, &TDBFImport::SelectButtonClick);
    connect(MatchButton, &QPushButton::clicked, this, &TDBFImport::MatchButtonClick);
    connect(ImportButton, &QPushButton::clicked, this, &TDBFImport::ImportButtonClick);
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

void TDBFImport::SelectButtonClick()
{
    const QString chosen = chooseFile(QStringLiteral("DBF Files (*.DBF *.dbf)"), QStringLiteral("dbf"));
    ImportButton->setEnabled(false);
    m_matchedOnce = false;
    m_source.close();
    if (chosen.isEmpty()) {
        FileNameLabel->setText(QStringLiteral("(none)"));
        MatchButton->setEnabled(false);
        return;
    }
    const TResult opened = m_source.open(chosen, m_table.path());
    if (!opened.ok) {
        TMessages::information(this, opened.message);
        FileNameLabel->setText(QStringLiteral("(none)"));
        MatchButton->setEnabled(false);
        return;
    }
    FileNameLabel->setText(chosen);
    MatchButton->setEnabled(true);
}

void TDBFImport::MatchButtonClick()
{
    if (!m_matchedOnce)
        m_source.autoMatch(m_targets);
    const auto before = m_source.fields();
    TDBFMatch window(m_source, m_targets, this);
    QTimer::singleShot(0, &window, [this, &window] { emit matchWindowShown(&window); });
    if (window.exec() == QDialog::Accepted)
        m_matchedOnce = true;
    else if (m_matchedOnce)
        m_source.fields() = before;
    else
        m_source.clearMatches();
    ImportButton->setEnabled(m_matchedOnce && m_source.hasMatch());
}

void TDBFImport::ImportButtonClick()
{
    m_table.freeze();
    runImport(false, [this](TImportGauge &gauge) {
        return TDbfImportRun::run(m_table, m_source, *this, &gauge,
                                  [this](const QString &text) { StatusLabel->setText(text); });
    });
    m_table.unfreeze();
    m_source.close();
}
