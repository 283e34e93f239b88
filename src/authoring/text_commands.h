#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// The text formatting commands as data: each becomes one action of the main window.
namespace Authoring {

// A command that puts an opening and a closing string around the selection.
struct WrapCommand {
    QString name;     // action objectName
    QString caption;  // menu text, "&" marks the accelerator
    QString shortcut; // QKeySequence portable text, empty when none
    QString opening;
    QString closing;
    bool raw = false; // true: the strings bypass the tag case
};

const QList<WrapCommand> &WrapCommands();

// The 21 items of the three font size submenus; one handler takes the size from
// the chosen item's caption.
struct FontSizeItem {
    QString submenu; // "&Taille", "Au&gmenter la taille", "&Diminuer la taille"
    QString caption; // "1".."7", "+1".."+7", "-1".."-7"
};

const QList<FontSizeItem> &FontSizeItems();
QString FontSizeOpening(const QString &caption); // '<font size="N">'
QString FontSizeClosing();                       // "</font>"

// The date and time text for the FormatDate option (0: "09:05 03/07/2026",
// 1: "03/07/2026 09:05", 2: "03/07/2026", 3: "03/07/26", 4: "09:05").
QString FormatDate(const QDateTime &when, int format);

// One item of the character reference submenus.
struct EntityItem {
    QString submenu;    // "Caractères &Accentués" or "&Caractères Spéciaux"
    QString subSubmenu; // "a", "e", ... or "Arithmétiques", "Monétaires", ...
    QString caption;    // the character (for "&": "&&", shown as "&")
    QString hint;       // the named reference
    QString shortcut;   // QKeySequence portable text, empty when none
};

const QList<EntityItem> &EntityItems();

// The reference an item inserts: the named one, or "&#" + the Windows-1252 value of
// the caption's first character + ";".
QString EntityText(const EntityItem &item, bool caracteresAlphabetiques);

} // namespace Authoring
