#include "publish/ui/help_commands.h"

#include "app/app_settings.h"
#include "app/ui/action_registry.h"
#include "app/ui/icons.h"
#include "app/ui/ui_services.h"
#include "platform/install_paths.h"
#include "platform/ui/shell.h"
#include "publish/about_info.h"
#include "publish/help_book.h"
#include "publish/product_links.h"
#include "publish/ui/about_box.h"
#include "app/ui/help.h"
#include "publish/ui/help_window_loader.h"
#include "publish/ui/tips_box.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QMainWindow>
#include <QPainter>
#include <QTranslator>

namespace {
void drawCircleSign(QPainter &p, const QColor &fill, const QString &sign) {
    p.setPen(QPen(fill.darker(140), 1));
    p.setBrush(fill);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(11);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, sign);
}

// The book beside the program (build folder) or in the installed data folder; when it
// is missing, the path beside the program, so that the message names where it belongs.
QString helpBookPath() {
    const QString found = InstallPaths::find(InstallPaths::Kind::Data, HelpBook::fileName());
    return found.isEmpty() ? QDir(QCoreApplication::applicationDirPath()).filePath(HelpBook::fileName())
                           : found;
}

// The standard texts of the help engine's own widgets, in French.
void loadHelpTranslation() {
    static bool loaded = false;
    if (loaded) return;
    loaded = true;
    auto *t = new QTranslator(qApp);
    if (t->load(QLocale(QLocale::French), QStringLiteral("qt_help"), QStringLiteral("_"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(t);
    else
        delete t;
}
} // namespace

HelpCommands::HelpCommands(AppContext &ctx)
    : QObject(ctx.window),
      bookPath(helpBookPath()),
      m_ctx(ctx) {
    openAddress = [](const QString &address) {
        ShellOpen(address, QString(), QCoreApplication::applicationDirPath(), 0);
    };
    ActionRegistry &r = *ctx.actions;
    const QString help = QStringLiteral("Aide");

    QAction *aide =
        r.add(QStringLiteral("AideAide"), QStringLiteral("&Aide Balizor"), QKeySequence(Qt::Key_F1),
              help);
    aide->setToolTip(QStringLiteral("Aide"));
    aide->setStatusTip(aide->toolTip());
    aide->setIcon(Icons::draw(
        [](QPainter &p) { drawCircleSign(p, QColor(40, 100, 200), QStringLiteral("?")); }));
    connect(aide, &QAction::triggered, this, [] { ShowHelpTopic(); });

    QAction *tips =
        r.add(QStringLiteral("AideTips"), QStringLiteral("Trucs && astuces..."), {}, help);
    tips->setToolTip(QStringLiteral("Trucs & astuces"));
    tips->setStatusTip(tips->toolTip());
    connect(tips, &QAction::triggered, this, &HelpCommands::showTips);

    QAction *home = r.add(QStringLiteral("AideAccueil"),
                          QStringLiteral("Page d'accueil de &Balizor..."), {}, help);
    home->setToolTip(QStringLiteral("Page d'accueil de Balizor"));
    home->setStatusTip(home->toolTip());
    connect(home, &QAction::triggered, this, &HelpCommands::openHomePage);

    QAction *updates = r.add(QStringLiteral("AideMiseAJour"),
                             QStringLiteral("&Mises à jour du logiciel..."), {}, help);
    updates->setToolTip(QStringLiteral("Vérifier les mises à jour"));
    updates->setStatusTip(updates->toolTip());
    connect(updates, &QAction::triggered, this, &HelpCommands::openUpdatePage);

    QAction *about =
        r.add(QStringLiteral("AideApropos"), QStringLiteral("A &propos de..."), {}, help);
    about->setToolTip(QStringLiteral("A propos de"));
    about->setStatusTip(about->toolTip());
    about->setIcon(Icons::draw(
        [](QPainter &p) { drawCircleSign(p, QColor(40, 140, 90), QStringLiteral("i")); }));
    connect(about, &QAction::triggered, this, &HelpCommands::showAbout);

    // Only a function is installed now: the help engine is made when help is first asked for.
    setHelpHandler([this](const QString &topic) { showTopic(topic); });

    connect(ctx.events, &AppEvents::firstIdle, this, [this] {
        if (m_ctx.options->showTips) showTips();
    });
    connect(ctx.events, &AppEvents::closing, this, [this] {
        if (m_help) m_help->close();
        if (m_tips) m_tips->close();
    });
}

HelpCommands::~HelpCommands() {
    setHelpHandler({});
}

QMainWindow *HelpCommands::helpWindow() const {
    return m_help;
}
TTipsBox *HelpCommands::tipsBox() const {
    return m_tips;
}

void HelpCommands::showTopic(const QString &topic) {
    // A modal dialog blocks every window but its own: the help window asked for
    // from a dialog's "Aide" belongs to that dialog while it is open.
    QWidget *owner = QApplication::activeModalWidget();
    if (!owner) owner = m_ctx.window;
    if (!m_help) {
        loadHelpTranslation();
        m_help = HelpWindowLoader::create(bookPath, owner);
        if (!m_help) {
            reportHelpMissing();
            return;
        }
    }
    attachHelpWindow(owner);
    QMetaObject::invokeMethod(m_help, "showTopic", Q_ARG(QString, topic));
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void HelpCommands::attachHelpWindow(QWidget *owner) {
    if (m_help->parentWidget() != owner) {
        const bool visible = m_help->isVisible();
        const QRect where = m_help->geometry();
        m_help->setParent(owner, m_help->windowFlags() | Qt::Window);
        m_help->setGeometry(where);
        if (visible) m_help->show();
    }
    if (auto *dialog = qobject_cast<QDialog *>(owner); dialog && owner != m_ctx.window) {
        // Back to the main window when the dialog closes, so that it stays open.
        connect(
            dialog, &QDialog::finished, m_help,
            [this] {
                if (m_help) attachHelpWindow(m_ctx.window);
            },
            Qt::SingleShotConnection);
    }
}

void HelpCommands::showTips() {
    if (m_tips) {
        m_tips->raise();
        m_tips->activateWindow();
        return;
    }
    m_tips = new TTipsBox(&m_ctx.options->showTips, *tipCycle, randomStep, m_ctx.window);
    m_tips->setAttribute(Qt::WA_DeleteOnClose);
    m_tips->show();
}

void HelpCommands::showAbout() {
    TAboutBox box(m_ctx.window);
    box.openSite = [this] { openHomePage(); };
    ui().execDialog(&box);
}

void HelpCommands::openHomePage() {
    const QString address = ProductLinks::homePageAddress();
    if (address.isEmpty())
        ShowHelpTopic(ProductLinks::aboutTopic());
    else
        openAddress(address);
}

void HelpCommands::openUpdatePage() {
    const QString address = ProductLinks::updatePageAddress(About::version());
    if (address.isEmpty())
        ShowHelpTopic(ProductLinks::aboutTopic());
    else
        openAddress(address);
}
