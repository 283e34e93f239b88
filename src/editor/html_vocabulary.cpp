#include "editor/html_vocabulary.h"

#include "editor/scan_support.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

namespace HtmlVocabulary {

namespace {

const char *const ClassicElements =
    "a abbr acronym address applet area b base basefont bdo bgsound big blockquote body br "
    "button caption center cite code col colgroup dd del dfn dir div dl dt em fieldset font "
    "form frame frameset h1 h2 h3 h4 h5 h6 head hr html i iframe img input ins isindex kbd "
    "label legend li link map menu meta noframes noscript object ol optgroup option p param "
    "pre q s samp script select small span strike strong style sub sup table tbody td "
    "textarea tfoot th thead title tr tt u ul var";

const char *const CurrentElements =
    "article aside audio bdi canvas data datalist details dialog embed figcaption figure "
    "footer header hgroup main mark math meter nav output picture progress rp rt ruby search "
    "section slot source summary svg template time track video wbr";

// Browser-specific elements of old pages: still coloured as tags.
const char *const LegacyElements = "blink ilayer keygen layer listing marquee multicol nobr "
                                   "noembed nolayer plaintext spacer xmp";

// Which elements accept which attributes. `except` rows name the elements left
// out of every element the view knows.
struct Row {
    const char *attributes;
    const char *elements;
    bool except;
};

const Row ClassicRows[] = {
    {"abbr axis colspan headers nowrap rowspan scope", "td th", false},
    {"accept-charset action enctype method onreset onsubmit", "form", false},
    {"accept", "form input", false},
    {"accesskey", "a area button input label legend textarea", false},
    {"align",
     "applet caption col colgroup div h1 h2 h3 h4 h5 h6 hr iframe img input legend object p "
     "table tbody td tfoot th thead tr",
     false},
    {"alink link text vlink", "body", false},
    {"alt", "applet area img input", false},
    {"archive codebase", "applet object", false},
    {"background", "body td th", false},
    {"bgcolor", "body table td th tr", false},
    {"border", "img object table", false},
    {"cellpadding cellspacing frame rules summary", "table", false},
    {"char charoff valign", "col colgroup tbody td tfoot th thead tr", false},
    {"charset", "a link script", false},
    {"checked maxlength", "input", false},
    {"cite", "blockquote del ins q", false},
    {"class style", "base basefont head html meta param script style title", true},
    {"classid codetype data declare standby", "object", false},
    {"clear", "br", false},
    {"code object", "applet", false},
    {"color face", "basefont font", false},
    {"cols rows", "frameset textarea", false},
    {"compact", "dir dl menu ol ul", false},
    {"content http-equiv scheme", "meta", false},
    {"coords", "a", false},
    {"datetime", "del ins", false},
    {"defer language", "script", false},
    {"dir lang", "applet base basefont br frame frameset iframe param script", true},
    {"disabled", "button input optgroup option select textarea", false},
    {"for", "label", false},
    {"frameborder marginheight marginwidth scrolling", "frame iframe", false},
    {"height", "applet iframe img object td th", false},
    {"href", "a area base link", false},
    {"hreflang rel rev", "a link", false},
    {"hspace vspace", "applet img object", false},
    {"id", "base head html meta script style title", true},
    {"ismap", "img input", false},
    {"label", "optgroup option", false},
    {"longdesc", "frame iframe img", false},
    {"media", "link style", false},
    {"multiple", "select", false},
    {"name", "a applet button form frame iframe img input map meta object param select textarea",
     false},
    {"nohref", "area", false},
    {"noresize", "frame", false},
    {"noshade", "hr", false},
    {"onblur onfocus", "a area button input label select textarea", false},
    {"onchange", "input select textarea", false},
    {"onclick ondblclick onkeydown onkeypress onkeyup onmousedown onmousemove onmouseout "
     "onmouseover onmouseup",
     "applet base basefont bdo br font frame frameset head html iframe isindex meta param "
     "script style title",
     true},
    {"onload onunload", "body frameset", false},
    {"onselect readonly", "input textarea", false},
    {"profile", "head", false},
    {"prompt", "isindex", false},
    {"selected", "option", false},
    {"shape", "a area", false},
    {"size", "basefont font hr input select", false},
    {"span", "col colgroup", false},
    {"src", "frame iframe img input script", false},
    {"start", "ol", false},
    {"tabindex", "a area button input object select textarea", false},
    {"target", "a area base form link", false},
    {"title", "base basefont head html meta param script title", true},
    {"type", "a button input li link object ol param script style ul", false},
    {"usemap", "img input object", false},
    {"value", "button input li option param", false},
    {"valuetype", "param", false},
    {"version", "html", false},
    {"width", "applet col colgroup hr iframe img object pre table td th", false},
};

// Today's HTML, on top of the classic rows.
const char *const NotInBody = "base basefont head html meta param script style title";

const Row CurrentRows[] = {
    {"accesskey tabindex hidden role data-* aria-label aria-labelledby aria-describedby "
     "aria-hidden aria-expanded aria-live contenteditable draggable spellcheck translate inert "
     "popover",
     NotInBody, true},
    {"oninput oninvalid", "form input select textarea", false},
    {"onscroll onwheel oncontextmenu", NotInBody, true},
    {"onload onerror", "body iframe img link script video audio source track", false},
    {"download ping referrerpolicy", "a area", false},
    {"loading", "img iframe", false},
    {"decoding fetchpriority", "img", false},
    {"srcset sizes", "img source", false},
    {"crossorigin", "img link script video audio", false},
    {"referrerpolicy", "img iframe link script", false},
    {"integrity", "link script", false},
    {"async nomodule nonce", "script", false},
    {"nonce", "style", false},
    {"as", "link", false},
    {"sizes", "link", false},
    {"charset", "meta", false},
    {"autocomplete", "form input select textarea", false},
    {"novalidate", "form", false},
    {"autofocus", "button input select textarea", false},
    {"placeholder minlength maxlength inputmode dirname required", "input textarea", false},
    {"required", "select", false},
    {"pattern min max step list multiple", "input", false},
    {"wrap", "textarea", false},
    {"form", "button fieldset input label object output select textarea", false},
    {"formaction formenctype formmethod formnovalidate formtarget", "button input", false},
    {"disabled name", "fieldset", false},
    {"for name", "output", false},
    {"autoplay controls loop muted preload src", "audio video", false},
    {"poster playsinline width height", "video", false},
    {"src type", "embed source", false},
    {"width height", "canvas embed", false},
    {"media", "source", false},
    {"kind src srclang label default", "track", false},
    {"allow allowfullscreen sandbox srcdoc", "iframe", false},
    {"open", "details dialog", false},
    {"datetime", "time", false},
    {"value", "data meter progress", false},
    {"min max low high optimum", "meter", false},
    {"max", "progress", false},
    {"reversed", "ol", false},
    {"name", "details slot", false},
};

QStringList words(const char *list) {
    return QString::fromLatin1(list).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// Listing order: byte order, but "accept-charset" before "accept".
bool listsBefore(const QString &a, const QString &b) {
    static const QString accept = QStringLiteral("accept");
    static const QString acceptCharset = QStringLiteral("accept-charset");
    if (a == acceptCharset && b == accept) return true;
    if (a == accept && b == acceptCharset) return false;
    return a < b;
}

struct Tables {
    std::vector<Element> elements;
    QSet<QString> classicElements;
    QSet<QString> allCompletion;
    std::vector<Attribute> attributes;
    QHash<QString, int> attributeIndex;
    // For each attribute index and view (0 classic, 1 full), the rows naming it.
    struct Membership {
        const Row *row;
        bool classic;
    };
    std::vector<std::vector<Membership>> rowsOf;
    std::string colourWords;

    Tables() {
        for (const QString &n : words(ClassicElements))
            elements.push_back({n, Era::Classic});
        for (const QString &n : words(CurrentElements))
            elements.push_back({n, Era::Current});
        for (const QString &n : words(LegacyElements))
            elements.push_back({n, Era::Legacy});
        std::sort(elements.begin(), elements.end(),
                  [](const Element &a, const Element &b) { return a.name < b.name; });
        for (const Element &e : elements) {
            if (e.era == Era::Classic) classicElements.insert(e.name);
            if (e.era != Era::Legacy) allCompletion.insert(e.name);
            colourWords += e.name.toStdString();
            colourWords += ' ';
        }

        QStringList names;
        QSet<QString> classicNames;
        for (const Row &r : ClassicRows)
            for (const QString &a : words(r.attributes)) {
                classicNames.insert(a);
                if (!names.contains(a)) names << a;
            }
        for (const Row &r : CurrentRows)
            for (const QString &a : words(r.attributes))
                if (!names.contains(a)) names << a;
        std::sort(names.begin(), names.end(), listsBefore);
        for (const QString &n : names) {
            Attribute a;
            a.name = n;
            a.insertText = n.endsWith(QLatin1Char('*')) ? n.chopped(1) : n;
            a.classic = classicNames.contains(n);
            a.icon = n.startsWith(QLatin1String("on")) || n == QLatin1String("object")
                         ? IconEvent
                         : IconAttribute;
            attributeIndex.insert(n, int(attributes.size()));
            attributes.push_back(a);
        }
        rowsOf.resize(attributes.size());
        for (const Row &r : ClassicRows)
            for (const QString &a : words(r.attributes))
                rowsOf[attributeIndex.value(a)].push_back({&r, true});
        for (const Row &r : CurrentRows)
            for (const QString &a : words(r.attributes))
                rowsOf[attributeIndex.value(a)].push_back({&r, false});
    }
};

const Tables &tables() {
    static const Tables t;
    return t;
}

bool rowAccepts(const Row &row, const QString &element) {
    const bool listed = words(row.elements).contains(element);
    return row.except ? !listed : listed;
}

} // namespace

const std::vector<Element> &elements() {
    return tables().elements;
}

QStringList completionElements(bool classicOnly) {
    QStringList out;
    for (const Element &e : tables().elements)
        if (e.era == Era::Classic || (!classicOnly && e.era == Era::Current)) out << e.name;
    return out;
}

namespace {

// The colouring asks about every tag name. Names of up to eight bytes, all
// letters and digits like every element's, are packed into one integer (in
// order, letters in lower case) and found with one multiply and a compare or two.
class ShortNames {
public:
    ShortNames() {
        for (const Element &e : tables().elements) {
            const QByteArray name = e.name.toLatin1();
            std::uint64_t key = 0;
            if (name.size() > 8 || !pack(name.constData(), int(name.size()), &key)) continue;
            size_t k = slot(key);
            while (m_keys[k] != 0)
                k = (k + 1) % m_keys.size();
            m_keys[k] = key;
        }
    }
    // False when the name is not made of letters and digits.
    static bool pack(const char *s, int length, std::uint64_t *key) {
        std::uint64_t packed = 0;
        for (int i = 0; i < length; ++i) {
            const unsigned char b = static_cast<unsigned char>(s[i]);
            const unsigned char c = b | 0x20;
            if (!((c >= 'a' && c <= 'z') || (b >= '0' && b <= '9'))) return false;
            packed |= std::uint64_t(c) << (8 * i);
        }
        *key = packed;
        return true;
    }
    bool contains(std::uint64_t key) const {
        for (size_t k = slot(key);; k = (k + 1) % m_keys.size()) {
            if (m_keys[k] == key) return true;
            if (m_keys[k] == 0) return false;
        }
    }

private:
    static size_t slot(std::uint64_t key) { return size_t((key * 0x9E3779B97F4A7C15ull) >> 55); }
    std::array<std::uint64_t, 512> m_keys{};
};

} // namespace

bool isKnownElement(const char *name, int length) {
    std::uint64_t key = 0;
    if (length > 0 && length <= 8 && ShortNames::pack(name, length, &key)) {
        static const ShortNames shortNames;
        return shortNames.contains(key);
    }
    static const scan::WordTable table({{1, tables().colourWords.c_str()}}, true);
    return table.contains(name, length);
}

bool isKnownElement(const QString &name) {
    const QByteArray b = name.toLatin1();
    return isKnownElement(b.constData(), int(b.size()));
}

const std::vector<Attribute> &attributes() {
    return tables().attributes;
}

std::vector<int> attributesOf(const QString &element, bool classicOnly) {
    const Tables &t = tables();
    const QString e = element.toLower();
    std::vector<int> out;
    const bool classicElement = t.classicElements.contains(e);
    if (!classicElement && (classicOnly || !t.allCompletion.contains(e))) return out;
    for (int i = 0; i < int(t.attributes.size()); ++i) {
        for (const Tables::Membership &m : t.rowsOf[i]) {
            if (classicOnly && !m.classic) continue;
            if (rowAccepts(*m.row, e)) {
                out.push_back(i);
                break;
            }
        }
    }
    return out;
}

} // namespace HtmlVocabulary
