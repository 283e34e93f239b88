#pragma once

#include "app/app_settings.h"

#include <QString>
#include <QStringList>
#include <array>

// Where the test command sends a document: the first of Nav1 to Nav4 that is
// chosen. The internal browser stands down for the default browser when the
// program has none.
enum class TestTarget { None, Panel, DefaultBrowser, UserBrowser1, UserBrowser2 };
TestTarget chosenTarget(const std::array<bool, 4> &nav, bool panelAvailable);

// The choice as the program keeps it: without an internal browser, a choice of
// Nav1 becomes Nav2; anything else is kept as stored.
std::array<bool, 4> availableChoice(std::array<bool, 4> nav, bool panelAvailable);

// What testing a preview copy asks of the system.
struct BrowserLaunch {
    enum Kind {
        Nothing,         // no target chosen
        ShowInPanel,     // the preview panel opens the copy
        OpenWithDefault, // the desktop's handler for the copy's type (program = the copy)
        StartProgram,    // a user browser, the copy's path its one argument
        ProgramMissing,  // the user browser's path names no file
    };
    Kind kind = Nothing;
    QString program;
    QStringList arguments;
    QString workingFolder; // the copy's folder
    int showCommand = 5;   // 0 for the default handler: it decides how to show itself
    bool operator==(const BrowserLaunch &) const = default;
};
BrowserLaunch planBrowserTest(const BrowserSettings &settings, const QString &copyPath,
                              bool panelAvailable);
