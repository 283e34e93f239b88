#pragma once

#include <QString>

#include <array>

// The frameset pages of the frames wizard: eight preset layouts of up to four frames.
namespace Authoring {

enum class Scrolling { Auto, Yes, No };

struct FrameValues {
    QString name;
    QString source;
    int size = -1; // pixels or percent; negative: "*"
    bool percent = false;
    bool noResize = false;
    Scrolling scrolling = Scrolling::Auto;
    bool border = true;
    int topMargin = -1; // negative: no margin attributes
    int leftMargin = -1;
    friend bool operator==(const FrameValues &, const FrameValues &) = default;
};

constexpr int kFrameLayoutCount = 8;
using FrameSet = std::array<FrameValues, 4>;

// How many frames a layout has (2 to 4) and their starting values.
int FrameCount(int layout);
FrameSet DefaultFrames(int layout);
// Whether frame `index` (0-based) of a layout sets a column width ("Largeur") rather
// than a row height ("Hauteur").
bool FrameSizeIsWidth(int layout, int index);

// "*" for a negative size, else the number with "%" when `percent`.
QString FrameSizeText(int size, bool percent);

// The frameset text of a layout: tag lines through the tag case, the no-frames text
// as given, CR LF between lines.
QString BuildFramesetText(int layout, const FrameSet &frames, const QString &noFrames, bool casse,
                          bool xhtml);
// The whole page around it.
QString BuildFramesDocument(int layout, const FrameSet &frames, const QString &noFrames, bool casse,
                            bool xhtml);

// The no-frames text the wizard starts with.
QString DefaultNoFramesText(bool casse, bool xhtml);

} // namespace Authoring
