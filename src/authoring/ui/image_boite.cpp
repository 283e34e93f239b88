#include "authoring/ui/image_boite.h"

#include "app/ui/ui_services.h"
#include "authoring/ui/image_probe.h"
#include "authoring/ui/png_scaled.h"
#include "authoring/ui/up_down.h"
#include "app/ui/help.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QShowEvent>
#include <QThread>
#include <QToolButton>
#include <QVBoxLayout>

using Authoring::SizeUnit;

namespace {

const QSize kPreviewBox(180, 180);
constexpr int kSizeDigits = 6;
constexpr int kSizeMaximum = 999999;

const QString kImageFilter = QStringLiteral(
    "Fichiers image (*.gif;*.jpg;*.jpeg;*.png)|*.gif;*.jpg;*.jpeg;*.png|Gif image "
    "(*.gif)|*.gif|Jpeg image (*.jpg;*.jpeg)|*.jpg;*.jpeg|PNG image (*.png)|*.png|"
    "Autres images (*.webp;*.svg;*.bmp)|*.webp;*.svg;*.bmp|Tous les fichiers (*.*)|*.*");

// The two-way arrow of the restore pictures.
QIcon restoreIcon(bool horizontal) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (!horizontal) {
        p.translate(16, 0);
        p.rotate(90);
    }
    p.setPen(QPen(QColor(30, 90, 180), 1.6));
    p.drawLine(QPointF(2.5, 8), QPointF(13.5, 8));
    p.setBrush(QColor(30, 90, 180));
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF() << QPointF(1, 8) << QPointF(5, 4.5) << QPointF(5, 11.5));
    p.drawPolygon(QPolygonF() << QPointF(15, 8) << QPointF(11, 4.5) << QPointF(11, 11.5));
    p.end();
    return QIcon(pm);
}

} // namespace

