#pragma once

#include <QProxyStyle>

// The system's own style, with the chevron of a toolbar's overflow button drawn
// instead of read from Qt's picture files: reading those at start-up, for each
// toolbar, has Qt load and question every picture-format plugin on the system,
// which cost the start more than everything else the toolbars do.
class AppStyle : public QProxyStyle {
    Q_OBJECT
public:
    AppStyle();
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;

    // Makes it the application's style unless it already is; before the main window's
    // widgets are made.
    static void install();
};
