#include "authoring/ui/media_boxes.h"

#include "authoring/ui/insertion_glue.h"
#include "authoring/ui/up_down.h"
#include "app/ui/help.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kSoundFilter =
    QStringLiteral("Fichiers son (*.wav;*.mid;*.au)|*.wav;*.mid;*.au|Fichiers wav (*.wav)|*.wav|"
                   "Fichiers Midi (*.mid)|*.mid|Fichiers audio (*.au)|*.au|Tous les fichiers "
                   "(*.*)|*.*");
const QString kVideoFilter = QStringLiteral(
    "Fichiers vidéo (*.avi)|*.avi|Vidéo AVI (*.avi)|*.avi|Tous les fichiers (*.*)|*.*");
const QString kImageFilter = QStringLiteral(
    "Fichiers image (*.gif;*.jpg;*.jpeg;*.png)|*.gif;*.jpg;*.jpeg;*.png|Gif image "
    "(*.gif)|*.gif|Jpeg image (*.jpg;*.jpeg)|*.jpg;*.jpeg|PNG image (*.png)|*.png|"
    "Autres images (*.webp;*.svg;*.bmp)|*.webp;*.svg;*.bmp|Tous les fichiers (*.*)|*.*");

// A field filled by browsing remembers that its text is a path from disk.
void browseInto(const DialogParts::FileBrowser &browser, const QString &filter, QComboBox *combo,
                QStringList &picked) {
    if (!browser) return;
    const auto file = browser(filter);
    if (!file) return;
    DialogParts::fillBrowsedPath(combo, file->url);
    picked << file->url;
}

void browseInto(const DialogParts::FileBrowser &browser, const QString &filter, QLineEdit *field,
                QStringList &picked) {
    if (!browser) return;
    const auto file = browser(filter);
    if (!file) return;
    field->setText(file->url);
    Markup::SelectPathFolder(field);
    picked << file->url;
}

} // namespace

TSonBox::TSonBox(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TSonBox"));
    setWindowTitle(QStringLiteral("Effet sonore"));
    m_source = DialogParts::historyCombo(this, "SonEdit");
    auto *browse = DialogParts::browseButton(this);
    m_repeat = DialogParts::numberField(this, "EditRep");
    auto *upDown = new UpDown(m_repeat, 0, 9999, this);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Source :"), this), 0, 0);
    grid->addWidget(m_source, 0, 1, 1, 3);
    grid->addWidget(browse, 0, 4);
    grid->addWidget(new QLabel(QStringLiteral("Répétitions :"), this), 1, 0);
    grid->addWidget(m_repeat, 1, 1);
    grid->addWidget(upDown, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("( 0 = infini )"), this), 1, 3);
    grid->setColumnStretch(3, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(DialogParts::okCancelHelp(
        this, [] { ShowHelpTopic(QStringLiteral("Ressources/son.htm")); }));

    connect(browse, &QToolButton::clicked, this,
            [this] { browseInto(m_browser, kSoundFilter, m_source, m_picked); });
    prepareForShow();
}

Authoring::SoundValues TSonBox::values() const {
    Authoring::SoundValues v;
    v.source = m_source->currentText();
    v.picked = m_picked.contains(v.source);
    v.repetitions = m_repeat->text();
    return v;
}

void TSonBox::rememberCurrent() {
    const QString source = m_source->currentText();
    if (source.isEmpty()) return;
    m_history.add(source);
    DialogParts::setHistory(m_source, m_history.items());
}

void TSonBox::prepareForShow() {
    m_source->setEditText(QString());
    m_repeat->setText(QStringLiteral("1"));
}

void TSonBox::showEvent(QShowEvent *event) {
    if (!event->spontaneous()) prepareForShow();
    QDialog::showEvent(event);
    m_source->setFocus();
}

TVideoBox::TVideoBox(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TVideoBox"));
    setWindowTitle(QStringLiteral("Vidéo"));
    m_source = DialogParts::historyCombo(this, "VideoEdit");
    auto *browseVideo = DialogParts::browseButton(this, "BoutParcourirVideo");
    m_image = new QLineEdit(this);
    m_image->setObjectName(QStringLiteral("ImgEdit"));
    auto *browseImage = DialogParts::browseButton(this, "BoutParcourirImage");
    m_alt = new QLineEdit(this);
    m_alt->setObjectName(QStringLiteral("AltEdit"));

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Source :"), this), 0, 0);
    grid->addWidget(m_source, 0, 1);
    grid->addWidget(browseVideo, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Image de remplacement :"), this), 1, 0);
    grid->addWidget(m_image, 1, 1);
    grid->addWidget(browseImage, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Texte de remplacement :"), this), 2, 0);
    grid->addWidget(m_alt, 2, 1);
    grid->setColumnStretch(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(DialogParts::okCancelHelp(
        this, [] { ShowHelpTopic(QStringLiteral("Ressources/video.htm")); }));

    connect(browseVideo, &QToolButton::clicked, this,
            [this] { browseInto(m_browser, kVideoFilter, m_source, m_picked); });
    connect(browseImage, &QToolButton::clicked, this,
            [this] { browseInto(m_browser, kImageFilter, m_image, m_picked); });
    connect(m_source, &QComboBox::editTextChanged, this, &TVideoBox::sourceChanged);
    prepareForShow();
}

Authoring::VideoValues TVideoBox::values() const {
    Authoring::VideoValues v;
    v.source = m_source->currentText();
    v.picked = m_picked.contains(v.source);
    v.image = m_image->text();
    v.imagePicked = m_picked.contains(v.image);
    v.alt = m_alt->text();
    return v;
}

void TVideoBox::rememberCurrent() {
    const Authoring::VideoValues v = values();
    if (v.source.isEmpty()) return;
    m_history.add({v.source, v.image, v.alt},
                  [](const Entry &a, const Entry &b) { return a.source == b.source; });
    DialogParts::setHistory(m_source, history());
}

QStringList TVideoBox::history() const {
    QStringList l;
    for (const Entry &e : m_history.items())
        l << e.source;
    return l;
}

void TVideoBox::sourceChanged(const QString &text) {
    for (const Entry &e : m_history.items()) {
        if (e.source != text) continue;
        m_image->setText(e.image);
        m_alt->setText(e.alt);
        return;
    }
}

void TVideoBox::prepareForShow() {
    const QSignalBlocker block(m_source);
    m_source->setEditText(QString());
    m_image->clear();
    m_alt->clear();
}

void TVideoBox::showEvent(QShowEvent *event) {
    if (!event->spontaneous()) prepareForShow();
    QDialog::showEvent(event);
    m_source->setFocus();
}
