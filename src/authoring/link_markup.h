#pragma once

#include "authoring/attribute_text.h"

#include <QString>
#include <QStringList>

// Links, named anchors and e-mail links.
namespace Authoring {

struct LinkValues {
    QString address;
    bool picked = false; // the address is a path chosen from disk
    QString target;
};

// The opening tag '<a href="..." target="...">'; the closing tag is "</a>".
QString BuildLinkOpening(const LinkValues &v, UrlEncoding encoding);

// What the target list explains for a target ("" for any other text).
QString TargetDescription(const QString &target);

// '<a name="NAME"></a>', to be put before the selection raw: the tag case is applied
// here to each tag, so that the end tag follows it too. The name is encoded as a typed
// link address is: the "%XX" escapes it holds are kept.
QString BuildAnchorMarkup(const QString &name, UrlEncoding encoding, bool casse = false);

// What the anchor dialog offers: its own remembered names with the fragments of the
// link addresses that start with "#" added, the most recent first; the field shows
// the most recent fragment, or nothing when no address has one.
struct AnchorOffer {
    QStringList names;
    QString text;
};
AnchorOffer AnchorNamesFromLinks(const QStringList &linkHistory, const QStringList &anchorNames);

// An "@" after the first character and a dot after it that is not the last character.
bool LooksLikeEmailAddress(const QString &text);
// The bare address taken out of a selection such as 'Écrire à : <nom@site.fr> merci'.
QString ExtractEmailAddress(const QString &text);

// '<a href="mailto:ADDRESS?subject=SUBJECT">': the address as typed, so that headers
// typed with it ("?cc=...") stay headers, and the subject percent-encoded in UTF-8
// (joined with "&" when the address already has headers). The subject part is left
// out when it is empty; the value is escaped as any attribute value.
QString BuildMailOpening(const QString &address, const QString &subject);

} // namespace Authoring
