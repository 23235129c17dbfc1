#include "TAddressMain.h"

#include "TIniFile.h"
#include "TWindowPlacer.h"

#include <QCloseEvent>
#include <QShowEvent>

namespace {
const QString kClassName = QStringLiteral("TAddressMain");
}

TAddressMain::TAddressMain(QString settingsPath, QWidget *parent)
    : QMainWindow(parent), m_settingsPath(std::move(settingsPath))
{
    setObjectName(kClassName);
    setWindowTitle(QStringLiteral("Corvantis"));
    // The designed size, used when no placement is stored.
    resize(800, 600);
}

void TAddressMain::showEvent(QShowEvent *event)
{
    if (!m_activated) {
        m_activated = true;
        FormActivate();
    }
    QMainWindow::showEvent(event);
}

void TAddressMain::FormActivate()
{
    TIniFile ini(m_settingsPath);
    TWindowPlacer::restore(this, kClassName, ini, false);
}

void TAddressMain::closeEvent(QCloseEvent *event)
{
    TIniFile ini(m_settingsPath);
    TWindowPlacer::save(this, kClassName, ini);
    QMainWindow::closeEvent(event);
}
