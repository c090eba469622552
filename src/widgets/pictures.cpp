#include "pictures.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>
#include <initializer_list>

#include "png_draw.h"

// Resources of a static library are only linked in when something names them.
static void InitPictureResources() { Q_INIT_RESOURCE(pictures); }

namespace {

PngImageList MakeList(std::initializer_list<const char*> names, int size) {
    PngImageList list;
    list.reserve(names.size());
    for (const char* name : names) list.push_back(LoadPicture(QString::fromLatin1(name), size));
    return list;
}

}  // namespace

QPixmap LoadPicture(const QString& name, int size) {
    static const bool ready = (InitPictureResources(), true);
    (void)ready;
    const QString path = QStringLiteral(":/pictures/%1.svg").arg(name);
    if (size <= 0 || !QFile::exists(path)) return {};
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) return {};
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap picture(QSize(size, size) * ratio);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
    }
    picture.setDevicePixelRatio(ratio);
    return picture;
}

QIcon ActionIcon(const QPixmap& picture) {
    QIcon icon;
    icon.addPixmap(picture, QIcon::Normal);
    icon.addPixmap(PngWithOptions(picture, kPngGreyed), QIcon::Disabled);
    icon.addPixmap(PngWithOptions(picture, kPngBrighter), QIcon::Active);
    return icon;
}

const PngImageList& PIL_Tlb() {
    static const PngImageList list = MakeList({"db_new", "db_open", "help"}, 32);
    return list;
}

const PngImageList& PIL_Menu() {
    static const PngImageList list = MakeList({"db_new", "db_open", "quit", "help", "about", "win_cascade",
                                               "win_tile_h", "win_tile_v", "win_minimize_all"},
                                              16);
    return list;
}

const PngImageList& PIL_Tlb_Child() {
    static const PngImageList list =
        MakeList({"address_new", "address_delete", "address_edit", "db_save", "db_save_as", "copy", "paste", "close",
                  "street_rename", "export_nbx4", "key_new", "key_delete", "key_edit", "copy_text", "mark",
                  "key_default", "unmark_all", "delete_marked", "delete_unmarked", "export_device", "read_device"},
                 32);
    return list;
}

const PngImageList& PIL_Checked() {
    static const PngImageList list = MakeList({"cell_empty", "cell_checked"}, 20);
    return list;
}

const PngImageList& PIL_KeyDef() {
    static const PngImageList list = MakeList({"cell_empty", "cell_keydef"}, 20);
    return list;
}

const PngImageList& PIL_Device() {
    static const PngImageList list = MakeList({"port", "port_online"}, 24);
    return list;
}

const PngImageList& PIL_ExportAddress() {
    static const PngImageList list = MakeList({"export_device", "read_device", "clear_memory", "import_keys", "print",
                                               "preview", "copy", "save_file", "close"},
                                              32);
    return list;
}

const PngImageList& PIL_Manual() {
    static const PngImageList list = MakeList({"back", "forward", "house", "find", "print", "close"}, 32);
    return list;
}
