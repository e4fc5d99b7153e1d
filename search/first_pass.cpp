// SPDX-License-Identifier: GPL-3.0-or-later
// The first pass: the choice of the anchor byte, the scan for it and the
// test of the query's place around each anchor found.
#include "search/first_pass.h"

#include <bit>
#include <cstdint>

#include "platform/text1251.h"

namespace {

/// Folded bytes from the most to the least common in the journals' pages:
/// blanks and markup, then letters by their frequency in Russian and English
/// text. A byte not listed is rarer than all of these.
constexpr std::string_view kCommonBytesUtf8 =
    " <>/=\"оеаинтсрвлкмдпуetaoinsrhldcpu.,яыьгзбчйхжшюmfgbywvk0123456789-цщэфъё:;&#xjqz";

/// How common a folded byte is; lower is rarer.
std::array<int, 256> Commonness()
{
    std::array<int, 256> rank{};
    const std::string common = platform::text::To1251FromUtf8(kCommonBytesUtf8);
    for (std::size_t i = 0; i < common.size(); ++i)
        rank[static_cast<unsigned char>(common[i])] = static_cast<int>(common.size() - i);
    return rank;
}

}  // namespace

FirstPass::FirstPass(const SearchQuery& query) : query_(query.searchText())
{
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        fold_[byte] = query.matchCase() ? byte : platform::text::ToLower1251(byte);
    }
    if (query_.empty())
        return;
    static const std::array<int, 256> commonness = Commonness();
    for (std::size_t j = 1; j < query_.size(); ++j)
        if (commonness[static_cast<unsigned char>(query_[j])] < commonness[static_cast<unsigned char>(query_[anchor_])])
            anchor_ = j;
    // The scan looks for at most two raw bytes: a letter and its capital.
    int count = 0;
    for (int b = 0; b < 256; ++b) {
        if (fold_[static_cast<std::size_t>(b)] != static_cast<unsigned char>(query_[anchor_]))
            continue;
        if (count == 2)
            return;
        anchorBytes_[static_cast<std::size_t>(count++)] = static_cast<unsigned char>(b);
    }
    if (count == 1)
        anchorBytes_[1] = anchorBytes_[0];
    active_ = count > 0;
}

void FirstPass::PassOver(TagFilter& filter, const char* from, const char* to)
{
    const char* p = to;
#if defined(__SSE2__)
    const __m128i lt = _mm_set1_epi8('<');
    const __m128i gt = _mm_set1_epi8('>');
    for (; p - from >= 16; p -= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p - 16));
        const auto mask =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lt), _mm_cmpeq_epi8(v, gt))));
        if (mask) {
            p -= 16 - (31 - std::countl_zero(mask));
            filter.inTag = *p == '<';
            filter.tagSeen = true;
            return;
        }
    }
#endif
    while (p > from) {
        --p;
        if (*p == '<' || *p == '>') {
            filter.inTag = *p == '<';
            filter.tagSeen = true;
            return;
        }
    }
}

const char* FirstPass::FindCandidate(const char* from, const char* to) const
{
    const char* p = from;
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi8(static_cast<char>(anchorBytes_[0]));
    const __m128i second = _mm_set1_epi8(static_cast<char>(anchorBytes_[1]));
    const auto hits = [&](const char* at) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        return _mm_or_si128(_mm_cmpeq_epi8(v, first), _mm_cmpeq_epi8(v, second));
    };
    // The anchor is rare: 64 bytes are tested at once, and only a block
    // that holds one is looked at byte by byte.
    for (; to - p >= 64; p += 64) {
        const __m128i a = hits(p), b = hits(p + 16), c = hits(p + 32), d = hits(p + 48);
        if (!_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d))))
            continue;
        std::uint64_t mask = static_cast<std::uint32_t>(_mm_movemask_epi8(a)) |
                             static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_movemask_epi8(b))) << 16 |
                             static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_movemask_epi8(c))) << 32 |
                             static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_movemask_epi8(d))) << 48;
        for (; mask; mask &= mask - 1) {
            const char* hit = p + std::countr_zero(mask);
            if (QueryFitsAround(from, hit, to))
                return hit;
        }
    }
#endif
    for (; p < to; ++p) {
        const auto byte = static_cast<unsigned char>(*p);
        if ((byte == anchorBytes_[0] || byte == anchorBytes_[1]) && QueryFitsAround(from, p, to))
            return p;
    }
    return to;
}

// Before the anchor the query's bytes must stand back to its start or to a
// ">" that ends a deleted tag; after it, on to its end or to a "<" that
// begins one. A line start (`lineFloor`) ends the walk back, as nothing
// before it belongs to the line.
bool FirstPass::QueryFitsAround(const char* lineFloor, const char* at, const char* ceiling) const
{
    const auto* q = reinterpret_cast<const unsigned char*>(query_.data());
    const char* back = at;
    for (std::size_t j = anchor_; j > 0; --j) {
        if (back == lineFloor)
            return false;
        const auto byte = static_cast<unsigned char>(*--back);
        if (byte == '>')
            break;
        if (fold_[byte] != q[j - 1])
            return false;
    }
    const char* ahead = at + 1;
    for (std::size_t j = anchor_ + 1; j < query_.size(); ++j) {
        if (ahead == ceiling)
            return true;
        const auto byte = static_cast<unsigned char>(*ahead++);
        if (byte == '<')
            return true;
        if (fold_[byte] != q[j])
            return false;
    }
    return true;
}
