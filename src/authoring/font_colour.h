#pragma once

#include "app/app_settings.h"

class SettingsStore;

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// Colour texts, the font presets and the hexadecimal converter, without widgets.
namespace Authoring {

// A colour as red, green and blue bytes.
struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb &, const Rgb &) = default;
};

// "#RRGGBB" with upper-case digits: the only form in which colours are written.
QString ColourText(const Rgb &colour);
// The same from a value holding red in its low byte (blue in the third).
QString ColourTextFromBgr(quint32 bgr);

// The colour a preset's colour text names: one of the sixteen basic names (any letter
// case), or "#RRGGBB"; nothing otherwise (also for "#" and fewer or other digits).
std::optional<Rgb> ColourFromText(const QString &text);

// The twenty swatches of the colour selector, row by row, four per row.
const std::array<Rgb, 20> &SelectorSwatches();
// Where a colour sits among the swatches; -1 when it is none of them.
int SwatchIndex(const Rgb &colour);

// The sizes the preset dialog offers; "Défaut" stands for an empty size.
QStringList FontSizeChoices();
QString DefaultSizeCaption();

// The opening font tag of a preset: face, size and color, each only when not empty.
// The values are escaped so that the tag stays well formed.
QString FontOpening(const FontPreset &preset);

// A preset's face text split at each comma, each name trimmed; empty names dropped.
QStringList SplitFaces(const QString &faces);
QString JoinFaces(const QStringList &faces);

// The ten preset slots. Slots in use are always the first ones.
class FontPresetList {
public:
    static constexpr int kSlots = 10;
    using Slots = std::array<FontPreset, kSlots>;

    explicit FontPresetList(const Slots &presets = {}) : m_slots(presets) {}
    const Slots &presets() const { return m_slots; }
    int count() const;
    QStringList names() const;
    FontPreset &at(int index) { return m_slots.at(index); }
    const FontPreset &at(int index) const { return m_slots.at(index); }

    enum class NameCheck { Ok, Empty, Exists, Full };
    NameCheck checkNewName(const QString &name) const;
    // Appends a preset with an empty size, colour and face list; returns its slot,
    // or -1 when the name is refused.
    int add(const QString &name);
    // Removes a preset; the later ones move up and the last slot empties. Returns
    // the slot to show next (the previous one, or the first).
    int remove(int index);

    // Adds a face to a preset's list unless empty or already there (any letter case).
    bool addFace(int index, const QString &face);
    void removeFace(int index, int faceIndex);
    // Moves a face one place up (-1) or down (+1); returns its new place.
    int moveFace(int index, int faceIndex, int delta);

private:
    Slots m_slots;
};

// Writes the selected slot and the ten slots to the settings store.
void WriteFontPresets(SettingsStore &store, const FontPresetList::Slots &presets, int selected);

// The messages of the name checks.
QString NameCheckMessage(FontPresetList::NameCheck check);

// The converter's rules: what the two boxes show after one of them changes.
struct HexState {
    QString decimal;
    QString hex;
};
// After the decimal box changed: 256 or more becomes "255"; not a number, or 0, "0";
// a number loses its leading zeros.
HexState DecimalChanged(const QString &decimal);
// After the hexadecimal box changed; the decimal box follows once it holds two digits.
std::optional<HexState> HexChanged(const QString &hex);
// The arrow buttons: one up or down, no wrap.
HexState HexStep(const QString &hex, int delta);

// How the screen colour picker reads the screen on this desktop.
enum class PickerRoute {
    Grab,       // a still copy of the screen, picked from in our own window
    Portal,     // the desktop's own colour-picking service
    Unavailable // neither: say so, never pretend that black was picked
};
struct PickerEnvironment {
    bool wayland = false;      // a Wayland session (also through X11 compatibility)
    bool grabNull = true;      // the screen copy came back empty
    bool grabAllBlack = false; // ...or holds nothing but black pixels
    bool portalAvailable = false;
};
// On Wayland a copy of the screen is black or empty, so the service comes first
// there; elsewhere the copy is used unless it is empty.
PickerRoute ChoosePickerRoute(const PickerEnvironment &env);
QString PickerUnavailableMessage();

} // namespace Authoring
