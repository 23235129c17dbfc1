#include "TSysReindexForm.h"

#include "THelpRequest.h"

#include "THourglass.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

// The engine's percentages on the window's bar. The run holds the only thread, so the window
// is repainted after each report; input waits until the run is over.
class TSysReindexForm::BarHook : public xbase::ProgressHook
{
public:
    explicit BarHook(TSysReindexForm &form) : m_form(form) {}
    bool report(int percent) override
    {
        m_form.ProgressBar->setValue(percent);
        m_form.m_positions << percent;
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return true;
    }

private:
    TSysReindexForm &m_form;
};

TSysReindexForm::TSysReindexForm(const QString &programFolder, QWidget *parent)
    : QDialog(parent), m_programFolder(programFolder)
{
    setObjectName(QStringLiteral("TSysReindexForm"));
    setWindowTitle(QStringLiteral("Rebuild System Indexes"));
    setModal(true);

    StatusLabel = new QLabel(this);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusLabel->setMinimumWidth(300);
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->setVisible(false);
    ReindexButton = new QPushButton(QStringLiteral("Reindex"), this);
    ReindexButton->setObjectName(QStringLiteral("ReindexButton"));
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    HelpButton->setObjectName(QStringLiteral("HelpButton"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {ReindexButton, CancelButton, HelpButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    ReindexButton->setDefault(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(StatusLabel);
    layout->addWidget(ProgressBar);
    layout->addLayout(buttons);

    connect(ReindexButton, &QPushButton::clicked, this, &TSysReindexForm::ReindexButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TSysReindexForm::reject);
    connect(HelpButton, &QPushButton::clicked, this, &TSysReindexForm::HelpButtonClick);
}

void TSysReindexForm::ReindexButtonClick()
{
    if (m_running)
        return;
    m_running = true;
    m_shown.clear();
    m_positions.clear();
    for (QPushButton *b : {ReindexButton, CancelButton, HelpButton})
        b->setVisible(false);
    ProgressBar->setVisible(true);
    {
        THourglass wait;
        BarHook hook(*this);
        m_report = TSysIndexRebuild::run(m_programFolder, &hook, [this](const QString &text) {
            StatusLabel->setText(text);
            m_shown << text;
            ProgressBar->setValue(0);
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    }
    ProgressBar->reset();
    m_running = false;
    accept();
}

void TSysReindexForm::HelpButtonClick()
{
    emit helpRequested(kHelpTopic);
    THelpRequest::ask(this, kHelpTopic);
}

void TSysReindexForm::reject()
{
    // No closing while the tables are being rebuilt.
    if (!m_running)
        QDialog::reject();
}

void TSysReindexForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && !m_running) {
        HelpButtonClick();
        return;
    }
    QDialog::keyPressEvent(event);
}
