// The "Rebuild System Indexes" window: "Reindex" rebuilds the indexes of the six system tables
// one after the other (TSysIndexRebuild), showing each table's text and the engine's progress,
// then closes. Opened modally from the main window's menu; owns nothing but its controls.
#pragma once

#include "TSysIndexRebuild.h"

#include <QDialog>
#include <QString>

class QLabel;
class QProgressBar;
class QPushButton;

class TSysReindexForm : public QDialog
{
    Q_OBJECT

public:
    // Rebuilds the tables in "sysdata/" below `programFolder`.
    explicit TSysReindexForm(const QString &programFolder, QWidget *parent = nullptr);

    // What the last run did (empty before a run).
    const TSysIndexRebuild::Report &report() const { return m_report; }
    // Every text shown in StatusLabel during the last run, in order.
    const QStringList &shownTexts() const { return m_shown; }
    // Every bar position shown during the last run, in order.
    const QList<int> &shownPositions() const { return m_positions; }

    QLabel *StatusLabel;
    QProgressBar *ProgressBar;
    QPushButton *ReindexButton;
    QPushButton *CancelButton;
    QPushButton *HelpButton;

    static constexpr int kHelpTopic = 1039;

signals:
    void helpRequested(int topic);

public slots:
    void ReindexButtonClick();
    void HelpButtonClick();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void reject() override;

private:
    class BarHook;

    QString m_programFolder;
    TSysIndexRebuild::Report m_report;
    QStringList m_shown;
    QList<int> m_positions;
    bool m_running = false;
};
