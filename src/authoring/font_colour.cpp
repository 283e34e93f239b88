#include "authoring/font_colour.h"

#include "app/settings_store.h"
#include "authoring/insertion.h"

namespace Authoring {

namespace {

QString twoHex(int byte) {
    return QStringLiteral("%1").arg(byte & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

bool isHexDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

} // namespace

QString ColourText(const Rgb &colour) {
    return QLatin1Char('#') + twoHex(colour.red) + twoHex(colour.green) + twoHex(colour.blue);
}

QString ColourTextFromBgr(quint32 bgr) {
    return ColourText({int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)});
}

std::optional<Rgb> ColourFromText(const QString &text) {
    static const struct {
        const char *name;
        Rgb rgb;
    } basic[] = {
        {"black", {0, 0, 0}},         {"maroon", {0x80, 0, 0}},     {"green", {0, 0x80, 0}},
        {"olive", {0x80, 0x80, 0}},   {"navy", {0, 0, 0x80}},       {"purple", {0x80, 0, 0x80}},
        {"teal", {0, 0x80, 0x80}},    {"gray", {0x80, 0x80, 0x80}}, {"silver", {0xC0, 0xC0, 0xC0}},
        {"red", {0xFF, 0, 0}},        {"lime", {0, 0xFF, 0}},       {"yellow", {0xFF, 0xFF, 0}},
        {"blue", {0, 0, 0xFF}},       {"fuchsia", {0xFF, 0, 0xFF}}, {"aqua", {0, 0xFF, 0xFF}},
        {"white", {0xFF, 0xFF, 0xFF}}};
    for (const auto &b : basic) {
        if (text.compare(QLatin1String(b.name), Qt::CaseInsensitive) == 0) return b.rgb;
    }
    if (text.size() != 7 || text.at(0) != u'#') return std::nullopt;
    for (int i = 1; i < 7; ++i) {
        if (!isHexDigit(text.at(i))) return std::nullopt;
    }
    auto byte = [&text](int at) { return text.mid(at, 2).toInt(nullptr, 16); };
    return Rgb{byte(1), byte(3), byte(5)};
}

const std::array<Rgb, 20> &SelectorSwatches() {
    static const std::array<Rgb, 20> swatches = {{
        {0xFF, 0xFF, 0xFF}, {0x00, 0x00, 0x00}, {0xC0, 0xC0, 0xC0}, {0x80, 0x80, 0x80},
        {0xFF, 0x00, 0x00}, {0x80, 0x00, 0x00}, {0xFF, 0xFF, 0x00}, {0x80, 0x80, 0x00},
        {0x00, 0xFF, 0x00}, {0x00, 0x80, 0x00}, {0x00, 0xFF, 0xFF}, {0x00, 0x80, 0x80},
        {0x00, 0x00, 0xFF}, {0x00, 0x00, 0x80}, {0xFF, 0x00, 0xFF}, {0x80, 0x00, 0x80},
        {0xC0, 0xDC, 0xC0}, {0xA6, 0xCA, 0xF0}, {0xFF, 0xFB, 0xF0}, {0xA0, 0xA0, 0xA4},
    }};
    return swatches;
}

int SwatchIndex(const Rgb &colour) {
    const auto &s = SelectorSwatches();
    for (int i = 0; i < int(s.size()); ++i) {
        if (s[i] == colour) return i;
    }
    return -1;
}

QString DefaultSizeCaption() {
    return QStringLiteral("Défaut");
}

QStringList FontSizeChoices() {
    QStringList l{DefaultSizeCaption()};
    for (int i = 1; i <= 7; ++i)
        l << QString::number(i);
    for (int i = 1; i <= 7; ++i)
        l << QStringLiteral("+%1").arg(i);
    for (int i = 1; i <= 7; ++i)
        l << QStringLiteral("-%1").arg(i);
    return l;
}

QString FontOpening(const FontPreset &preset) {
    return QStringLiteral("<font") + OptionalEscapedAttribute(QStringLiteral("face"), preset.face) +
           OptionalEscapedAttribute(QStringLiteral("size"), preset.taille) +
           OptionalEscapedAttribute(QStringLiteral("color"), preset.couleur) + QLatin1Char('>');
}

QStringList SplitFaces(const QString &faces) {
    QStringList out;
    for (const QString &f : faces.split(QLatin1Char(','))) {
        const QString name = f.trimmed();
        if (!name.isEmpty()) out << name;
    }
    return out;
}

QString JoinFaces(const QStringList &faces) {
    return faces.join(QStringLiteral(", "));
}

int FontPresetList::count() const {
    int n = 0;
    while (n < kSlots && !m_slots[n].nom.isEmpty())
        ++n;
    return n;
}

QStringList FontPresetList::names() const {
    QStringList l;
    for (int i = 0; i < count(); ++i)
        l << m_slots[i].nom;
    return l;
}

FontPresetList::NameCheck FontPresetList::checkNewName(const QString &name) const {
    if (count() >= kSlots) return NameCheck::Full;
    if (name.isEmpty()) return NameCheck::Empty;
    if (names().contains(name, Qt::CaseInsensitive)) return NameCheck::Exists;
    return NameCheck::Ok;
}

int FontPresetList::add(const QString &name) {
    if (checkNewName(name) != NameCheck::Ok) return -1;
    const int slot = count();
    m_slots[slot] = FontPreset{name, {}, {}, {}};
    return slot;
}

int FontPresetList::remove(int index) {
    const int n = count();
    if (index < 0 || index >= n) return 0;
    for (int i = index; i < kSlots - 1; ++i)
        m_slots[i] = m_slots[i + 1];
    m_slots[kSlots - 1] = FontPreset{};
    return index > 0 ? index - 1 : 0;
}

bool FontPresetList::addFace(int index, const QString &face) {
    const QString name = face.trimmed();
    QStringList faces = SplitFaces(m_slots.at(index).face);
    if (name.isEmpty() || faces.contains(name, Qt::CaseInsensitive)) return false;
    faces << name;
    m_slots.at(index).face = JoinFaces(faces);
    return true;
}

void FontPresetList::removeFace(int index, int faceIndex) {
    QStringList faces = SplitFaces(m_slots.at(index).face);
    if (faceIndex < 0 || faceIndex >= faces.size()) return;
    faces.removeAt(faceIndex);
    m_slots.at(index).face = JoinFaces(faces);
}

int FontPresetList::moveFace(int index, int faceIndex, int delta) {
    QStringList faces = SplitFaces(m_slots.at(index).face);
    const int to = faceIndex + delta;
    if (faceIndex < 0 || faceIndex >= faces.size() || to < 0 || to >= faces.size())
        return faceIndex;
    faces.move(faceIndex, to);
    m_slots.at(index).face = JoinFaces(faces);
    return to;
}

void WriteFontPresets(SettingsStore &store, const FontPresetList::Slots &presets, int selected) {
    store.writeInteger(QStringLiteral("Fonts"), QStringLiteral("Select"), selected);
    for (int i = 0; i < FontPresetList::kSlots; ++i) {
        const QString sec = QStringLiteral("Fonts\\Font%1").arg(i + 1);
        const FontPreset &f = presets[i];
        store.writeString(sec, QStringLiteral("Nom"), f.nom);
        store.writeString(sec, QStringLiteral("Taille"), f.taille);
        store.writeString(sec, QStringLiteral("Couleur"), f.couleur);
        store.writeString(sec, QStringLiteral("Face"), f.face);
    }
}

QString NameCheckMessage(FontPresetList::NameCheck check) {
    switch (check) {
    case FontPresetList::NameCheck::Empty:
        return QStringLiteral("Le nom de modèle est vide");
    case FontPresetList::NameCheck::Exists:
        return QStringLiteral("Ce nom de modèle existe déjà.\r\nChoisissez un nouveau nom.");
    case FontPresetList::NameCheck::Full:
        return QStringLiteral("Le maximum de modèles est atteint.\r\n"
                              "Supprimez un modèle pour pouvoir en créer un nouveau.");
    case FontPresetList::NameCheck::Ok:
        break;
    }
    return {};
}

HexState DecimalChanged(const QString &decimal) {
    bool ok = false;
    const int v = decimal.toInt(&ok);
    if (!ok || v <= 0) return {QStringLiteral("0"), QStringLiteral("00")};
    if (v >= 256) return {QStringLiteral("255"), QStringLiteral("FF")};
    // Without leading zeros: a digit typed after the "0" of a cleared box replaces it.
    return {QString::number(v), twoHex(v)};
}

std::optional<HexState> HexChanged(const QString &hex) {
    if (hex.size() != 2 || !isHexDigit(hex.at(0)) || !isHexDigit(hex.at(1))) return std::nullopt;
    const int v = hex.toInt(nullptr, 16);
    return HexState{QString::number(v), hex.toUpper()};
}

HexState HexStep(const QString &hex, int delta) {
    bool ok = false;
    int v = hex.toInt(&ok, 16);
    if (!ok) v = 0;
    v = qBound(0, v + delta, 255);
    return {QString::number(v), twoHex(v)};
}

PickerRoute ChoosePickerRoute(const PickerEnvironment &env) {
    const bool grabUsable = !env.grabNull && !(env.wayland && env.grabAllBlack);
    if (env.wayland && env.portalAvailable) return PickerRoute::Portal;
    if (grabUsable) return PickerRoute::Grab;
    return env.portalAvailable ? PickerRoute::Portal : PickerRoute::Unavailable;
}

QString PickerUnavailableMessage() {
    return QStringLiteral("La pipette ne peut pas lire les couleurs de l'écran sur ce bureau.\r\n"
                          "Choisissez la couleur dans la palette ou avec \"Plus de couleurs...\".");
}

} // namespace Authoring
