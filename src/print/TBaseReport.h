// A print job: the engine every printed page is drawn through, with all positions in
// inches from the top-left corner of the paper. TReportPrinter draws on the selected printer,
// TReportFiler records into a memory stream for the preview. A status window owns its jobs
// and runs one per RunJob; drawing outside a running job does nothing. The job never handles
// window events: it reports each page to the run's progress, where the window does.
#pragma once

#include "TDrawSink.h"
#include "TMetafile.h"
#include "TPrintResult.h"
#include "TProgress.h"
#include "TTabStop.h"
#include "Units.h"

#include <QColor>
#include <QFontMetricsF>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPaintDevice;
struct TPrintChoice;

class TBaseReport
{
public:
    enum TUnits { unInch, unMM, unCM, unPoint, unUser };
    enum TOrientation { poPortrait, poLandScape };
    enum TLineHeightMethod { lhmLinesPerInch, lhmFont, lhmUser };
    enum TBKMode { bkTransparent, bkOpaque };

    // Callbacks receiving the job; empty ones are skipped. OnPrintPage answers whether more
    // pages remain.
    using Callback = std::function<void(TBaseReport &)>;
    Callback OnBeforePrint;
    Callback OnPrint;
    Callback OnAfterPrint;
    Callback OnNewPage;
    Callback OnPrintHeader;
    std::function<bool(TBaseReport &)> OnPrintPage;
    // The status window's line: receives the status line each time RefreshStatus builds it.
    std::function<void(const QString &)> StatusLabel;

    TBaseReport();
    virtual ~TBaseReport();
    TBaseReport(const TBaseReport &) = delete;
    TBaseReport &operator=(const TBaseReport &) = delete;

