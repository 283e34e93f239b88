#pragma once

#include <QString>

class QMainWindow;
class QWidget;

// The help window and its engine live in a module beside the program, loaded the
// first time help is asked for, so that start-up never loads the help libraries.
//
// The window is a QMainWindow with:
// - the invokable `showTopic(QString)` (a page such as "Ressources/liste.htm");
// - the properties `currentTopic` (the page on display) and `cacheFolder` (the
//   private folder where its engine keeps the collection and the search index).
#define BALIZOR_HELP_WINDOW_ENTRY "balizorCreateHelpWindow"
// Returns nullptr when the compiled book cannot be read.
using CreateHelpWindowFn = QMainWindow *(*)(const QString &bookPath, QWidget *parent);

namespace HelpWindowLoader {

// The module's path; empty when it is not installed.
QString modulePath();
// Loads the module (once) and makes the window; nullptr (with a warning on the
// console) when the module or the book is missing.
QMainWindow *create(const QString &bookPath, QWidget *parent);

} // namespace HelpWindowLoader
