#include "controls_gallery.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

#include "ComboBoxPng.h"
#include "Cp1251.h"
#include "ExtMaskEdit.h"
#include "GradientCheck.h"
#include "ImageButton.h"
#include "PngCheckBox.h"
#include "ShadowLabel.h"
#include "ValidateEdit.h"
#include "XpButton.h"
#include "qt_text.h"

using namespace cp1251_literals;

namespace {

// Simple pictures of the gallery's own; the program's icon set is elsewhere.
QPixmap Canvas(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    return picture;
}

QPixmap KeyPicture(int size) {
    QPixmap picture = Canvas(size);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 24.0;
    p.setPen(QPen(QColor(0x8A, 0x6A, 0x10), 1.2 * s));
    p.setBrush(QColor(0xF0, 0xC0, 0x30));
    QPainterPath key;
    key.addEllipse(QRectF(2 * s, 6 * s, 11 * s, 11 * s));
    key.addRect(QRectF(12 * s, 10 * s, 10 * s, 3 * s));
    key.addRect(QRectF(17 * s, 13 * s, 2 * s, 4 * s));
    key.addRect(QRectF(20 * s, 13 * s, 2 * s, 3 * s));
    p.drawPath(key.simplified());
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(5 * s, 9.5 * s, 4 * s, 4 * s));
    return picture;
}

QPixmap SignPicture(int size, QColor colour, bool tick) {
    QPixmap picture = Canvas(size);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 24.0;
    p.setPen(QPen(colour.darker(140), s));
    p.setBrush(colour);
    p.drawEllipse(QRectF(1.5 * s, 1.5 * s, 21 * s, 21 * s));
    p.setPen(QPen(Qt::white, 3 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (tick) {
        p.drawPolyline(QPolygonF({QPointF(7 * s, 12.5 * s), QPointF(10.5 * s, 16 * s), QPointF(17 * s, 8.5 * s)}));
    } else {
        p.drawLine(QPointF(8 * s, 8 * s), QPointF(16 * s, 16 * s));
        p.drawLine(QPointF(16 * s, 8 * s), QPointF(8 * s, 16 * s));
    }
    return picture;
}

QPixmap PlugPicture(int size, QColor colour) {
    QPixmap picture = Canvas(size);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 16.0;
    p.setPen(QPen(colour.darker(150), s));
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(2 * s, 4 * s, 12 * s, 8 * s), 2 * s, 2 * s);
    p.setBrush(Qt::white);
    for (int i = 0; i < 3; ++i) p.drawEllipse(QRectF((4 + 3 * i) * s, 7 * s, 2 * s, 2 * s));
    return picture;
}

QPixmap LensPicture(int size) {
    QPixmap picture = Canvas(size);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 24.0;
    p.setPen(QPen(QColor(0x30, 0x50, 0x90), 2.5 * s, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14 * s, 14 * s), QPointF(21 * s, 21 * s));
    p.setBrush(QColor(0xD0, 0xE8, 0xFF));
    p.drawEllipse(QRectF(3 * s, 3 * s, 13 * s, 13 * s));
    return picture;
}

// The three pieces of a stretchable label frame.
QPixmap FramePiece(int width, int height, bool left, bool right) {
    QPixmap picture(width, height);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, height);
    fill.setColorAt(0, QColor(0xE8, 0xF4, 0xFF));
    fill.setColorAt(1, QColor(0x9C, 0xC8, 0xF0));
    p.setPen(QPen(QColor(0x50, 0x80, 0xC0), 1));
    p.setBrush(fill);
    const qreal extra = 8;
    p.drawRoundedRect(QRectF(left ? 0.5 : -extra, 0.5, width - 1 + (left ? 0 : extra) + (right ? 0 : extra), height - 1),
                      6, 6);
    return picture;
}

QFont PixelFont(const char* family, int pixels, bool bold = false) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QWidget* Row(QWidget* parent, std::initializer_list<QWidget*> controls) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    for (QWidget* control : controls) {
        control->setParent(row);
        layout->addWidget(control, 0, Qt::AlignVCenter);
    }
    layout->addStretch(1);
    return row;
}

template <class Control>
Control* Fixed(Control* control, int width, int height) {
    control->setFixedSize(width, height);
    return control;
}

TExtMaskEdit* KeyEntry(std::string_view text) {
    auto* edit = new TExtMaskEdit;
    edit->fSetMaskType(msKeyHex8b);
    edit->fSetEditMask("XX HH HH HH HH HH HH HH");
    edit->fSetText(text);
    edit->fSetBeginCaretPos(10);
    edit->fSetEndCaretPos(20);
    edit->setFont(PixelFont("Courier New", 21, true));
    edit->setFixedSize(305, 29);
    return edit;
}

