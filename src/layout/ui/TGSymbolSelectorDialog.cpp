#include "TGSymbolSelectorDialog.h"

#include "THelpRequest.h"

#include "TSymbolFonts.h"

#include "TCp1252.h"
#include "TGSymbolLabel.h"

#include <QFontDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3506;

namespace {
constexpr int kFirstCode = 32;
constexpr int kSymbols = 224;
} // namespace

TGSymbolSelectorDialog::TGSymbolSelectorDialog(TGSymbolLabel *object, QWidget *parent)
    : TGPropertyDialog(QStringLiteral("Symbol Selector"), parent), m_object(object), m_font(object->Font())
{
    SymbolGrid = new QTableWidget(this);
    SymbolGrid->setObjectName(QStringLiteral("SymbolGrid"));
    SymbolGrid->horizontalHeader()->hide();
    SymbolGrid->verticalHeader()->hide();
    SymbolGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    SymbolGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fields()->addWidget(SymbolGrid);
    FontButton = new QPushButton(QStringLiteral("&Font"), this);
    FontButton->setObjectName(QStringLiteral("FontButton"));
    FontLabel = new QLabel(this);
    FontLabel->setObjectName(QStringLiteral("FontLabel"));
    fields()->addWidget(FontButton);
    fields()->addWidget(FontLabel);
    connect(FontButton, &QPushButton::clicked, this, [this] {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, m_font.qtFont(96), this);
        if (!ok)
            return;
        TGFont f = m_font;
        f.setName(chosen.family());
        f.setSize(chosen.pointSize() > 0 ? chosen.pointSize() : m_font.size());
        f.setStyle((chosen.bold() ? fsBold : 0) | (chosen.italic() ? fsItalic : 0) |
                   (chosen.underline() ? fsUnderline : 0) | (chosen.strikeOut() ? fsStrikeOut : 0));
        setChosenFont(f);
        FontLabel->setText(fontCaption(f));
    });
    fill();
    const QString caption = object->Caption();
    const int code =
        caption.isEmpty() ? kFirstCode : static_cast<unsigned char>(TCp1252::fromChar(caption[0].unicode()));
    selectIndex(code - kFirstCode);
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

int TGSymbolSelectorDialog::columnsForPoints(int points)
{
    if (points >= 6 && points <= 10)
        return 14;
    if (points >= 11 && points <= 20)
        return 10;
    if (points >= 21 && points <= 30)
        return 8;
    if (points >= 31 && points <= 40)
        return 6;
    if (points >= 41 && points <= 50)
        return 4;
    if (points >= 51 && points <= 60)
        return 3;
    if (points >= 61 && points <= 72)
        return 2;
    return 1;
}

QString TGSymbolSelectorDialog::fontCaption(const TGFont &font)
{
    QString text = font.name() + QStringLiteral(", ") + QString::number(font.size()) + QStringLiteral("pt ");
    if (font.isBold())
        text += QStringLiteral("Bold ");
    else if (font.isItalic())
        text += QStringLiteral("Italic ");
    return text;
}

void TGSymbolSelectorDialog::fill()
{
    const int selected = selectedIndex();
    const int columns = columnsForPoints(m_font.size());
    SymbolGrid->clear();
    SymbolGrid->setColumnCount(columns);
    SymbolGrid->setRowCount((kSymbols + columns - 1) / columns);
    QFont font = m_font.qtFont(96);
    font.setFamily(TSymbolFonts::drawingFamily(m_font.name()));
    for (int i = 0; i < kSymbols; ++i) {
        // A symbol typeface shows each code as its glyph.
        const QString code(TCp1252::toChar(static_cast<unsigned char>(i + kFirstCode)));
        auto *item = new QTableWidgetItem(TSymbolFonts::mapText(m_font.name(), code));
        item->setFont(font);
        item->setTextAlignment(Qt::AlignCenter);
        SymbolGrid->setItem(i / columns, i % columns, item);
    }
    SymbolGrid->resizeColumnsToContents();
    SymbolGrid->resizeRowsToContents();
    if (selected >= 0)
        selectIndex(selected);
}

int TGSymbolSelectorDialog::selectedIndex() const
{
    const int columns = SymbolGrid->columnCount();
    if (columns == 0 || SymbolGrid->currentRow() < 0 || SymbolGrid->currentColumn() < 0)
        return -1;
    const int index = SymbolGrid->currentRow() * columns + SymbolGrid->currentColumn();
    return index < kSymbols ? index : -1;
}

void TGSymbolSelectorDialog::selectIndex(int index)
{
    const int columns = SymbolGrid->columnCount();
    if (index < 0 || index >= kSymbols || columns == 0)
        return;
    SymbolGrid->setCurrentCell(index / columns, index % columns);
}

void TGSymbolSelectorDialog::setChosenFont(const TGFont &font)
{
    m_font = font;
    fill();
}

void TGSymbolSelectorDialog::accept()
{
    const int index = selectedIndex();
    if (index >= 0)
        m_object->ChooseSymbol(m_font, index + kFirstCode);
    TGPropertyDialog::accept();
}