    // --- Properties. Every coordinate, size and margin is in inches (Units unInch,
    // UnitsFactor 1.0); ScaleX and ScaleY are kept at 100.
    TUnits Units() const { return m_units; }
    void setUnits(TUnits units) { m_units = units; }
    double UnitsFactor() const { return m_unitsFactor; }
    void setUnitsFactor(double factor) { m_unitsFactor = factor; }
    double ScaleX() const { return m_scaleX; }
    void setScaleX(double percent) { m_scaleX = percent; }
    double ScaleY() const { return m_scaleY; }
    void setScaleY(double percent) { m_scaleY = percent; }
    const QString &Title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }
    TOrientation Orientation() const { return m_orientation; }
    virtual void setOrientation(TOrientation orientation) { m_orientation = orientation; }
    int Copies() const { return m_copies; }
    void setCopies(int copies) { m_copies = copies < 1 ? 1 : copies; }
    int FirstPage() const { return m_firstPage; }
    void setFirstPage(int page) { m_firstPage = page; }
    int LastPage() const { return m_lastPage; }
    void setLastPage(int page) { m_lastPage = page; }
    Inches MarginLeft() const { return m_marginLeft; }
    void setMarginLeft(Inches margin) { m_marginLeft = margin; }
    Inches MarginRight() const { return m_marginRight; }
    void setMarginRight(Inches margin) { m_marginRight = margin; }
    Inches MarginTop() const { return m_marginTop; }
    void setMarginTop(Inches margin) { m_marginTop = margin; }
    Inches MarginBottom() const { return m_marginBottom; }
    void setMarginBottom(Inches margin) { m_marginBottom = margin; }
    TLineHeightMethod LineHeightMethod() const { return m_lineHeightMethod; }
    void setLineHeightMethod(TLineHeightMethod method) { m_lineHeightMethod = method; }
    // Lines per inch for lhmLinesPerInch (default 6); line height for lhmUser.
    double LinesPerInch() const { return m_linesPerInch; }
    void setLinesPerInch(double lines) { m_linesPerInch = lines > 0 ? lines : 6.0; }
    void setUserLineHeight(Inches height) { m_userLineHeight = height; }
    TBKMode TextBKMode() const { return m_textBkMode; }
    void setTextBKMode(TBKMode mode);
    const QString &StatusFormat() const { return m_statusFormat; }
    void setStatusFormat(const QString &format) { m_statusFormat = format; }
    QStringList &StatusText() { return m_statusText; }

    // --- Job control.
    // Begins the document, calls OnBeforePrint, then OnPrint (or OnPrintPage once per page),
    // ends the document and calls OnAfterPrint. A printer that cannot be opened or a service
    // failure ends the run with the aborted flag set. Each page counts as one step of
    // `progress`, reported as the page begins, once its status line is shown; OnPrintPage is
    // not asked for another page once `progress` is cancelled (the pages made are kept).
    // Requires: `progress` outlives the run.
    void RunJob(TProgress &progress = TProgress::none());
    // The progress of the running job, for bodies that report their own items and read
    // whether to stop; TProgress::none() outside a run.
    TProgress &progress() const { return *m_progress; }
    // Finishes the current page and begins the next one (a step of the run's progress).
    void StartNewPage();
    // Sets the aborted flag; later drawing does nothing and the document is discarded.
    void AbortJob();
    bool IsAborted() const { return m_aborted; }
    bool isRunning() const { return m_running; }
    int PageNumber() const { return m_page; }
    // Rebuilds the status line and hands it to StatusLabel.
    void RefreshStatus();

    // --- Printer and paper.
    virtual QStringList PrinterNames() const = 0;
    virtual int SelectedPrinter() const = 0;
    virtual void setSelectedPrinter(int index) = 0;
    virtual QString PrinterDeviceName() const = 0;
    virtual bool ShowPrinterSetup() = 0;
    // Copies and the page range go to Copies, FirstPage and LastPage (all pages: 1 and 9999).
    virtual bool ShowPrintDialog() = 0;
    // Selects a paper by its code (TPaperSizes); `size` is the paper of a custom code (0), in
    // portrait. False when the paper cannot be had.
    virtual bool SetPaperSize(int code, InchSize size) = 0;
    // The page in the current orientation.
    virtual Inches PaperWidth() const = 0;
    virtual Inches PaperHeight() const = 0;
    virtual Inches UnprintableLeft() const = 0;
    virtual Inches UnprintableTop() const = 0;
    virtual Inches UnprintableRight() const = 0;
    virtual Inches UnprintableBottom() const = 0;
    virtual QStringList BinNames() const = 0;
    virtual int CurrentBinIndex() const = 0;
    virtual bool SelectBinByName(const QString &name) = 0;
    virtual QStringList PaperNames() const = 0;
    virtual int CurrentPaperIndex() const = 0;
    virtual bool SelectPaperByName(const QString &name) = 0;
    // 0 portrait, 1 landscape.
    virtual int DeviceOrientation() const = 0;
    // The device's dots per inch.
    virtual double XDPI() const = 0;
    virtual double YDPI() const = 0;

    // --- Pen, brush and font.
    // width > 0: device dots; width < 0: |width| hundredths of an inch (at least one dot).
    void SelectPen(const QColor &colour, TPenStyle style, int width, TPenMode mode = TPenMode::Copy);
    // A pen `width` wide in hundredths of an inch (the negative width above), whole hundredths.
    void SelectPen(const QColor &colour, TPenStyle style, HundredthsOfInch width,
                   TPenMode mode = TPenMode::Copy);
    void SelectBrush(const QColor &colour, TBrushStyle style, const QImage &bitmap = QImage());
    // A size <= 0 is ignored; bold, italic, underline, angle and colour are reset.
    void SelectFont(const QString &name, double points);
    void SetBold(bool on);
    void SetItalic(bool on);
    void SetUnderline(bool on);
    void SetFontColor(const QColor &colour);
    // Degrees counter-clockwise, taken modulo 360.
    void SetFontAngle(double degrees);
    const TPenSpec &Pen() const { return m_pen; }
    const TBrushSpec &Brush() const { return m_brush; }
    const TFontSpec &Font() const { return m_font; }

    // --- Drawing (outlined with the pen, filled with the brush). Figures span the rectangle
    // from `topLeft` to `bottomRight`.
    void DrawRectangle(InchPoint topLeft, InchPoint bottomRight);
    // `corner` is the width and height of the ellipse that rounds each corner.
    void DrawRoundRect(InchPoint topLeft, InchPoint bottomRight, InchSize corner);
    void DrawEllipse(InchPoint topLeft, InchPoint bottomRight);
    void MovePenTo(InchPoint point);
    void DrawLineTo(InchPoint point);
    TInchRect InchRect(InchPoint topLeft, InchPoint bottomRight) const;
    // Text with its top-left at `at`, clipped to `rect`; the background is filled only with
    // TextBKMode bkOpaque.
    void DrawTextInRect(const TInchRect &rect, InchPoint at, const QString &text);
    void DrawBitmapInRect(InchPoint topLeft, InchPoint bottomRight, const QImage &bitmap);
    void DrawGraphicInRect(const TInchRect &rect, const QPicture &graphic);
    // Plays the metafile stretched into `rect` (TMetafilePlayer). One that cannot be played
    // draws nothing and answers Corruption, so the caller can draw a placeholder instead.
    TPrintResult DrawGraphicInRect(const TInchRect &rect, const TMetafile &metafile);
    // Width of `text` in the current font.
    Inches MeasureText(const QString &text);
    // Text on the current line starting at, centred on or ending at x; TextBlock clips the
    // text to the block [x, x + width].
    void TextAtLeft(const QString &text, Inches x);
    void TextCentredOn(const QString &text, Inches x);
    void TextRightAlignedAt(const QString &text, Inches x);
    void TextBlock(const QString &text, Inches x, Inches width);
    // Texts each with its own top-left corner, drawn in order as TextAtLeft draws each at its
    // place, in one go (a printer or PDF takes them as one text object); the cursor ends after
    // the last. For the values of a line, which jobs write by the thousand.
    void textsAtLeft(const std::vector<TTextAt> &texts);

    // --- Text flow. The cursor is the top-left of the next text on the current line.
    // Distances from the paper's left edge (left, right) and top edge (top, bottom).
    void Section(Inches left, Inches right, Inches top, Inches bottom);
    // The section becomes the paper inside the margins.
    void ResetSection();
    Inches SectionLeft() const { return m_sectionLeft; }
    Inches SectionRight() const { return m_sectionRight; }
    Inches SectionTop() const { return m_sectionTop; }
    Inches SectionBottom() const { return m_sectionBottom; }
    // Measuring the text TextAtLeft wrote is left until the position is needed, so jobs that
    // place every text themselves never measure.
    Inches CursorX() const
    {
        settleCursor();
        return m_cursorX;
    }
    Inches CursorY() const { return m_cursorY; }
    void MoveCursor(InchPoint point);
    void CursorHome();
    void NextLine();
    // Whole lines still free between the cursor and the section's bottom.
    int LinesLeftInSection();
    // Height of a line: by LineHeightMethod; the font's line spacing for lhmFont.
    Inches LineHeight();
    // Ascent plus descent, and the descent, of the current font.
    Inches FontHeight();
    Inches FontDescent();

    // Tab stops. A position below 0 (kTabAfterPrevious) puts the stop right after the
    // previous one, or at the section's left for the first. `margin` is kept free inside each
    // side of the cell.
    static constexpr Inches kTabAfterPrevious = Inches(-1.0);
    void ClearTabStops();
    void AddTabStop(TTabJustify justify, Inches position, Inches width, HundredthsOfInch margin, int boxLines,
                    int shade = 0);
    void PushTabStops();
    void PopTabStops();
    // Moves the cursor to the next tab stop of the line (box lines and shading drawn there).
    void NextTabStop();
    const std::vector<TTabStop> &tabStops() const { return m_tabs; }
    // Writes at the cursor; each TAB moves to the next tab stop first.
    void WriteText(const QString &text);
    void WriteLine(const QString &text);

