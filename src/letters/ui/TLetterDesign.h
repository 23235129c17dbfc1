// The "Letter Designer": the window a letter is written in, with its description, a list of
// merge fields to insert at the cursor and the text on a QTextEdit. Opened modally by the
// letter list window's New and Modify; it edits its own copy of the letter (text, formats and
// page layout), which the list window stores on "Ok".
#pragma once

#include <QDialog>

#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTextDocument;
class QTextEdit;
class TIniFile;

class TLetterDesign : public QDialog
{
    Q_OBJECT
public:
    // A letter `description` with the text of `document` (copied), or for a new letter
    // (`document` null) an empty text on 8.5 by 11 inch paper with 1-inch margins, typed in
    // the default font of the settings file's "Letter" section.
    TLetterDesign(const QString &description, const QTextDocument *document, const TIniFile &ini,
                  QWidget *parent = nullptr);
    ~TLetterDesign() override;

    QString description() const;
    // The edited letter, owned by the window.
    const QTextDocument &document() const;

    QLineEdit *Description;
    QComboBox *InsertField;
    QTextEdit *RichEdit;
    QPushButton *OkButton;
    QPushButton *CancelButton;

signals:
    void helpRequested();

public slots:
    // Inserts "[" + the chosen name + "]" at the cursor and gives the text the focus again.
    void FieldClick(int index);

protected:
    // Closing from the title bar stores the letter, as "Ok" does.
    void closeEvent(class QCloseEvent *event) override;

private:
    bool m_closing = false;
};
