#pragma once

#include "authoring/attribute_text.h"

#include <QString>

// Images, background sounds and videos: the size arithmetic of the image dialog and
// the elements written from the three dialogs' values.
namespace Authoring {

enum class SizeUnit { Pixel = 0, Percent = 1 };

// The alignment list of the image dialog, by index.
enum class ImageAlign {
    Default,
    Top,
    Middle,
    Bottom,
    TextTop,
    AbsMiddle,
    AbsBottom,
    Baseline,
    Left,
    Right
};

struct ImageValues {
    QString source;      // as in the field
    bool picked = false; // the source is a path chosen from disk
    QString width;       // field texts
    SizeUnit widthUnit = SizeUnit::Pixel;
    QString height;
    SizeUnit heightUnit = SizeUnit::Pixel;
    QString border = QStringLiteral("0");
    QString alt;
    QString hspace;
    QString vspace;
    ImageAlign align = ImageAlign::Default;
};

// '<img src=... >', to be inserted with the tag case.
QString BuildImageMarkup(const ImageValues &v, bool xhtml, UrlEncoding encoding);

struct SoundValues {
    QString source;
    bool picked = false;
    QString repetitions = QStringLiteral("1");
};
QString BuildSoundMarkup(const SoundValues &v, bool xhtml, UrlEncoding encoding);

struct VideoValues {
    QString source;
    bool picked = false;
    QString image; // replacement picture
    bool imagePicked = false;
    QString alt;
};
QString BuildVideoMarkup(const VideoValues &v, bool xhtml, UrlEncoding encoding);

// The result of changing a size field's unit.
struct UnitChange {
    bool ok = true; // false: the field is not an integer (error holds the message)
    QString text;   // the field's new text
    QString error;
};

// Converts the field's number from one unit to the other against the natural size
// (0: unknown). To percent: value x 100 / natural, truncated, at most 100; to pixels:
// value x natural / 100 rounded half to even. A 0, an empty field or an unknown
// natural size leaves the field as it is.
UnitChange ConvertSizeUnit(const QString &fieldText, SizeUnit to, int natural);

// Whether a size field is shown in bold: it differs from the natural size, or is a
// percentage other than 100. Never while the natural size is unknown.
bool SizeDiffersFromNatural(const QString &fieldText, SizeUnit unit, int natural);

// The text that "restores" a size: 100 in percent, the natural size in pixels.
QString RestoredSize(SizeUnit unit, int natural);

// The message when a picture's size cannot be read, by its format ("gif", "png"...).
QString ImageReadError(const QString &format);

} // namespace Authoring
