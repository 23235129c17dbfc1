// "Label Design Screen" (TLabelDesignScreen): the objects one label of a sheet shows, drawn
// on a label surface sized like one label, with the drawing tools, the grid and art toggles,
// the sheet geometry change (catalogue or user-defined), the setup's name, record navigation,
// zoom and the default font. The "Print Labels" window creates one per New or Modify, loads
// the layout into its surface, hands it a saver and shows it modally; the designer owns the
// surface and its objects.
#pragma once

#include "TGOwner.h"
#include "TLabelSetup.h"
#include "TResult.h"

#include <QDialog>

#include <functional>
#include <memory>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TAddressDataSource;
class TAddressTable;
class TGDesignerSurface;
class TGLabelPanel;
class TGlabelsTemplates;
class TIniFile;
class TPSpeedButton;

class TLabelDesignScreen : public QDialog
{
    Q_OBJECT
public:
    // Writes the designer's layout and setup away; a failure keeps the designer open with its
    // message.
    using Saver = std::function<TResult(TLabelDesignScreen &)>;

    static constexpr double kPostNetMinWidthInches = 2.85;

    // `setup` is copied in; `table` (may be null: no record values) is the address file the
    // objects show; `ini` holds the default font and the placement; `programFolder` is where
    // the catalogue is found. All must outlive the window.
    TLabelDesignScreen(const TLabelSetup &setup, bool isNew, TIniFile &ini, TAddressTable *table,
                       const QString &programFolder, QWidget *mainWindow = nullptr);
    ~TLabelDesignScreen() override;

    TGLabelPanel &surface() const { return *m_surface; }
    TGDesignerSurface *designArea() const { return m_design; }
    // The values as they stand (after Save: the description cut to 50 characters).
    const TLabelSetup &setup() const { return m_setup; }
    // Reads the layout file into the surface; the objects keep their stored names. A damaged
    // file fails with the reader's message and leaves no object of it on the surface.
    TResult loadLayout(const QString &path);
    void setSaver(Saver saver) { m_saver = std::move(saver); }
    // Where the gLabels templates are read from (tests); their default folder otherwise.
    void setGlabelsFolder(const QString &folder) { m_glabelsFolder = folder; }

    // The tools, in the order of the toolbar.
    TPSpeedButton *Pointerbutton;
    TPSpeedButton *DrawLabelButton;
    TPSpeedButton *DrawMLTextButton;
    TPSpeedButton *DrawCounterbutton;
    TPSpeedButton *DrawSymbolButton;
    TPSpeedButton *DrawRectanglebutton;
    TPSpeedButton *DrawEllipseButton;
    TPSpeedButton *DrawRoundrectbutton;
    TPSpeedButton *DrawLinebutton;
    TPSpeedButton *DrawImageButton;
    TPSpeedButton *DrawPostNetBarCodeButton;
    TPSpeedButton *DrawFieldButton;
    TPSpeedButton *DrawMemoFieldButton;
    TPSpeedButton *DrawAddressButton;
    QToolButton *ShowGrid;
    QToolButton *SnapToGrid;
    QToolButton *ShowArt;
    QToolButton *ShowFieldNamesButton;
    QLineEdit *LabelSetupDescription;
    QLabel *TemplateType;
    QPushButton *DefaultFontbutton;
    QPushButton *ChangeLayoutButton;
    QToolButton *RecordFirst;
    QToolButton *RecordPrev;
    QToolButton *RecordNext;
    QToolButton *RecordLast;
    QToolButton *ZoomInButton;
    QToolButton *ZoomOutButton;
    QLabel *ZoomCaption;
    QPushButton *SaveButton;
    QPushButton *CancelButton;
    QPushButton *HelpButton;

public slots:
    void SaveButtonClick();
    void ChangeLayoutButtonClick();
    void DefaultFontbuttonClick();
    void ZoomIn();
    void ZoomOut();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void done(int result) override;

private:
    void buildTools(QWidget *bar);
    void toolChosen(int panelState);
    void SetLabelSizeFromInches();
    void DoDrawArt();
    void showTemplateType();
    void showSave();
    void afterLayoutChange(bool artWasDown);
    void removeNarrowPostNets();
    void moveRecord(int how);
    void setZoomPercent(int percent);

    TIniFile &m_ini;
    TAddressTable *m_table;
    QString m_programFolder;
    QString m_glabelsFolder;
    QWidget *m_mainWindow;
    TLabelSetup m_setup;
    bool m_isNew;
    bool m_activating = false;
    bool m_shown = false;
    QString m_lastShape;
    TGOwner m_owner;
    std::unique_ptr<TAddressDataSource> m_data;
    std::unique_ptr<TGLabelPanel> m_surface;
    std::unique_ptr<TGlabelsTemplates> m_glabels;
    TGDesignerSurface *m_design = nullptr;
    QButtonGroup *m_tools = nullptr;
    Saver m_saver;
};