QWidget* MaskRow(QWidget* parent, TExtMaskEdit*& focused) {
    focused = KeyEntry("CR12345678ABCD01");
    TExtMaskEdit* disabled = KeyEntry("0000000000000000");
    disabled->setEnabled(false);
    auto* date = new TExtMaskEdit;
    date->fSetEditMask("DD.DD.DDDD");
    date->fSetText("0102");
    date->fSetEndCaretPos(10);
    date->setFont(PixelFont("Courier New", 16));
    date->setFixedSize(date->sizeHint() + QSize(4, 4));
    return Row(parent, {focused, disabled, date});
}

TValidateEdit* Edit(TValidateType type, const char* text, int width = 90) {
    auto* edit = new TValidateEdit;
    edit->fSetValidateType(type);
    edit->fSetText(text);
    edit->setFont(PixelFont("Tahoma", 13));
    edit->setFixedWidth(width);
    return edit;
}

QWidget* EditRow(QWidget* parent) {
    TValidateEdit* coloured = Edit(vtFloat, "3.14");
    coloured->fSetColorHTML("#FFF2DE");
    TValidateEdit* disabled = Edit(vtOnlyDigits, "0");
    disabled->setEnabled(false);
    TValidateEdit* comment = Edit(vtNone, "", 180);
    comment->fSetText("Комментарий"_cp);
    return Row(parent, {Edit(vtInteger, "-12"), coloured, Edit(vtHexUp, "A1B2"), disabled, comment});
}

// A filter-like panel: a label and an edit box that follow its check.
TGradientCheck* FilterPanel(const char* start, bool checked, bool enabled) {
    auto* panel = Fixed(new TGradientCheck, 210, 50);
    panel->fSetColorHTMLBegin(start);
    panel->fSetColorHTMLEnd("#FFFFFF");
    panel->fSetPngPicture(LensPicture(24));
    panel->fSetPngAlign(paCenter);
    auto* label = new QLabel(ToQString("Фильтр по улицам"_cp), panel);
    label->setFont(PixelFont("Tahoma", 13, true));
    label->move(34, 4);
    TValidateEdit* edit = Edit(vtNone, "", 160);
    edit->setParent(panel);
    edit->fSetText("Ленина"_cp);
    edit->move(34, 22);
    panel->fSetChecked(checked);
    panel->setEnabled(enabled);
    return panel;
}

QWidget* PanelRow(QWidget* parent) {
    auto* plain = Fixed(new TGradientCheck, 150, 50);
    plain->fSetColorHTMLBegin("#FFC98D");
    plain->fSetColorHTMLEnd("#FFF8F0");
    plain->fSetCheckable(false);
    plain->fSetGradient(false);
    plain->fSetForceChildEnabled(true);
    plain->fSetCaption("Рамка"_cp);
    plain->fSetPngPicture(KeyPicture(24));
    plain->fSetPngAlign(paCenter);
    auto* vertical = Fixed(new TGradientCheck, 110, 50);
    vertical->fSetColorHTMLBegin("#86BEFB");
    vertical->fSetColorHTMLEnd("#FFFFFF");
    vertical->fSetHorizontal(false);
    vertical->fSetRound(true);
    vertical->fSetCaption("Скруглённая"_cp);
    return Row(parent, {FilterPanel("#FFC98D", true, true), FilterPanel("#C0DCC0", false, true),
                        FilterPanel("#FFC98D", true, false), plain, vertical});
}

TShadowLabel* Label(const char* caption, TAlignment alignment, uint32_t colour, uint32_t shadow) {
    auto* label = Fixed(new TShadowLabel, 150, 30);
    label->fSetCaption(cp1251::FromUtf8(caption));
    label->fSetAlignment(alignment);
    label->setFont(PixelFont("Tahoma", 19, true));
    SetFontColor(*label, colour);
    label->fSetShadowColor(shadow);
    return label;
}

QWidget* LabelRow(QWidget* parent) {
    TShadowLabel* framed = Label("По центру", taCenter, 0x800000, screen_color::kSilver);
    framed->fSetPngLeft(FramePiece(10, 30, true, false));
    framed->fSetPngCenter(FramePiece(16, 30, false, false));
    framed->fSetPngRight(FramePiece(10, 30, false, true));
    TShadowLabel* disabled = Label("Отключена", taLeftJustify, 0x0000FF, screen_color::kSilver);
    disabled->setEnabled(false);
    TShadowLabel* plain = Label("Без тени", taLeftJustify, 0x000000, 0);
    plain->fSetShadow(false);
    return Row(parent, {Label("Слева", taLeftJustify, 0x0000FF, 0x000080), framed,
                        Label("Справа", taRightJustify, 0x008000, screen_color::kSilver), disabled, plain});
}

