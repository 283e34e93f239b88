#pragma once

#include <QString>

namespace Assist {

enum class CaseChange { Upper, Lower, Invert, Capitalize, Sentence };

// Rewrites the letter case of a selected text. A character whose case form would
// change its length, or that the document's code page could not hold (when
// `windows1252`), keeps its case.
QString ChangeCase(const QString &text, CaseChange change, bool windows1252);

} // namespace Assist