TImage_Boite::TImage_Boite(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TImage_Boite"));
    setWindowTitle(QStringLiteral("Image"));

    auto *sourceGroup = new QGroupBox(QStringLiteral("Fichier de référence :"), this);
    m_source = DialogParts::historyCombo(sourceGroup, "Edit_SRC");
    auto *browseButton = DialogParts::browseButton(sourceGroup);
    auto *sourceRow = new QHBoxLayout(sourceGroup);
    sourceRow->addWidget(new QLabel(QStringLiteral("SRC ="), sourceGroup));
    sourceRow->addWidget(m_source, 1);
    sourceRow->addWidget(browseButton);

    auto *sizes = new QGridLayout;
    auto sizeRow = [&](SizeRow &row, int line, const QString &label, const char *field,
                       const char *unit, const char *picture, const QString &hint,
                       bool horizontal) {
        // Wide enough for the natural size of any picture, not only of small ones.
        row.field = DialogParts::numberField(this, field, kSizeDigits);
        auto *upDown = new UpDown(row.field, 0, kSizeMaximum, this);
        row.unit = new QComboBox(this);
        row.unit->setObjectName(QLatin1String(unit));
        row.unit->addItems({QStringLiteral("pixel"), QStringLiteral("pourcent")});
        auto *restoreButton = new QToolButton(this);
        restoreButton->setObjectName(QLatin1String(picture));
        restoreButton->setIcon(restoreIcon(horizontal));
        restoreButton->setToolTip(hint);
        restoreButton->setAutoRaise(true);
        auto *l = new QLabel(label, this);
        l->setBuddy(row.field);
        sizes->addWidget(l, line, 0);
        sizes->addWidget(row.field, line, 1);
        sizes->addWidget(upDown, line, 2);
        sizes->addWidget(row.unit, line, 3);
        sizes->addWidget(restoreButton, line, 4);
        connect(row.field, &QLineEdit::textChanged, this, &TImage_Boite::updateEmphasis);
        connect(row.unit, &QComboBox::currentIndexChanged, this,
                [this, &row, horizontal] { unitChanged(row, horizontal); });
        connect(restoreButton, &QToolButton::clicked, this,
                [this, &row, horizontal] { restore(row, horizontal); });
    };
    sizeRow(m_width, 0, QStringLiteral("Largeur"), "Edit_Width", "UniteLargeur", "Image1",
            QStringLiteral("Rétablir la largeur"), true);
    sizeRow(m_height, 1, QStringLiteral("Hauteur"), "Edit_Height", "UniteHauteur", "Image2",
            QStringLiteral("Rétablir la hauteur"), false);

    m_border = DialogParts::numberField(this, "Edit_Bordure");
    auto *borderUpDown = new UpDown(m_border, 0, 99, this);
    sizes->addWidget(new QLabel(QStringLiteral("Bordure"), this), 2, 0);
    sizes->addWidget(m_border, 2, 1);
    sizes->addWidget(borderUpDown, 2, 2);
    sizes->addWidget(new QLabel(QStringLiteral("( 0 = aucune bordure )"), this), 2, 3, 1, 2);
    m_hspace = DialogParts::numberField(this, "EditHSpace");
    m_vspace = DialogParts::numberField(this, "EditVSpace");
    sizes->addWidget(new QLabel(QStringLiteral("Espacement horizontal"), this), 3, 0, 1, 3);
    sizes->addWidget(m_hspace, 3, 3);
    sizes->addWidget(new QLabel(QStringLiteral("Espacement vertical"), this), 4, 0, 1, 3);
    sizes->addWidget(m_vspace, 4, 3);
    m_align = new QComboBox(this);
    m_align->setObjectName(QStringLiteral("CBAlignement"));
    m_align->addItems({QStringLiteral("Défaut"), QStringLiteral("Haut"), QStringLiteral("Milieu"),
                       QStringLiteral("Bas"), QStringLiteral("Haut du texte"),
                       QStringLiteral("Milieu absolu"), QStringLiteral("Bas absolu"),
                       QStringLiteral("Ligne de base"), QStringLiteral("Gauche"),
                       QStringLiteral("Droite")});
    sizes->addWidget(new QLabel(QStringLiteral("Alignement"), this), 5, 0, 1, 3);
    sizes->addWidget(m_align, 5, 3, 1, 2);
    sizes->setColumnStretch(5, 1);

    auto *altGroup = new QGroupBox(QStringLiteral("Texte de remplacement :"), this);
    m_alt = new QLineEdit(altGroup);
    m_alt->setObjectName(QStringLiteral("Edit_Alt"));
    auto *altRow = new QHBoxLayout(altGroup);
    altRow->addWidget(new QLabel(QStringLiteral("ALT ="), altGroup));
    altRow->addWidget(m_alt, 1);

    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("Preview"));
    m_preview->setToolTip(QStringLiteral("Aperçu"));
    m_preview->setFrameShape(QFrame::StyledPanel);
    m_preview->setFrameShadow(QFrame::Sunken);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setWordWrap(true);
    m_preview->setFixedSize(kPreviewBox + QSize(4, 4));
    m_stretch = new QCheckBox(QStringLiteral("Ajuster l'aperçu"), this);
    m_stretch->setObjectName(QStringLiteral("StretchCheck"));
    auto *previewColumn = new QVBoxLayout;
    previewColumn->addWidget(m_preview);
    previewColumn->addWidget(m_stretch);
    previewColumn->addStretch();

    auto *left = new QVBoxLayout;
    left->addLayout(sizes);
    left->addWidget(altGroup);
    auto *middle = new QHBoxLayout;
    middle->addLayout(left, 1);
    middle->addLayout(previewColumn);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(sourceGroup);
    layout->addLayout(middle);
    layout->addLayout(DialogParts::okCancelHelp(
        this, [] { ShowHelpTopic(QStringLiteral("Ressources/image.htm")); }));

    connect(browseButton, &QToolButton::clicked, this, &TImage_Boite::browse);
    connect(m_source, &QComboBox::editTextChanged, this, &TImage_Boite::sourceChanged);
    connect(m_stretch, &QCheckBox::toggled, this, &TImage_Boite::showPreview);

    prepareForShow();
}

