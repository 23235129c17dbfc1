// "Report Designer" (TReportDesigner): the bands of one designed report stacked as on the
// page (header, detail, memo, footer), the drawing tools, which bands accept each tool, the
// band check boxes and sizing strips, the default font, the memo band's font and alignment,
// the record buttons and "Change Layout". The report window opens one per New or Modify on
// bands it owns (filled by LoadReport) and stores the report when it ends with Save.
#pragma once

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;
class QVBoxLayout;
class TAddressSession;
class TGDesignerSurface;
class TIniFile;
class TReportBands;
class TReportPanel;
class TReportRulerWidget;
class TReportSizingStrip;
enum class TReportBand;

class TReportDesigner : public QDialog
{
    Q_OBJECT
public:
    // The tools in the order of their buttons; each is the band surfaces' PanelState.
    enum Tool {
        SelectionTool,
        TextTool,
        DataFieldTool,
        LineTool,
        ClipArtTool,
        DateTimeTool,
        PageNumberTool,
        SymbolTool,
        RectangleTool,
        EllipseTool,
        RoundRectangleTool
    };

    // `session` (its table feeds the detail and memo bands), `bands` and `ini` (the window's
    // placement, kept under "TReportDesigner") must outlive the window; the bands' settings
    // are changed in place. The window opens centred over `mainWindow` unless a placement is
    // kept.
    TReportDesigner(TAddressSession &session, TReportBands &bands, const QString &description,
                    const QString &layout, TIniFile &ini, QWidget *mainWindow = nullptr);
    ~TReportDesigner() override;

    QString description() const;
    QString layoutText() const;
    // The surface widget of a band (header, detail or footer) and its sizing strip.
    TGDesignerSurface *bandView(TReportBand band) const;
    QWidget *sizingStrip(TReportBand band) const;
    // The tools each button sets; true when a band accepts drawing with the current tool.
    Tool tool() const { return m_tool; }
    bool accepts(TReportBand band) const;

    QLineEdit *DescriptionField;
    QLabel *LayoutLabel;
    std::array<QToolButton *, 11> ToolButtons{};
    QToolButton *ShowGridButton;
    QToolButton *SnapToGridButton;
    QToolButton *FieldNamesButton;
    QToolButton *FirstButton;
    QToolButton *PriorButton;
    QToolButton *NextButton;
    QToolButton *LastButton;
    QCheckBox *HeaderCheck;
    QCheckBox *DetailCheck;
    QCheckBox *MemoCheck;
    QCheckBox *FooterCheck;
    QToolButton *MemoPropertiesButton;
    QMenu *MemoMenu;
    QLabel *MemoBand;
    QPushButton *DefaultFontButton;
    QPushButton *ChangeLayoutButton;
    QPushButton *SaveButton;
    QPushButton *CancelButton;
    QPushButton *HelpButton;

    // The default font button's caption for the settings' default font.
    QString defaultFontCaption() const;

signals:
    // A band refused a press with the current tool (the system beep was given).
    void beeped();

public slots:
    void ToolButtonClick(int tool);
    void BandCheckClick(int band);
    void SaveButtonClick();
    void ChangeLayoutClick();
    void DefaultFontClick();
    void MemoFontClick();
    void MemoAlignmentClick(int alignment);
    void RecordButtonClick(int which);
    // Lays the bands out again from the settings.
    void LayoutBands();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    friend class TReportSizingStrip;
    TReportPanel *panel(TReportBand band) const;
    void refreshRecord();
    // A sizing strip moved by `dy` from its press (heightAtPress) and, at release, the
    // objects moved back inside.
    void dragBand(TReportBand band, int heightAtPress, int dy, bool released);

    TAddressSession &m_session;
    TReportBands &m_bands;
    TIniFile &m_ini;
    QWidget *m_mainWindow;
    bool m_activated = false;
    Tool m_tool = SelectionTool;
    std::array<bool, 4> m_accepts{true, true, true, true};
    std::array<TGDesignerSurface *, 4> m_views{};
    std::array<TReportSizingStrip *, 4> m_strips{};
    TReportRulerWidget *m_ruler = nullptr;
};
