#include "painters.h"

#include <QLinearGradient>
#include <QPainter>
#include <string>

#include "control_types.h"
#include "qt_text.h"
#include "string_grid.h"
#include "system_colors.h"

namespace {

constexpr int kTextMargin = 2;
constexpr int kRoundCorner = 6;
constexpr int kHeaderPointSize = 10;

void FillBody(QPainter& canvas, const QRect& rect, unsigned state, const CellStyle& style) {
    canvas.fillRect(rect, (state & kGdSelected) ? ClHighlight() : style.color);
}

void SetTextPen(QPainter& canvas, unsigned state, const CellStyle& style) {
    canvas.setFont(style.font);
    canvas.setPen((state & kGdSelected) ? ClHighlightText() : style.fontColor);
}

// Text drawn from its top, centred across the cell; a text wider than the
// cell overhangs both sides and is cut by the cell.
void DrawCentred(QPainter& canvas, const QRect& rect, const QString& text) {
    const int width = canvas.fontMetrics().horizontalAdvance(text);
    const int x = rect.left() + (rect.width() - width) / 2;
    canvas.drawText(QRect(x, rect.top() + kTextMargin, width, rect.height()), Qt::AlignLeft | Qt::AlignTop, text);
}

void DrawBodyText(const StringGrid& grid, QPainter& canvas, const QRect& rect, int col, int row, unsigned state,
                  const CellStyle& style, bool centred) {
    canvas.save();
    canvas.setClipRect(rect);
    FillBody(canvas, rect, state, style);
    SetTextPen(canvas, state, style);
    const QString text = ToQString(grid.Cell(col, row));
    if (centred)
        DrawCentred(canvas, rect, text);
    else
        canvas.drawText(rect.adjusted(kTextMargin, kTextMargin, 0, 0), Qt::AlignLeft | Qt::AlignTop, text);
    canvas.restore();
}

}  // namespace

void FillGradient(QPainter& canvas, const QRect& rect, const QColor& a, const QColor& b, bool horizontal, bool frame,
                  bool swap, bool round) {
    if (rect.isEmpty()) return;
    // Sampled at pixel centres, so the first and last pixels carry the two colours exactly.
    const QPointF from(rect.left() + 0.5, rect.top() + 0.5);
    const QPointF to = horizontal ? QPointF(rect.right() + 0.5, rect.top() + 0.5)
                                  : QPointF(rect.left() + 0.5, rect.bottom() + 0.5);
    QLinearGradient gradient(from, to);
    gradient.setColorAt(0, swap ? b : a);
    gradient.setColorAt(1, swap ? a : b);
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.fillRect(rect, gradient);
    if (frame) {
        canvas.setPen(QPen(a, 0));
        canvas.setBrush(Qt::NoBrush);
        const QRect outline = rect.adjusted(0, 0, -1, -1);
        if (round)
            canvas.drawRoundedRect(outline, kRoundCorner / 2.0, kRoundCorner / 2.0);
        else
            canvas.drawRect(outline);
    }
    canvas.restore();
}

void DrawCellLeft(const StringGrid& grid, QPainter& canvas, const QRect& rect, int col, int row, unsigned state,
                  const CellStyle& style) {
    DrawBodyText(grid, canvas, rect, col, row, state, style, false);
}

void DrawCellCenter(const StringGrid& grid, QPainter& canvas, const QRect& rect, int col, int row, unsigned state,
                    const CellStyle& style) {
    DrawBodyText(grid, canvas, rect, col, row, state, style, true);
}

void DrawHeaderCell(const StringGrid& grid, QPainter& canvas, const QRect& rect, int col, int row, unsigned,
                    bool horizontal, bool frame, bool swap, bool round) {
    canvas.save();
    canvas.setClipRect(rect);
    FillGradient(canvas, rect, ToQColor(screen_color::kCream), ClGradientActiveCaption(), horizontal, frame, swap, round);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(kHeaderPointSize);
    canvas.setFont(font);
    canvas.setPen(ClBlack());
    DrawCentred(canvas, rect, ToQString(grid.Cell(col, row)));
    canvas.restore();
}

void DrawImageCell(const StringGrid& grid, QPainter& canvas, const QRect& rect, int col, int row, unsigned state,
                   const PngImageList& images, const CellStyle& style) {
    canvas.save();
    canvas.setClipRect(rect);
    FillBody(canvas, rect, state, style);
    const std::string& text = grid.Cell(col, row);
    for (qsizetype i = 0; i < images.size(); ++i) {
        if (std::to_string(i) != text) continue;
        const QPixmap& image = images[i];
        const QSize size = image.deviceIndependentSize().toSize();
        const int x = size.width() > rect.width() ? rect.left() + kTextMargin
                                                  : rect.left() + (rect.width() - size.width()) / 2;
        const int y = rect.top() + (rect.height() - size.height()) / 2;
        canvas.drawPixmap(x, y, image);
        break;
    }
    canvas.restore();
}