TPngCheckBox* CheckBox(const char* caption, bool checked, TPngAlign align) {
    auto* box = new TPngCheckBox;
    box->resize(125, 24);
    box->fSetPngCheck(SignPicture(24, QColor(0x30, 0xA0, 0x40), true));
    box->fSetPngUncheck(SignPicture(24, QColor(0xC0, 0x30, 0x30), false));
    box->fSetCaption(cp1251::FromUtf8(caption));
    box->fSetChecked(checked);
    box->fSetPngAlign(align);
    box->fSetShadow(true);
    box->fSetShadowColor(screen_color::kSilver);
    box->setFont(PixelFont("Tahoma", 13, true));
    box->setFixedSize(125, box->height());
    return box;
}

QWidget* CheckBoxRow(QWidget* parent) {
    TPngCheckBox* disabled = CheckBox("Отключён", true, paLeft);
    disabled->setEnabled(false);
    TPngCheckBox* indicator = CheckBox("Прибор", true, paRight);
    indicator->fSetManualMode(false);
    return Row(parent, {CheckBox("Отмечен", true, paLeft), CheckBox("Не отмечен", false, paLeft), disabled,
                        indicator, CheckBox("", false, paCenter)});
}

TXpButton* Button(const char* caption, const QPixmap& picture, int width, int height) {
    auto* button = Fixed(new TXpButton, width, height);
    button->fSetCaption(cp1251::FromUtf8(caption));
    button->fSetPngPicture(picture);
    button->setFont(PixelFont("Tahoma", 13));
    return button;
}

QWidget* ButtonRow(QWidget* parent) {
    TXpButton* disabled = Button("        Отмена", SignPicture(24, QColor(0xC0, 0x30, 0x30), false), 130, 40);
    disabled->setEnabled(false);
    TXpButton* centred = Button("", KeyPicture(24), 40, 40);
    centred->fSetPngAlign(paCenter);
    TXpButton* search = Button("", LensPicture(20), 30, 30);
    search->fSetPngAlign(paCenter);
    auto* image = new TImageButton;
    image->fSetPngPicture(SignPicture(40, QColor(0x30, 0xA0, 0x40), true));
    image->fSetModalResult(mrOk);
    auto* imageOff = new TImageButton;
    imageOff->fSetPngPicture(SignPicture(40, QColor(0xC0, 0x30, 0x30), false));
    imageOff->setEnabled(false);
    return Row(parent, {Button("          Сохранить", SignPicture(24, QColor(0x30, 0xA0, 0x40), true), 130, 40),
                        disabled, centred, search, image, imageOff});
}

TComboBoxPng* Combo(bool autoIndexes, bool enabled) {
    auto* box = Fixed(new TComboBoxPng, 110, 26);
    box->fSetImages({PlugPicture(16, QColor(0x90, 0x90, 0x90)), PlugPicture(16, QColor(0x30, 0xA0, 0x40))});
    box->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    box->fSetAutoIndexes(autoIndexes);
    box->fSetListIndexesPng({"1", "0"});  // the third port has no picture
    box->fSetItemHeight(20);
    box->setFont(PixelFont("Tahoma", 13));
    box->setEnabled(enabled);
    return box;
}

QWidget* ComboRow(QWidget* parent) {
    TComboBoxPng* bare = Combo(false, true);
    bare->fSetImages({});
    return Row(parent, {Combo(false, true), Combo(true, true), Combo(false, false), bare});
}

}  // namespace

QWidget* CreateControlsGallery(QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setAutoFillBackground(true);
    QPalette background = page->palette();
    background.setColor(QPalette::Window, Qt::white);
    page->setPalette(background);
    auto* grid = new QGridLayout(page);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(14);
    TExtMaskEdit* focused = nullptr;
    const std::pair<const char*, QWidget*> rows[] = {
        {"TExtMaskEdit", MaskRow(page, focused)}, {"TValidateEdit", EditRow(page)},
        {"TGradientCheck", PanelRow(page)},       {"TShadowLabel", LabelRow(page)},
        {"TPngCheckBox", CheckBoxRow(page)},      {"TXpButton, TImageButton", ButtonRow(page)},
        {"TComboBoxPng", ComboRow(page)},
    };
    int line = 0;
    for (const auto& [name, row] : rows) {
        auto* title = new QLabel(QString::fromLatin1(name), page);
        title->setFont(PixelFont("Tahoma", 12, true));
        grid->addWidget(title, line, 0, Qt::AlignLeft | Qt::AlignVCenter);
        grid->addWidget(row, line++, 1);
    }
    grid->setRowStretch(line, 1);
    // The key entry shows its focused look when the page opens.
    focused->setFocus();
    return page;
}
