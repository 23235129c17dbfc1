// "Print Envelope": the envelope setups of ENVELOPE.DBF with New, Modify, Clone and Delete, a
// reduced picture of the selected envelope filled with the current record, the record
// navigator, and Print and Preview of envelopes for the chosen records behind the status
// window. The main window opens one per use through the session's hand-over, with the setups
// open; the window works on the session's table and puts its order, query and record back
// after every run.
#pragma once

#include "TEnvelopePanel.h"
#include "TEnvelopePreferences.h"
#include "TGOwner.h"
#include "TReportPrinter.h"
#include "Units.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolButton;
class TAddressDataSource;
class TAddressSession;
class TChooseEnvelopeLayout;
class TEnvelopeDesignScreen;
class TEnvelopePrePrint;
class TEnvelopeSetups;
class TGSurfaceWidget;
class TIniFile;

class TCVEnvelopes : public QDialog
{
    Q_OBJECT
public:
    // `session` (a file open), `setups` (open) and `ini` must outlive the window; the status
    // and preview windows open centred over `mainWindow`.
    TCVEnvelopes(TAddressSession &session, TEnvelopeSetups &setups, TIniFile &ini,
                 QWidget *mainWindow = nullptr);
    ~TCVEnvelopes() override;

    // The setup in memory, as ReadEnvelopeSetup left it.
    const QString &Description() const { return m_description; }
    int Number() const { return m_number; }
    InchSize envelope() const { return m_envelope; }
    const QString &Binary() const { return m_binary; }
    const TEnvelopeFeedValues &feed() const { return m_feed; }
    // The selected row of the list, -1 when none.
    int selectedRow() const;
    TEnvelopePanel &displaySurface() { return m_display; }
    TReportPrinter &engine() { return m_engine; }

    QListWidget *EnvelopeSetupGrid;
    QPushButton *NewButton;
    QPushButton *ModifyButton;
    QPushButton *DeleteButton;
    QPushButton *CloneButton;
    QRadioButton *rbQAll;
    QRadioButton *rbQFilter;
    QRadioButton *rbOnlyThis;
    QCheckBox *StartCurrentCheck;
    QLabel *FNameLabel;
    QLabel *LNameLabel;
    QLabel *OrgLabel;
    QLabel *CityLabel;
    QToolButton *RecordFirst;
    QToolButton *RecordPrev;
    QToolButton *RecordNext;
    QToolButton *RecordLast;
    TGSurfaceWidget *EDisplay;
    QPushButton *PrinterSetupButton;
    QPushButton *PreviewButton;
    QPushButton *PrintButton;
    QPushButton *OkButton;
    QPushButton *HelpButton;

signals:
    // Modal windows about to open, for tests to answer.
    void sizeChooserOpened(TChooseEnvelopeLayout *chooser);
    void designerOpened(TEnvelopeDesignScreen *designer);
    void prePrintOpened(TEnvelopePrePrint *dialog);
    void previewOpened(QDialog *preview);

public slots:
    void NewButtonClick();
    void ModifyButtonClick();
    void CloneButtonClick();
    void DeleteButtonClick();
    void PrintButtonClick();
    void PreviewButtonClick();
    void PrinterSetupButtonClick();
    void EnvelopeSetupGridClick();
    void RecordButtonClick(int move);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void ReadEnvelopeSetup();
    void SetEnvelopeButtons();
    void ShowDisplayEnvelope();
    void showRecord();
    void fillGrid(quint32 selectRecno);
    void DoPrint(bool printing);
    // The notice for a setup whose size code is unknown (it is taken as Envelope #10).
    void noticeUnknownSize();
    QWidget *dialogParent();

    TAddressSession &m_session;
    TEnvelopeSetups &m_setups;
    TIniFile &m_ini;
    QWidget *m_mainWindow;
    TReportPrinter m_engine;
    TGOwner m_owner;
    std::unique_ptr<TAddressDataSource> m_data;
    TEnvelopePanel m_display;
    TEnvelopePanel m_hidden;
    QString m_description;
    int m_number = 20;
    int m_storedNumber = 20;
    InchSize m_envelope;
    QString m_binary;
    TEnvelopeFeedValues m_feed;
    bool m_isNew = false;
    bool m_printing = false;
    bool m_activating = true;
};
