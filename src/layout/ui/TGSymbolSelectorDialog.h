// "Symbol Selector": the 224 characters 32..255 in the symbol's typeface, in columns by its
// point size, and a font choice; on "Ok" the symbol takes the font and the chosen character.
#pragma once

#include "TGFont.h"
#include "TGPropertyDialog.h"

class QLabel;
class QTableWidget;
class TGSymbolLabel;

class TGSymbolSelectorDialog : public TGPropertyDialog
{
    Q_OBJECT
public:
    TGSymbolSelectorDialog(TGSymbolLabel *object, QWidget *parent = nullptr);
    QTableWidget *SymbolGrid = nullptr;
    QPushButton *FontButton = nullptr;
    QLabel *FontLabel = nullptr;

    // Columns of the list for a typeface of `points`.
    static int columnsForPoints(int points);
    // The font's description: name, ", ", size, "pt " and "Bold " or, when italic, "Italic ".
    static QString fontCaption(const TGFont &font);
    // Index of the selected character (code − 32), or −1.
    int selectedIndex() const;
    void selectIndex(int index);
    void setChosenFont(const TGFont &font);

    void accept() override;

private:
    void fill();
    TGSymbolLabel *m_object;
    TGFont m_font;
};
