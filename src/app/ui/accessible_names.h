#pragma once

class QString;
class QWidget;

// Screen readers and GUI test tools read a control's accessible name. Left empty, the
// accessibility layer falls back on whatever text is near, often the title of the
// enclosing group box, and picture buttons get no name at all. These give every control
// an explicit name and, where it has a hint, a description.
namespace AccessibleNames {

// Installs, once, an application-wide watcher that names the controls of every window
// and dialog the first time it is shown, and any control shown later inside it.
void install();

// Names `control` when it has no name yet (or only its group box's title) and gives it
// its hint as description. Returns the name it ends up with (empty when none was found).
QString nameControl(QWidget *control);

// Names every control under `root`, `root` included.
void nameControls(QWidget *root);

// Whether `w` is a control a user reaches with the keyboard or acts on: these need a name.
bool needsName(const QWidget *w);

} // namespace AccessibleNames
