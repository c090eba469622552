#pragma once
// TComboBoxPng: a combo box whose items are drawn with a picture each, from
// an image list: item i shows image i (AutoIndexes), or the image whose
// number ListIndexesPng gives for the item.

#include <QComboBox>
#include <QList>
#include <QPixmap>
#include <string>
#include <vector>

// The image an item shows, or -1 for none: the item's own index with
// autoIndexes, else the decimal number listed for it (missing or not a
// number: none); only numbers 0 to imageCount - 1 name an image.
int ComboItemImageIndex(bool autoIndexes, const std::vector<std::string>& listIndexes, int item, int imageCount);

class TComboBoxPng : public QComboBox {
    Q_OBJECT

public:
    explicit TComboBoxPng(QWidget* parent = nullptr);

    // An empty list means no images: the texts then start nearer the edge.
    void fSetImages(const QList<QPixmap>& images);
    void fSetListIndexesPng(std::vector<std::string> indexes);  // CP1251 decimal numbers
    void fSetAutoIndexes(bool on);
    void fSetItemHeight(int height);
    void fSetDropDownCount(int count) { setMaxVisibleItems(count); }

    const QList<QPixmap>& Images() const { return images_; }
    const std::vector<std::string>& ListIndexesPng() const { return indexes_; }
    bool AutoIndexes() const { return autoIndexes_; }
    int ItemHeight() const { return itemHeight_; }
    int DropDownCount() const { return maxVisibleItems(); }
    int ImageIndexOf(int item) const;

    // Draws one item into rect: the fill, the picture, the text.
    void DrawItem(QPainter& painter, const QRect& rect, int item, bool selected) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<QPixmap> images_;
    std::vector<std::string> indexes_;
    bool autoIndexes_ = true;
    int itemHeight_ = 16;
};
