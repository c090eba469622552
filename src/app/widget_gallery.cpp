#include "widget_gallery.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QScrollArea>
#include <QTabWidget>
#include <string>
#include <vector>

#include "Cp1251.h"
#include "control_types.h"
#include "controls_gallery.h"
#include "painters.h"
#include "pictures.h"
#include "png_draw.h"
#include "string_grid.h"
#include "system_colors.h"

using namespace cp1251_literals;

namespace {

struct SampleAddress {
    const char* street;
    const char* house;
    int corpus;
    int entrance;
    bool marked;
};

const SampleAddress kAddresses[] = {
    {"Ленина", "12а", 0, 1, true},   {"Ленина", "14", 2, 3, false},     {"Мира", "5/1", 0, 2, false},
    {"Мира", "7", 1, 1, true},       {"Садовая", "101", 0, 4, false},   {"Советская", "3", 0, 0, false},
    {"Цветочная", "-", 0, 1, false}, {"Шевченко", "22б", 3, 2, true},   {"Юбилейная", "9", 0, 6, false},
};

std::string Dash(int value) { return value == 0 ? std::string("-") : std::to_string(value); }

CellStyle Style(const QColor& color, const QString& family, int points, bool bold, const QColor& fontColor) {
    QFont font(family);
    font.setPointSize(points);
    font.setBold(bold);
    return {color, font, fontColor};
}

// Line 0 as a header; column 0 a picture, `leftColumn` left-aligned, the others centred.
void DrawSampleCell(const StringGrid& grid, int col, int row, QPainter& canvas, const QRect& rect, unsigned state,
                    const CellStyle& style, const PngImageList& pictures, int leftColumn) {
    if (row == 0)
        DrawHeaderCell(grid, canvas, rect, col, row, state, false, false, false, false);
    else if (col == 0)
        DrawImageCell(grid, canvas, rect, col, row, state, pictures, style);
    else if (col == leftColumn)
        DrawCellLeft(grid, canvas, rect, col, row, state, style);
    else
        DrawCellCenter(grid, canvas, rect, col, row, state, style);
}

StringGrid* MakeAddressGrid(QWidget* parent) {
    auto* grid = new StringGrid(parent);
    grid->SetOptions(kGridDefaultOptions | kGridRowSelect | kGridColSizing | kGridThumbTracking |
                     kGridDrawFocusSelected);
    grid->SetColCount(5);
    grid->SetFixedCols(0);
    grid->SetDefaultRowHeight(20);
    const int widths[] = {22, 200, 65, 65, 65};
    for (int c = 0; c < 5; ++c) grid->SetColWidth(c, widths[c]);
    grid->SetRowCount(static_cast<int>(std::size(kAddresses)) + 1);
    grid->SetRowTexts(0, {"", "Улица"_cp, "Дом"_cp, "Корпус"_cp, "Подъезд"_cp});
    for (std::size_t i = 0; i < std::size(kAddresses); ++i) {
        const SampleAddress& a = kAddresses[i];
        grid->SetRowTexts(static_cast<int>(i) + 1, {a.marked ? "1" : "0", cp1251::FromUtf8(a.street),
                                                    cp1251::FromUtf8(a.house), Dash(a.corpus), Dash(a.entrance)});
    }
    grid->SetFixedRows(1);
    grid->OnDrawCell = [grid](int col, int row, QPainter& canvas, const QRect& rect, unsigned state) {
        const bool marked = grid->Cell(0, row) == "1";
        const QColor colors[] = {ClGradientActiveCaption(), ToQColor(0xDEF2FF), Qt::white, Qt::white, Qt::white};
        const QColor fontColors[] = {Qt::black, Qt::black, Qt::blue, Qt::black, QColor(0x80, 0, 0)};
        const QColor fill = marked ? ToQColor(0xE8FFE8) : colors[col];
        const CellStyle style =
            col == 2 ? Style(fill, QStringLiteral("Courier New"), 12, true, fontColors[col])
                     : Style(fill, QStringLiteral("Tahoma"), 10, false, fontColors[col]);
        DrawSampleCell(*grid, col, row, canvas, rect, state, style, PIL_Checked(), 1);
    };
    return grid;
}

StringGrid* MakeKeyGrid(QWidget* parent) {
    auto* grid = new StringGrid(parent);
    grid->SetOptions(kGridDefaultOptions | kGridColSizing | kGridThumbTracking | kGridDrawFocusSelected);
    grid->SetColCount(3);
    grid->SetFixedCols(0);
    grid->SetDefaultRowHeight(20);
    grid->SetColWidth(0, 22);
    grid->SetColWidth(1, 241);
    grid->SetColWidth(2, 198);
    grid->SetRowCount(4);
    grid->SetRowTexts(0, {"", "Ключ"_cp, "Комментарий"_cp});
    grid->SetRowTexts(1, {"1", "14 FF FF FF FF FF FF FF", "Основной"_cp});
    grid->SetRowTexts(2, {"0", "A1 00 00 0B 6D 2F 11 01", "Запасной, у консьержа"_cp});
    grid->SetRowTexts(3, {"0", "3C 00 00 0A 44 19 52 01", ""});
    grid->SetFixedRows(1);
    grid->OnDrawCell = [grid](int col, int row, QPainter& canvas, const QRect& rect, unsigned state) {
        const QColor colors[] = {ClGradientActiveCaption(), ToQColor(0xE8F6F4), Qt::white};
        const CellStyle style = col == 1 ? Style(colors[col], QStringLiteral("Courier New"), 12, true, Qt::black)
                                         : Style(colors[col], QStringLiteral("Tahoma"), 10, false, Qt::black);
        DrawSampleCell(*grid, col, row, canvas, rect, state, style, PIL_KeyDef(), 2);
    };
    return grid;
}

QWidget* CreateGridPage(QWidget* parent) {
    auto* page = new QWidget(parent);
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(MakeAddressGrid(page), 1);
    layout->addWidget(MakeKeyGrid(page), 1);
    return page;
}

// Every image list, each picture as drawn plain, blended, greyscale,
// brighter and darker.
class PictureSheet : public QWidget {
public:
    explicit PictureSheet(QWidget* parent) : QWidget(parent) {
        int height = 8;
        for (const auto& entry : Lists()) height += ListHeight(*entry.second);
        setMinimumSize(kLeft + kOptions * (kCell * kPerLine + kGap), height);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        const unsigned options[kOptions] = {kPngPlain, kPngBlend, kPngGrayscale, kPngBrighter, kPngDarker};
        const char* optionNames[kOptions] = {"plain", "blend", "grey", "bright", "dark"};
        int y = 4;
        for (const auto& [name, list] : Lists()) {
            painter.setPen(Qt::black);
            painter.drawText(4, y + 14, QString::fromLatin1(name));
            for (int o = 0; o < kOptions; ++o) {
                const int x0 = kLeft + o * (kCell * kPerLine + kGap);
                painter.drawText(x0, y + 14, QString::fromLatin1(optionNames[o]));
                int x = x0, row = y + 20;
                for (qsizetype i = 0; i < list->size(); ++i) {
                    if (x + kCell > x0 + kCell * kPerLine) {
                        x = x0;
                        row += kCell;
                    }
                    DrawPng(painter, x, row, (*list)[i], options[o]);
                    x += kCell;
                }
            }
            y += ListHeight(*list);
        }
    }

private:
    static constexpr int kOptions = 5;
    static constexpr int kCell = 36;
    static constexpr int kGap = 16;
    static constexpr int kLeft = 140;
    static constexpr int kPerLine = 5;

