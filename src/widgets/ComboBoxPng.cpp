#include "ComboBoxPng.h"

#include <QAbstractItemDelegate>
#include <QPainter>
#include <QStylePainter>

#include "png_draw.h"
#include "text_helpers.h"

namespace {

constexpr int kDropDownCount = 8;

// The list of the open combo box draws its items through the box.
class PngItemDelegate : public QAbstractItemDelegate {
public:
    explicit PngItemDelegate(TComboBoxPng* box) : QAbstractItemDelegate(box), box_(box) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        box_->DrawItem(*painter, option.rect, index.row(), option.state & QStyle::State_Selected);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {option.rect.width(), box_->ItemHeight()};
    }

private:
    TComboBoxPng* box_;
};

}  // namespace

int ComboItemImageIndex(bool autoIndexes, const std::vector<std::string>& listIndexes, int item, int imageCount) {
    int number = item;
    if (!autoIndexes)
        number = item >= 0 && static_cast<std::size_t>(item) < listIndexes.size()
                     ? StrToIntDef(listIndexes[static_cast<std::size_t>(item)], -1)
                     : -1;
    return number >= 0 && number < imageCount ? number : -1;
}

TComboBoxPng::TComboBoxPng(QWidget* parent) : QComboBox(parent) {
    setItemDelegate(new PngItemDelegate(this));
    setMaxVisibleItems(kDropDownCount);
}

void TComboBoxPng::fSetImages(const QList<QPixmap>& images) {
    images_ = images;
    update();
}

void TComboBoxPng::fSetListIndexesPng(std::vector<std::string> indexes) {
    indexes_ = std::move(indexes);
    update();
}

void TComboBoxPng::fSetAutoIndexes(bool on) {
    autoIndexes_ = on;
    update();
}

void TComboBoxPng::fSetItemHeight(int height) {
    itemHeight_ = height;
    update();
}

int TComboBoxPng::ImageIndexOf(int item) const {
    return ComboItemImageIndex(autoIndexes_, indexes_, item, static_cast<int>(images_.size()));
}

void TComboBoxPng::DrawItem(QPainter& painter, const QRect& rect, int item, bool selected) const {
    painter.fillRect(rect, palette().color(selected ? QPalette::Highlight : QPalette::Base));
    painter.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter.setFont(font());
    const QFontMetrics metrics(font());
    int textLeft = rect.left() + 5;
    if (!images_.isEmpty()) {
        const int image = ImageIndexOf(item);
        if (image >= 0) {
            const QPixmap& picture = images_[image];
            DrawPng(painter, rect.left() + 2, rect.top() + (rect.height() - picture.height()) / 2, picture,
                    isEnabled() ? kPngPlain : kPngGreyed);
        }
        textLeft += images_.front().width();
    }
    const int top = rect.top() + (rect.height() - metrics.height()) / 2;
    painter.drawText(textLeft, top + metrics.ascent(), itemText(item));
}

void TComboBoxPng::paintEvent(QPaintEvent* event) {
    if (isEditable()) return QComboBox::paintEvent(event);
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0) return;
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    painter.save();
    painter.setClipRect(field);
    DrawItem(painter, field, currentIndex(), hasFocus());
    painter.restore();
}
