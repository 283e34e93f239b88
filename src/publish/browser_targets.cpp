#include "publish/browser_targets.h"

#include <QDir>
#include <QFileInfo>

TestTarget chosenTarget(const std::array<bool, 4> &nav, bool panelAvailable)
{
    const std::array<bool, 4> n = availableChoice(nav, panelAvailable);
    static constexpr TestTarget targets[] = {TestTarget::Panel, TestTarget::DefaultBrowser,
                                             TestTarget::UserBrowser1, TestTarget::UserBrowser2};
    for (int i = 0; i < 4; ++i) {
        if (n[i])
            return targets[i];
    }
    return TestTarget::None;
}

std::array<bool, 4> availableChoice(std::array<bool, 4> nav, bool panelAvailable)
{
    if (!panelAvailable && nav[0]) {
        nav[0] = false;
        nav[1] = true;
    }
    return nav;
}

BrowserLaunch planBrowserTest(const BrowserSettings &settings, const QString &copyPath,
                              bool panelAvailable)
{
    BrowserLaunch l;
    l.workingFolder = QDir::toNativeSeparators(QFileInfo(copyPath).absolutePath());
    const TestTarget target = chosenTarget(settings.nav, panelAvailable);
    switch (target) {
    case TestTarget::None:
        return {};
    case TestTarget::Panel:
        l.kind = BrowserLaunch::ShowInPanel;
        l.program = copyPath;
        return l;
    case TestTarget::DefaultBrowser:
        l.kind = BrowserLaunch::OpenWithDefault;
        l.program = copyPath;
        l.showCommand = 0;
        return l;
    case TestTarget::UserBrowser1:
    case TestTarget::UserBrowser2:
        break;
    }
    l.program = target == TestTarget::UserBrowser1 ? settings.cheminNav3 : settings.cheminNav4;
    if (l.program.isEmpty() || !QFileInfo(l.program).isFile()) {
        l.kind = BrowserLaunch::ProgramMissing;
        return l;
    }
    // The path goes as one argument, spaces and all: no quoting to get wrong.
    l.kind = BrowserLaunch::StartProgram;
    l.arguments = {copyPath};
    return l;
}