Authoring::ImageValues TImage_Boite::values() const {
    Authoring::ImageValues v;
    v.source = m_source->currentText();
    v.picked = !v.source.isEmpty() && v.source == m_pickedSource;
    v.width = m_width.field->text();
    v.widthUnit = unitOf(m_width);
    v.height = m_height.field->text();
    v.heightUnit = unitOf(m_height);
    v.border = m_border->text();
    v.alt = m_alt->text();
    v.hspace = m_hspace->text();
    v.vspace = m_vspace->text();
    v.align = static_cast<Authoring::ImageAlign>(std::max(0, m_align->currentIndex()));
    return v;
}

void TImage_Boite::rememberCurrent() {
    const Authoring::ImageValues v = values();
    if (v.source.isEmpty()) return;
    Entry e{v.source,     v.picked, v.picked ? m_path : QString(), v.width, v.height, v.widthUnit,
            v.heightUnit, v.alt};
    m_history.add(e, [](const Entry &a, const Entry &b) { return a.source == b.source; });
    DialogParts::setHistory(m_source, history());
}

QStringList TImage_Boite::history() const {
    QStringList l;
    for (const Entry &e : m_history.items())
        l << e.source;
    return l;
}

void TImage_Boite::prepareForShow() {
    const QSignalBlocker block(m_source);
    m_source->setEditText(QString());
    m_pickedSource.clear();
    m_width.field->clear();
    m_height.field->clear();
    for (SizeRow *row : {&m_width, &m_height}) {
        const QSignalBlocker blockUnit(row->unit);
        row->unit->setCurrentIndex(0);
        row->lastUnit = SizeUnit::Pixel;
    }
    m_border->setText(QStringLiteral("0"));
    m_alt->clear();
    m_align->setCurrentIndex(0);
    m_natural = QSize();
    updateEmphasis();
}

void TImage_Boite::showEvent(QShowEvent *event) {
    if (!event->spontaneous()) prepareForShow();
    QDialog::showEvent(event);
    m_source->setFocus();
}

void TImage_Boite::browse() {
    if (!m_browser) return;
    const std::optional<DialogParts::BrowsedFile> file = m_browser(kImageFilter);
    if (!file) return;
    {
        const QSignalBlocker block(m_source);
        DialogParts::fillBrowsedPath(m_source, file->url);
    }
    m_pickedSource = file->url;
    for (SizeRow *row : {&m_width, &m_height}) {
        const QSignalBlocker blockUnit(row->unit);
        row->unit->setCurrentIndex(0);
        row->lastUnit = SizeUnit::Pixel;
    }
    loadPicture(file->path);
}

void TImage_Boite::loadPicture(const QString &path) {
    const ImageProbe::Info info = ImageProbe::read(path);
    // The size of the picture shown before no longer applies, even when this one's
    // cannot be read.
    m_natural = QSize();
    if (!info.exists) {
        updateEmphasis();
        return;
    }
    m_path = path;
    showPreview();
    if (!info.ok) {
        ui().message(MsgType::Error, MsgButtons::Ok,
                     Authoring::ImageReadError(QString::fromLatin1(info.format)));
        updateEmphasis();
        return;
    }
    m_natural = info.size;
    m_width.field->setText(Authoring::RestoredSize(unitOf(m_width), m_natural.width()));
    m_height.field->setText(Authoring::RestoredSize(unitOf(m_height), m_natural.height()));
    updateEmphasis();
}

