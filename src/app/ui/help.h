#pragma once

#include <QString>
#include <functional>

// Opens the help book at a topic, a page name such as "Ressources/liste.htm"
// (empty: "Ressources/introduction.htm"). Every dialog's "Aide" button calls it.
// The pages live in resources/Ressources/; a topic with no page is reported by
// the help window as missing.
void ShowHelpTopic(const QString &topic = {});

// The help window installs itself here when the main window is built; without a
// help window, ShowHelpTopic says that the viewer is not installed.
using HelpHandler = std::function<void(const QString &topic)>;
void setHelpHandler(HelpHandler handler);

// "HTML Help n'est pas installé sur cet ordinateur.": also what the help window
// says when the book beside the program cannot be read.
void reportHelpMissing();