    static int ListHeight(const PngImageList& list) {
        return 24 + kCell * static_cast<int>((list.size() + kPerLine - 1) / kPerLine);
    }

    static const std::vector<std::pair<const char*, const PngImageList*>>& Lists() {
        static const std::vector<std::pair<const char*, const PngImageList*>> lists = {
            {"PIL_Tlb", &PIL_Tlb()},         {"PIL_Menu", &PIL_Menu()},
            {"PIL_Tlb_Child", &PIL_Tlb_Child()}, {"PIL_Checked", &PIL_Checked()},
            {"PIL_KeyDef", &PIL_KeyDef()},   {"PIL_Device", &PIL_Device()},
            {"PIL_ExportAddress", &PIL_ExportAddress()}, {"PIL_Manual", &PIL_Manual()},
        };
        return lists;
    }
};

QWidget* CreatePicturePage(QWidget* parent) {
    auto* scroll = new QScrollArea(parent);
    scroll->setWidget(new PictureSheet(scroll));
    return scroll;
}

}  // namespace

QWidget* CreateWidgetGallery() {
    auto* tabs = new QTabWidget;
    tabs->setAttribute(Qt::WA_DeleteOnClose);
    tabs->setWindowTitle(QStringLiteral("Галерея элементов"));
    tabs->addTab(CreateGridPage(tabs), QStringLiteral("Таблицы"));
    tabs->addTab(CreatePicturePage(tabs), QStringLiteral("Картинки"));
    tabs->addTab(CreateControlsGallery(tabs), QStringLiteral("Элементы управления"));
    tabs->resize(1100, 700);
    return tabs;
}
