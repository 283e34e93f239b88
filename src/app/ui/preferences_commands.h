#pragma once

#include "app/ui/app_context.h"

#include <QObject>
#include <functional>

class DocumentTypes;
class TfrmEnvOpts;

// `OutilsPref` and `NavPerso`: the preferences window, created with the main
// window and kept for the whole run; after its OK the options are stored and
// applied to everything that runs (`applyPreferences`).
class PreferencesCommands : public QObject {
    Q_OBJECT
public:
    PreferencesCommands(AppContext &ctx, DocumentTypes &types,
                        std::function<void()> applyPreferences);

    TfrmEnvOpts *dialog() const { return m_dialog; }
    // Shows the window (at a page, or where it was left when page < 0).
    void OutilsPref(int page = -1);

private:
    AppContext &m_ctx;
    TfrmEnvOpts *m_dialog;
    std::function<void()> m_applyPreferences;
};
