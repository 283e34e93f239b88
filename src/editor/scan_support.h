#pragma once

// Byte classification and word tables shared by the language scanners.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace scan {

inline unsigned char byteAt(const char *s, int i) {
    return static_cast<unsigned char>(s[i]);
}

// Blanks and control bytes separate tokens like spaces do.
constexpr bool isSpace(unsigned char c) {
    return c <= ' ';
}
constexpr bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
constexpr bool isAsciiLetter(unsigned char c) {
    return ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
}
constexpr bool isHexDigit(unsigned char c) {
    return isDigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f');
}
// Letters, '_' and every non-ASCII byte (parts of UTF-8 characters).
constexpr bool isWordStart(unsigned char c) {
    return isAsciiLetter(c) || c == '_' || c >= 0x80;
}
constexpr bool isWordChar(unsigned char c) {
    return isWordStart(c) || isDigit(c);
}
constexpr unsigned char lower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c + 32 : c;
}

inline int skipSpaces(const char *s, int p, int end) {
    while (p < end && isSpace(byteAt(s, p)))
        ++p;
    return p;
}
inline int skipWord(const char *s, int p, int end) {
    while (p < end && isWordChar(byteAt(s, p)))
        ++p;
    return p;
}

// True when s[p, end) starts with the ASCII text `lit` (case ignored when `ci`).
inline bool startsWith(const char *s, int p, int end, const char *lit, bool ci = false) {
    for (int i = 0; lit[i]; ++i) {
        if (p + i >= end) return false;
        unsigned char c = byteAt(s, p + i);
        if (ci ? lower(c) != lower(static_cast<unsigned char>(lit[i])) : c != (unsigned char)lit[i])
            return false;
    }
    return true;
}

// Position of the first occurrence of `lit` in s[p, end), or -1.
int find(const char *s, int p, int end, const char *lit, bool ci = false);
// The same for a literal of n bytes.
int find(const char *s, int p, int end, const char *lit, int n, bool ci);

// Offers visit(p) every p in [from, to) where s[p] == byte, in order, until it
// returns true; returns that p, or -1. Sixteen bytes at a time where it can.
template <class Visit>
inline int forEachByte(const char *s, int from, int to, char byte, Visit visit) {
    int p = from;
#if defined(__SSE2__) || defined(_M_X64)
    const __m128i want = _mm_set1_epi8(byte);
    const auto matches = [&](int q) {
        return unsigned(_mm_movemask_epi8(
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(s + q)), want)));
    };
    if (to - p >= 16) {
        for (;; p += 16) {
            // The last step goes back to to - 16, past the positions already offered.
            const int q = std::min(p, to - 16);
            for (unsigned mask = matches(q) & (~0u << (p - q)); mask; mask &= mask - 1) {
                const int at = q + std::countr_zero(mask);
                if (visit(at)) return at;
            }
            if (q + 16 >= to) return -1;
        }
    }
#endif
    for (; p < to; ++p)
        if (s[p] == byte && visit(p)) return p;
    return -1;
}

// Emits s[from, p) as one token when it is not empty.
template <class Sink> inline void emitRun(Sink &out, int from, int to, int category) {
    if (to > from) out.add(from, to - from, category);
}

// Emits the rest of a /* ... */ comment from p, up to and including its "*/" or to
// the end of the span; returns where scanning goes on and whether it was closed.
template <class Sink>
inline int emitBlockComment(Sink &out, const char *s, int p, int end, int category, bool *closed) {
    const int q = find(s, p, end, "*/");
    const int stop = q < 0 ? end : q + 2;
    out.add(p, stop - p, category);
    *closed = q >= 0;
    return stop;
}

// Emits a run of blanks starting at p and returns its end.
template <class Sink>
inline int emitSpaces(Sink &out, const char *s, int p, int end, int category) {
    const int from = p;
    p = skipSpaces(s, p, end);
    out.add(from, p - from, category);
    return p;
}

// Scans a number in the common C-like notation (0x.., 0b.., 0o.., decimals with
// '.', an exponent, '_' separators, letter suffixes) and returns its end.
int numberEnd(const char *s, int p, int end);

// A fixed set of words, each with a small value, looked up from raw bytes.
class WordTable {
public:
    struct Group {
        int value;
        const char *words; // blank-separated
    };
    WordTable(std::initializer_list<Group> groups, bool caseInsensitive);
    // The word's value, or -1.
    int lookup(const char *s, int length) const;
    bool contains(const char *s, int length) const { return lookup(s, length) >= 0; }
    // Every word in table order of insertion.
    std::vector<std::string> words() const;

private:
    struct Slot {
        std::uint32_t offset = 0;
        std::uint16_t length = 0;
        std::int16_t value = -1;
    };
    std::uint32_t hash(const char *s, int length) const;
    void insert(const char *s, int length, int value);

    bool m_ci;
    int m_minLength = 1 << 30;
    int m_maxLength = 0;
    std::string m_chars;
    std::vector<Slot> m_slots;
    std::vector<std::uint32_t> m_order;
};

// Bits [shift, shift + width) of a state.
inline std::uint64_t field(std::uint64_t state, int shift, int width) {
    if (width <= 0 || shift >= 64) return 0;
    return (state >> shift) & ((width >= 64) ? ~0ull : ((1ull << width) - 1));
}
inline std::uint64_t withField(std::uint64_t state, int shift, int width, std::uint64_t value) {
    if (width <= 0 || shift >= 64) return state;
    const std::uint64_t mask = ((width >= 64) ? ~0ull : ((1ull << width) - 1)) << shift;
    return (state & ~mask) | ((value << shift) & mask);
}

// 32-bit hash of a word (heredoc terminators are kept in states as hashes).
std::uint32_t wordHash(const char *s, int length);

} // namespace scan
