#pragma once
// The program's own pictures, drawn as SVG and built into it, and the image
// lists the windows take their command and cell pictures from. The lists are
// made on first use, which must come after the application object exists.

#include <QIcon>
#include <QPixmap>
#include <QList>
#include <QString>

// A list as the picture combo box takes it.
using PngImageList = QList<QPixmap>;

// The picture "name" of resources/pictures at size × size pixels (sharp on
// high-density screens); null when there is no such picture. Besides those
// of the lists, the panels and buttons use: "filter_marked",
// "filter_streets", "search_streets", "search_keys", "find_next", "street",
// "house", "key", "comment", "add", "ok", "cancel", "no", "about_logo",
// "device_online", "device_offline", "print", "db_save", "db_save_as".
QPixmap LoadPicture(const QString& name, int size);

// An action's icon: plain, greyed (blended and greyscale) when disabled,
// brighter under the mouse.
QIcon ActionIcon(const QPixmap& picture);

// Main tool bar, 32 × 32.
enum TlbPicture { kTlbNew, kTlbOpen, kTlbHelp, kTlbCount };
const PngImageList& PIL_Tlb();

// Menu bar, 16 × 16.
enum MenuPicture {
    kMenuNew,
    kMenuOpen,
    kMenuQuit,
    kMenuHelp,
    kMenuAbout,
    kMenuCascade,
    kMenuTileHorizontal,
    kMenuTileVertical,
    kMenuMinimizeAll,
    kMenuCount
};
const PngImageList& PIL_Menu();

// Tool bars and pop-up menus of the database window, 32 × 32; the numbers
// are the ones its commands name.
enum TlbChildPicture {
    kChildNewRecord = 0,
    kChildDeleteRecord = 1,
    kChildEditRecord = 2,
    kChildSave = 3,
    kChildSaveAs = 4,
    kChildCopy = 5,
    kChildPaste = 6,
    kChildClose = 7,
    kChildRenameStreet = 8,
    kChildExportToNBX4 = 9,
    kChildNewKey = 10,
    kChildDeleteKey = 11,
    kChildEditKey = 12,
    kChildCopyClipboard = 13,
    kChildSelect = 14,
    kChildKeyDefault = 15,
    kChildUnselect = 16,
    kChildDeleteSelect = 17,
    kChildDeleteUnselect = 18,
    kChildExportToDevice = 19,
    kChildReadMemoryDevice = 20,
    kChildCount
};
const PngImageList& PIL_Tlb_Child();

// Cell pictures, 20 × 20: 0 empty, 1 the mark / the default-key sign.
const PngImageList& PIL_Checked();
const PngImageList& PIL_KeyDef();

// Port list of the device dialog, 24 × 24: 0 a port, 1 a port the device answered on.
const PngImageList& PIL_Device();

// Commands of the device dialog, 32 × 32.
enum ExportPicture {
    kExportWrite,
    kExportReadMemory,
    kExportClearMemory,
    kExportImport,
    kExportPrintList,
    kExportPreview,
    kExportCopy,
    kExportSaveToFile,
    kExportClose,
    kExportCount
};
const PngImageList& PIL_ExportAddress();

// Manual viewer, 32 × 32.
enum ManualPicture { kManualBack, kManualForward, kManualHome, kManualFind, kManualPrint, kManualClose, kManualCount };
const PngImageList& PIL_Manual();
