#include "editor/scan_support.h"

#include <algorithm>

namespace scan {

int find(const char *s, int p, int end, const char *lit, bool ci) {
    const unsigned char first = static_cast<unsigned char>(lit[0]);
    const int n = int(std::strlen(lit));
    if (!ci || !isAsciiLetter(first)) {
        while (p + n <= end) {
            const void *hit = std::memchr(s + p, first, size_t(end - n + 1 - p));
            if (!hit) return -1;
            p = int(static_cast<const char *>(hit) - s);
            if (startsWith(s, p, end, lit, ci)) return p;
            ++p;
        }
        return -1;
    }
    for (; p + n <= end; ++p)
        if (lower(byteAt(s, p)) == lower(first) && startsWith(s, p, end, lit, true)) return p;
    return -1;
}

int numberEnd(const char *s, int p, int end) {
    if (p + 1 < end && s[p] == '0') {
        const unsigned char k = lower(byteAt(s, p + 1));
        if (k == 'x' || k == 'b' || k == 'o') {
            p += 2;
            while (p < end && (isHexDigit(byteAt(s, p)) || s[p] == '_'))
                ++p;
            while (p < end && isWordChar(byteAt(s, p))) // suffixes such as n
                ++p;
            return p;
        }
    }
    while (p < end && (isDigit(byteAt(s, p)) || s[p] == '_'))
        ++p;
    if (p + 1 < end && s[p] == '.' && isDigit(byteAt(s, p + 1))) {
        ++p;
        while (p < end && (isDigit(byteAt(s, p)) || s[p] == '_'))
            ++p;
    } else if (p < end && s[p] == '.' && !(p + 1 < end && s[p + 1] == '.') &&
               !(p + 1 < end && isWordStart(byteAt(s, p + 1)))) {
        ++p; // "1." is a number; "1..2" and "1.foo" are not
    }
    if (p < end && lower(byteAt(s, p)) == 'e') {
        int q = p + 1;
        if (q < end && (s[q] == '+' || s[q] == '-')) ++q;
        if (q < end && isDigit(byteAt(s, q))) {
            p = q;
            while (p < end && isDigit(byteAt(s, p)))
                ++p;
        }
    }
    while (p < end && isWordChar(byteAt(s, p)))
        ++p;
    return p;
}

std::uint32_t wordHash(const char *s, int length) {
    std::uint32_t h = 2166136261u;
    for (int i = 0; i < length; ++i) {
        h ^= static_cast<unsigned char>(s[i]);
        h *= 16777619u;
    }
    return h;
}

WordTable::WordTable(std::initializer_list<Group> groups, bool caseInsensitive)
    : m_ci(caseInsensitive) {
    int count = 0;
    for (const Group &g : groups)
        for (const char *w = g.words; *w;) {
            while (*w == ' ' || *w == '\n')
                ++w;
            if (!*w) break;
            ++count;
            while (*w && *w != ' ' && *w != '\n')
                ++w;
        }
    size_t size = 16;
    while (size < size_t(count) * 2)
        size *= 2;
    m_slots.resize(size);
    for (const Group &g : groups)
        for (const char *w = g.words; *w;) {
            while (*w == ' ' || *w == '\n')
                ++w;
            const char *start = w;
            while (*w && *w != ' ' && *w != '\n')
                ++w;
            if (w > start) insert(start, int(w - start), g.value);
        }
}

std::uint32_t WordTable::hash(const char *s, int length) const {
    std::uint32_t h = 2166136261u;
    for (int i = 0; i < length; ++i) {
        h ^= m_ci ? lower(byteAt(s, i)) : byteAt(s, i);
        h *= 16777619u;
    }
    return h;
}

void WordTable::insert(const char *s, int length, int value) {
    if (lookup(s, length) >= 0) return; // the first group that lists a word decides its value
    const std::uint32_t mask = std::uint32_t(m_slots.size() - 1);
    std::uint32_t i = hash(s, length) & mask;
    while (m_slots[i].value >= 0)
        i = (i + 1) & mask;
    m_slots[i].offset = std::uint32_t(m_chars.size());
    m_slots[i].length = std::uint16_t(length);
    m_slots[i].value = std::int16_t(value);
    for (int k = 0; k < length; ++k)
        m_chars.push_back(char(m_ci ? lower(byteAt(s, k)) : byteAt(s, k)));
    m_order.push_back(i);
    m_minLength = std::min(m_minLength, length);
    m_maxLength = std::max(m_maxLength, length);
}

int WordTable::lookup(const char *s, int length) const {
    if (length < m_minLength || length > m_maxLength) return -1;
    const std::uint32_t mask = std::uint32_t(m_slots.size() - 1);
    for (std::uint32_t i = hash(s, length) & mask;; i = (i + 1) & mask) {
        const Slot &slot = m_slots[i];
        if (slot.value < 0) return -1;
        if (slot.length != length) continue;
        const char *w = m_chars.data() + slot.offset;
        int k = 0;
        if (m_ci) {
            while (k < length && lower(byteAt(s, k)) == static_cast<unsigned char>(w[k]))
                ++k;
        } else {
            while (k < length && s[k] == w[k])
                ++k;
        }
        if (k == length) return slot.value;
    }
}

std::vector<std::string> WordTable::words() const {
    std::vector<std::string> out;
    out.reserve(m_order.size());
    for (std::uint32_t i : m_order)
        out.emplace_back(m_chars.data() + m_slots[i].offset, m_slots[i].length);
    return out;
}

} // namespace scan
