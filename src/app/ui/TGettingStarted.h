// The "Getting Started" window: a short introduction with links to the help topics, and the
// switch that keeps it from showing at start-up. Shown by the main window.
#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;
class QTextBrowser;
class QUrl;
class TIniFile;

class TGettingStarted : public QDialog
{
    Q_OBJECT

public:
    TGettingStarted(TIniFile &ini, QWidget *parent = nullptr);

    // The help topic of a link word ("NEW", "dbase" ...; any case), 0 for none.
    static int helpTopic(const QString &word);

    QTextBrowser *TextView = nullptr;
    QCheckBox *DontShowCheck = nullptr;
    QPushButton *OkButton = nullptr;

signals:
    // A link was clicked; `topic` is its help topic.
    void helpRequested(int topic);

public slots:
    void OkButtonClick();

private:
    void linkClicked(const QUrl &url);

    TIniFile &m_ini;
};
