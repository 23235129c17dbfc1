#include "TMemoSearchForm.h"

#include "THelpRequest.h"

#include "TAddressTable.h"
#include "TFreezeGuard.h"
#include "TMemoSearch.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3003;

namespace {
// Events (a "Cancel" click) are handled once every so many records.
constexpr int kEventEvery = 64;
} // namespace

TMemoSearchForm::TMemoSearchForm(const QString &text, QWidget *parent) : QDialog(parent), m_text(text)
{
    setWindowTitle(QStringLiteral("Searching"));
    TextLabel = new QLabel(QStringLiteral("Searching for: ") + text, this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    connect(CancelButton, &QPushButton::clicked, this, [this] { m_cancelled = true; });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CancelButton);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(TextLabel);
    layout->addLayout(buttons);
    THelpRequest::wire(this, nullptr, kHelpTopic);
}

bool TMemoSearchForm::run(TAddressTable &table, bool fromNext)
{
    m_cancelled = false;
    show();
    QApplication::processEvents();
    int tested = 0;
    bool found = false;
    {
        TFreezeGuard frozen(table);
        found = TMemoSearch::run(table, m_text, fromNext, [this, &tested] {
            if (m_recordHook)
                m_recordHook(tested);
            if (++tested % kEventEvery == 0)
                QApplication::processEvents();
            return m_cancelled;
        });
    }
    hide();
    return found;
}