protected:
    // The document's device work, done by each job kind.
    // Starts the document; false when it cannot be opened.
    virtual bool beginDocument() = 0;
    // Makes page `pageNumber` the current one (after the first, the device moves to a new
    // page) and answers the sink it is drawn on, or null when it is not drawn (outside the
    // printed range, failed device).
    virtual TDrawSink *beginPage(int pageNumber) = 0;
    // Discards the document at once (called once, from AbortJob while running).
    virtual void abortDocument() = 0;
    // Ends the document; false when the service failed.
    virtual bool endDocument(bool aborted) = 0;
    // The device text is measured on, and its dots per inch.
    virtual const QPaintDevice *measureDevice() const = 0;

private:
    void startPage();
    void applyState();
    const QFontMetricsF &metrics() const;
    Inches measure(const QString &text) const;
    // Adds the pending text's width to the cursor; called before the font changes.
    void settleCursor() const;
    void setCursorX(Inches x);
    void drawText(InchPoint at, const QString &text, const TInchRect *clip);
    void writeSegment(const QString &text);

    TUnits m_units = unInch;
    double m_unitsFactor = 1.0;
    double m_scaleX = 100.0;
    double m_scaleY = 100.0;
    QString m_title;
    TOrientation m_orientation = poPortrait;
    int m_copies = 1;
    int m_firstPage = 1;
    int m_lastPage = 9999;
    Inches m_marginLeft;
    Inches m_marginRight;
    Inches m_marginTop;
    Inches m_marginBottom;
    TLineHeightMethod m_lineHeightMethod = lhmLinesPerInch;
    double m_linesPerInch = 6.0;
    Inches m_userLineHeight = Inches(1.0 / 6.0);
    TBKMode m_textBkMode = bkTransparent;
    QString m_statusFormat;
    QStringList m_statusText;

    TProgress *m_progress = &TProgress::none();
    bool m_running = false;
    bool m_aborted = false;
    int m_page = 0;
    TDrawSink *m_sink = nullptr;
    TPenSpec m_pen;
    TBrushSpec m_brush;
    TFontSpec m_font;
    mutable std::optional<QFontMetricsF> m_metrics;
    InchPoint m_penAt;
    Inches m_sectionLeft;
    Inches m_sectionRight;
    Inches m_sectionTop;
    Inches m_sectionBottom;
    mutable Inches m_cursorX;
    mutable QString m_pendingAdvance; // written at the cursor, not yet measured
    mutable bool m_hasPendingAdvance = false;
    Inches m_cursorY;
    std::vector<TTabStop> m_tabs;
    std::vector<std::vector<TTabStop>> m_tabStack;
    int m_tabIndex = -1; // the tab stop the cursor is in; -1 before the first
};
