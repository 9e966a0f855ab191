#pragma once
// The one interface between i2kCmd and its utility plugin, tovarocx: a single entry point
// called by numeric dispatch id, arguments by reference (a conversion also leaves its result
// in its argument). Header only, so the plugin links nothing of i2kCmd. Failures come back
// as a thrown Tovar::Error, with the number and description a caller reports.

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QtPlugin>

namespace Tovar {

// Every member at its dispatch id. The ids are the contract: callers use these, not names.
enum DispId : int {
    FExists = 0x60030002,           // (file) -> bool
    DExists = 0x60030003,           // (folder standing for a drive) -> 0, 1 or 2
    DirExists = 0x60030004,         // (folder) -> bool
    ColConv = 0x60030005,           // (colour name) -> colour value, or an invalid QVariant
    ShortFileLocation = 0x60030006, // (file) -> short path of its folder
    ShortFile = 0x60030007,         // (file) -> its 8.3 name
    ShortPath = 0x60030008,         // (file) -> its short full path
    Reserved = 0x60030009,          // (short path) -> the long path it stands for
    RemoveINIKey = 0x6003000A,      // (section, key, INI file) -> nothing
    FileCreated = 0x6003000B,       // (file) -> QDateTime
    FileAccessed = 0x6003000C,      // (file) -> QDateTime
    FileModified = 0x6003000D,      // (file) -> QDateTime
    ShortFolder = 0x6003000E,       // (folder) -> its short path
    FolderCreated = 0x6003000F,     // (folder) -> QDateTime
    GetSmallIcon = 0x60030010,      // (file) -> QPixmap, or nothing
    GetBigIcon = 0x60030011,        // (file) -> QPixmap, or nothing
    TopMost = 0x60030012,           // (QObject* window, bool) -> nothing
    ShellAndWait = 0x60030015,      // (QObject* window, program line) -> nothing
    PT2HTML = 0x60030018,           // (text, bool create <br>s) -> text
    HTML2PT = 0x6003001B,           // (html) -> text
};

struct Error
{
    int number;
    QString description;
};

class Interface
{
public:
    virtual ~Interface() = default;
    virtual QVariant invoke(int dispid, QVariantList &args) = 0;
};

} // namespace Tovar

#define TovarInterface_iid "org.idrisk.TovarOCX.Tovar"
Q_DECLARE_INTERFACE(Tovar::Interface, TovarInterface_iid)
