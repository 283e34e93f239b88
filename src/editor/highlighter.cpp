#include "editor/highlighter.h"

#include "editor/plain_highlighters.h"

#include <algorithm>

int languageCategoryCount(Language language) {
    switch (language) {
    case Language::General:
        return GeneralHighlighter::CategoryCount;
    case Language::Html:
        return HtmlHighlighter::CategoryCount;
    case Language::Xml:
        return XmlHighlighter::CategoryCount;
    case Language::Css:
        return CssHighlighter::CategoryCount;
    case Language::JavaScript:
        return JavaScriptHighlighter::CategoryCount;
    case Language::VBScript:
        return VBScriptHighlighter::CategoryCount;
    case Language::Php:
        return PhpHighlighter::CategoryCount;
    case Language::Perl:
        return PerlHighlighter::CategoryCount;
    case Language::Sql:
        return SqlHighlighter::CategoryCount;
    case Language::Marker:
        return 1;
    }
    return 0;
}

Highlighter::Highlighter(Language language, const CategoryInfo *categories, int categoryCount,
                         QObject *parent)
    : QObject(parent), m_language(language), m_categories(categories),
      m_categoryCount(categoryCount) {
    m_attributes.reserve(categoryCount);
    for (int i = 0; i < categoryCount; ++i)
        m_attributes.push_back(categories[i].defaults);
}

Highlighter::~Highlighter() = default;

QString Highlighter::categoryName(int category) const {
    if (category < 0 || category >= m_categoryCount) return {};
    return QString::fromUtf8(m_categories[category].name);
}

int Highlighter::categoryIndex(const QString &name) const {
    for (int i = 0; i < m_categoryCount; ++i)
        if (name == QString::fromUtf8(m_categories[i].name)) return i;
    return -1;
}

TokenRole Highlighter::categoryRole(int category) const {
    if (category < 0 || category >= m_categoryCount) return TokenRole::Other;
    return m_categories[category].role;
}

int Highlighter::categoryOfRole(TokenRole role) const {
    for (int i = 0; i < m_categoryCount; ++i)
        if (m_categories[i].role == role) return i;
    return -1;
}

TokenAttribute Highlighter::defaultAttribute(int category) const {
    return m_categories[category].defaults;
}

void Highlighter::setAttribute(int category, const TokenAttribute &attribute) {
    if (category < 0 || category >= m_categoryCount || m_attributes[category] == attribute) return;
    m_attributes[category] = attribute;
    emit attributesChanged();
}

void Highlighter::setAttributes(const std::vector<TokenAttribute> &attributes) {
    if (int(attributes.size()) != m_categoryCount || attributes == m_attributes) return;
    m_attributes = attributes;
    emit attributesChanged();
}

const Highlighter *Highlighter::plainAt(LineState) const {
    return this;
}

const Highlighter *Highlighter::languageAt(const char *line, int lineLength,
                                           LineState lineStartState, int column) const {
    if (!isMultiLanguage()) return this;
    // Scanning up to the column leaves the state that is in force there; a
    // region marker that the column cuts in two has not started (or ended) yet.
    column = std::clamp(column, 0, lineLength);
    TokenSink sink;
    const LineState state = scan(line, lineLength, 0, column, lineStartState, sink);
    return plainAt(state);
}

void Highlighter::collectPlain(std::vector<const Highlighter *> &out) const {
    if (std::find(out.begin(), out.end(), this) == out.end()) out.push_back(this);
}
