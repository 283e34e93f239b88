#pragma once

#include "app/ui/app_context.h"
#include "publish/tips.h"

#include <QObject>
#include <QPointer>
#include <functional>

class QMainWindow;
class TTipsBox;
class QWidget;

// The "?" menu: the help book (`AideAide`, F1, and every dialog's "Aide" through
// ShowHelpTopic), the tips of the day (`AideTips`, and at the first idle moment
// when `ShowTips` is on), the program's pages (`AideAccueil`, `AideMiseAJour`) and
// the about box (`AideApropos`).
class HelpCommands : public QObject {
    Q_OBJECT
public:
    explicit HelpCommands(AppContext &ctx);
    ~HelpCommands() override;

    // The compiled book: beside the program unless told otherwise.
    QString bookPath;
    // Opens an address with the desktop (the program's pages, once they exist).
    std::function<void(const QString &address)> openAddress;
    // Steps for the tips' choice (the system's random numbers by default).
    TipCycle::RandomStep randomStep = &TipCycle::randomStep;
    TipCycle *tipCycle = &TipCycle::forRun();

    // The help window (see help_window_loader.h), made the first time help is asked for.
    void showTopic(const QString &topic);
    QMainWindow *helpWindow() const;

    void showTips();
    TTipsBox *tipsBox() const;
    void showAbout();
    void openHomePage();
    void openUpdatePage();

private:
    void attachHelpWindow(QWidget *owner);

    AppContext &m_ctx;
    QPointer<QMainWindow> m_help;
    QPointer<TTipsBox> m_tips;
};
