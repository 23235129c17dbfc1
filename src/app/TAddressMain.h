// The main window: the program itself. Created by main() and living for the whole run; it
// restores its placement on its first activation and saves it when it closes.
#pragma once

#include <QMainWindow>
#include <QString>

class TAddressMain : public QMainWindow
{
    Q_OBJECT

public:
    // `settingsPath` is the settings file (the program folder's "CORVAN.ini").
    explicit TAddressMain(QString settingsPath, QWidget *parent = nullptr);

    const QString &settingsPath() const { return m_settingsPath; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The first activation: placement restored once.
    void FormActivate();

    QString m_settingsPath;
    bool m_activated = false;
};