void TImage_Boite::sourceChanged(const QString &text) {
    // A source equal to a remembered one brings back what went with it.
    for (const Entry &e : m_history.items()) {
        if (e.source != text) continue;
        m_pickedSource = e.picked ? e.source : QString();
        m_natural = QSize();
        if (!e.path.isEmpty()) {
            const ImageProbe::Info info = ImageProbe::read(e.path);
            m_path = e.path;
            if (info.ok) m_natural = info.size;
            showPreview();
        }
        for (auto [row, unit] :
             {std::pair{&m_width, e.widthUnit}, std::pair{&m_height, e.heightUnit}}) {
            const QSignalBlocker blockUnit(row->unit);
            row->unit->setCurrentIndex(int(unit));
            row->lastUnit = unit;
        }
        m_width.field->setText(e.width);
        m_height.field->setText(e.height);
        m_alt->setText(e.alt);
        updateEmphasis();
        return;
    }
}

void TImage_Boite::unitChanged(SizeRow &row, bool horizontal) {
    const SizeUnit to = unitOf(row);
    if (to == row.lastUnit) return;
    const Authoring::UnitChange change =
        Authoring::ConvertSizeUnit(row.field->text(), to, natural(horizontal));
    if (!change.ok) {
        ui().message(MsgType::Error, MsgButtons::Ok, change.error);
        const QSignalBlocker block(row.unit);
        row.unit->setCurrentIndex(int(row.lastUnit));
        return;
    }
    row.lastUnit = to;
    row.field->setText(change.text);
    updateEmphasis();
}

void TImage_Boite::restore(SizeRow &row, bool horizontal) {
    const SizeUnit unit = unitOf(row);
    if (unit == SizeUnit::Pixel && natural(horizontal) <= 0) return;
    row.field->setText(Authoring::RestoredSize(unit, natural(horizontal)));
}

void TImage_Boite::updateEmphasis() {
    for (auto [row, horizontal] : {std::pair{&m_width, true}, std::pair{&m_height, false}}) {
        QFont f = row->field->font();
        f.setBold(Authoring::SizeDiffersFromNatural(row->field->text(), unitOf(*row),
                                                    natural(horizontal)));
        row->field->setFont(f);
    }
}

TImage_Boite::~TImage_Boite() {
    cancelBackgroundPreview();
    if (m_previewThread) m_previewThread->wait();
}

void TImage_Boite::showPreview() {
    if (m_path.isEmpty()) return;
    cancelBackgroundPreview();
    const ImageProbe::Preview p = ImageProbe::preview(m_path, kPreviewBox, m_stretch->isChecked());
    setPreview(p.image, p.error);
    if (p.rowByRow) decodeInBackground(m_path, p.target);
}

void TImage_Boite::setPreview(const QImage &image, const QString &text) {
    m_preview->setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
    m_preview->setText(image.isNull() ? text : QString());
    if (!image.isNull() || !text.isEmpty()) emit previewShown();
}

void TImage_Boite::decodeInBackground(const QString &path, const QSize &target) {
    auto cancel = std::make_shared<std::atomic_bool>(false);
    m_previewCancel = cancel;
    QPointer<TImage_Boite> self(this);
    QThread *thread = QThread::create([self, cancel, path, target] {
        const QImage image = DecodePngScaled(path, target, *cancel);
        // Back in the window's thread, unless a newer preview took over.
        QMetaObject::invokeMethod(
            qApp,
            [self, cancel, image] {
                if (!self || cancel->load()) return;
                self->setPreview(image, QStringLiteral("Aperçu impossible"));
            },
            Qt::QueuedConnection);
    });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    m_previewThread = thread;
    thread->start(QThread::LowPriority);
}

void TImage_Boite::cancelBackgroundPreview() {
    if (m_previewCancel) m_previewCancel->store(true);
    m_previewCancel.reset();
}

int TImage_Boite::natural(bool horizontal) const {
    if (m_natural.isEmpty()) return 0;
    return horizontal ? m_natural.width() : m_natural.height();
}

SizeUnit TImage_Boite::unitOf(const SizeRow &row) {
    return row.unit->currentIndex() == 1 ? SizeUnit::Percent : SizeUnit::Pixel;
}
