// The ruler above the letter designer's text: inches across the text width, the current
// paragraph's first, left and right indents as markers to drag, and its tab stops. A click on
// the ruler sets a left tab stop there, a double click on a tab stop removes it. Owned by the
// designer; it edits the paragraphs of the editor's selection.
#pragma once

#include <QTextOption>
#include <QWidget>

class QTextEdit;

class TLetterRuler : public QWidget
{
    Q_OBJECT
public:
    explicit TLetterRuler(QTextEdit *editor, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    // The text width shown (document pixels), from the page's paper and margins.
    void setTextWidth(qreal pixels);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    enum class Marker { None, First, Left, Right };
    // Widget x of a document x, and back.
    qreal toWidget(qreal documentX) const;
    qreal toDocument(qreal widgetX) const;
    Marker markerAt(const QPoint &point) const;
    // Applies `change` to the block format of every paragraph in the selection.
    template <typename Change> void changeParagraphs(Change change);

    QTextEdit *m_editor;
    qreal m_textWidth = 624;
    Marker m_dragging = Marker::None;
};
