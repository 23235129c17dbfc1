// The "Letter Designer": the window a letter is written in, with its description, a list of
// merge fields to insert at the cursor, a formatting toolbar and ruler, the text on a
// QTextEdit, menus for RTF files, find and replace, the spelling check, page breaks, the page
// and paragraph settings, word wrap and the default font, and a preview. Opened modally by the
// letter list window's New and Modify; it edits its own copy of the letter (text, formats and
// page layout), which the list window stores on "Ok".
#pragma once

#include "TLetterDefaultFont.h"
#include "TLetterUnits.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QFontComboBox;
class QLineEdit;
class QPushButton;
class QTextCharFormat;
class QTextDocument;
class QTextEdit;
class QToolButton;
class TAddressTable;
class TIniFile;
class TLetterRuler;

class TLetterDesign : public QDialog
{
    Q_OBJECT
public:
    // A letter `description` with the text of `document` (copied), or for a new letter
    // (`document` null) an empty text on 8.5 by 11 inch paper with 1-inch margins, typed in
    // the default font of the settings file's "Letter" section. `ini` must outlive the window;
    // its folder is the program folder, which holds the user's word list "corvanu.dct".
    TLetterDesign(const QString &description, const QTextDocument *document, TIniFile &ini,
                  QWidget *parent = nullptr);
    ~TLetterDesign() override;

    QString description() const;
    // The edited letter, owned by the window.
    const QTextDocument &document() const;
    // The address records the preview shows (may stay null: the fields are shown as typed).
    void setPreviewTable(TAddressTable *table) { m_table = table; }
    // The main spelling dictionary (a Hunspell ".dic"); by default the one installed.
    void setMainDictionary(const QString &dicPath) { m_mainDictionary = dicPath; }
    bool isWordWrapOn() const { return m_wordWrap; }

    // Seams for the system dialogs, replaced by tests: the file to open (`save` false) or save
    // to, empty when cancelled; the font chosen from `current`, nothing when cancelled.
    std::function<QString(bool save)> chooseFile;
    std::function<std::optional<TLetterDefaultFont>(const TLetterDefaultFont &current)> chooseFont;
    // Runs a dialog the designer opens (page, paragraph, spelling, find, preview) and returns
    // its result; tests drive the dialog instead.
    std::function<int(QDialog &)> runDialog;

    QLineEdit *Description;
    QComboBox *InsertField;
    QFontComboBox *FontName;
    QComboBox *FontSize;
    QComboBox *TextColor;
    QComboBox *BackColor;
    QToolButton *NormalButton;
    QToolButton *BoldButton;
    QToolButton *ItalicButton;
    QToolButton *UnderlineButton;
    QToolButton *LeftButton;
    QToolButton *RightButton;
    QToolButton *JustifyButton;
    QToolButton *CenterButton;
    TLetterRuler *Ruler;
    QTextEdit *RichEdit;
    QPushButton *OkButton;
    QPushButton *CancelButton;
    QPushButton *PreviewButton;
    QPushButton *HelpButton;

    QAction *mnuSaveRTF;
    QAction *mnuLoadRTF;
    QAction *mnuInsertRTF;
    QAction *mnuFind;
    QAction *mnuReplace;
    QAction *mnuSpellCheck;
    QAction *mnuPageBreak;
    QAction *mnuParagraph;
    QAction *mnuPage;
    QAction *mnuWordWrap;
    QAction *mnuDefaultFont;

public slots:
    // Inserts "[" + the chosen name + "]" at the cursor and gives the text the focus again.
    void FieldClick(int index);
    void SaveRTFClick();
    void LoadRTFClick();
    void InsertRTFClick();
    void FindClick();
    void ReplaceClick();
    void SpellCheckClick();
    void PageBreakClick();
    void ParagraphClick();
    void PageClick();
    void WordWrapClick();
    void DefaultFontClick();
    void PreviewButtonClick();

protected:
    void showEvent(QShowEvent *event) override;
    // Closing from the title bar stores the letter, as "Ok" does.
    void closeEvent(class QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Keeps the placement for the next opening.
    void done(int result) override;

private:
    void buildToolbar(class QBoxLayout *into);
    void buildMenus();
    void mergeFormat(const QTextCharFormat &format);
    void setAlignment(Qt::Alignment alignment);
    // The toolbar shows the attributes at the cursor.
    void showCursorFormat();
    // Wrap width and ruler from the page layout and the word-wrap switch.
    void applyPage();
    // Replaces or (`insert`) adds at the cursor the letter in `path`; false with a message.
    bool readFile(const QString &path, bool insert);
    int run(QDialog &dialog);

    class QMenuBar *m_menuBar = nullptr;
    TIniFile &m_ini;
    TAddressTable *m_table = nullptr;
    QString m_mainDictionary;
    TLetterDefaultFont m_defaultFont;
    bool m_wordWrap = false;
    bool m_activated = false;
    bool m_closing = false;
    bool m_updatingToolbar = false;
    // The unit last confirmed in the page dialog, for this run of the program.
    static TLengthUnit s_pageUnit;
};
