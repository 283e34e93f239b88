#include "editor/scan_support.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace scan {

namespace {

// Both cases of an ASCII letter compare equal after OR-ing in 0x20; other bytes
// may then compare equal too, so every hit is checked in full.
inline bool caselessByte(unsigned char c) {
    return isAsciiLetter(c);
}

} // namespace

int find(const char *s, int p, int end, const char *lit, int n, bool ci) {
    if (n <= 0) return p <= end ? p : -1;
    const unsigned char first = static_cast<unsigned char>(lit[0]);
    if (n == 1 || (ci && !caselessByte(first))) {
        if (ci && caselessByte(first)) {
            for (; p + n <= end; ++p)
                if (lower(byteAt(s, p)) == lower(first) && startsWith(s, p, end, lit, true))
                    return p;
            return -1;
        }
        while (p + n <= end) {
            const void *hit = std::memchr(s + p, first, size_t(end - n + 1 - p));
            if (!hit) return -1;
            p = int(static_cast<const char *>(hit) - s);
            if (startsWith(s, p, end, lit, ci)) return p;
            ++p;
        }
        return -1;
    }
    // Two bytes at a time: the first two of the literal, sixteen positions per step.
    const unsigned char second = static_cast<unsigned char>(lit[1]);
    const bool fold1 = ci && caselessByte(first);
    const bool fold2 = ci && caselessByte(second);
#if defined(__SSE2__) || defined(_M_X64)
    const __m128i want1 = _mm_set1_epi8(char(fold1 ? lower(first) : first));
    const __m128i want2 = _mm_set1_epi8(char(fold2 ? lower(second) : second));
    const __m128i bits1 = _mm_set1_epi8(fold1 ? 0x20 : 0);
    const __m128i bits2 = _mm_set1_epi8(fold2 ? 0x20 : 0);
    // One step reads s[q, q + 17) and tells which of the 16 positions from q
    // begin with the literal's first two bytes.
    const auto pairs = [&](int q) {
        const __m128i a =
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i *>(s + q)), bits1);
        const __m128i b =
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i *>(s + q + 1)), bits2);
        return unsigned(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, want1), _mm_cmpeq_epi8(b, want2))));
    };
    if (end - p >= 17) {
        for (;; p += 16) {
            // The last step goes back to end - 17: the positions it sees again held
            // no match.
            const int q = std::min(p, end - 17);
            for (unsigned mask = pairs(q); mask; mask &= mask - 1) {
                const int at = q + std::countr_zero(mask);
                if (at + n > end) return -1;
                if (startsWith(s, at, end, lit, ci)) return at;
            }
            if (q + 17 >= end) return -1;
        }
    }
#endif
    const unsigned char w1 = fold1 ? lower(first) : first;
    const unsigned char w2 = fold2 ? lower(second) : second;
    for (; p + n <= end; ++p) {
        const unsigned char c1 = byteAt(s, p), c2 = byteAt(s, p + 1);
        if ((fold1 ? lower(c1) : c1) == w1 && (fold2 ? lower(c2) : c2) == w2 &&
            startsWith(s, p, end, lit, ci))
            return p;
    }
    return -1;
}

int find(const char *s, int p, int end, const char *lit, bool ci) {
    return find(s, p, end, lit, int(std::strlen(lit)), ci);
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
    if (m_ci) {
        for (int i = 0; i < length; ++i)
            h = (h ^ (byteAt(s, i) | ((unsigned(byteAt(s, i)) - 'A' < 26u) << 5))) * 16777619u;
    } else {
        for (int i = 0; i < length; ++i)
            h = (h ^ byteAt(s, i)) * 16777619u;
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
