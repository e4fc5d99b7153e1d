// SPDX-License-Identifier: GPL-3.0-or-later
// The first pass: the choice of the anchor byte, the scan for it and the
// test of the query's place around each anchor found.
#include "core/search/first_pass.h"

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
    const auto rarity = [&](std::size_t j) { return commonness[static_cast<unsigned char>(query_[j])]; };
    for (std::size_t j = 1; j < query_.size(); ++j)
        if (rarity(j) < rarity(anchor_))
            anchor_ = j;
    active_ = RawBytes(query_[anchor_], anchorBytes_);
    // The anchor's rarer neighbour in the query is tested beside it, or the
    // tag byte that may stand there instead.
    const bool hasLeft = anchor_ > 0, hasRight = anchor_ + 1 < query_.size();
    if (!hasLeft && !hasRight)
        return;
    const bool right = hasRight && (!hasLeft || rarity(anchor_ + 1) <= rarity(anchor_ - 1));
    std::array<unsigned char, 2> raw{};
    if (!RawBytes(query_[right ? anchor_ + 1 : anchor_ - 1], raw))
        return;
    neighbourOffset_ = right ? 1 : -1;
    neighbourBytes_ = {raw[0], raw[1], static_cast<unsigned char>(right ? '<' : '>')};
}

/// The raw bytes that fold to `folded`, when there are one or two of them
/// (a letter and its capital); the one is given twice.
bool FirstPass::RawBytes(char folded, std::array<unsigned char, 2>& raw) const
{
    int count = 0;
    for (int b = 0; b < 256; ++b) {
        if (fold_[static_cast<std::size_t>(b)] != static_cast<unsigned char>(folded))
            continue;
        if (count == 2)
            return false;
        raw[static_cast<std::size_t>(count++)] = static_cast<unsigned char>(b);
    }
    if (count == 1)
        raw[1] = raw[0];
    return count > 0;
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
    const auto splat = [](unsigned char b) { return _mm_set1_epi8(static_cast<char>(b)); };
    const __m128i anchor0 = splat(anchorBytes_[0]), anchor1 = splat(anchorBytes_[1]);
    const __m128i beside0 = splat(neighbourBytes_[0]), beside1 = splat(neighbourBytes_[1]);
    const __m128i beside2 = splat(neighbourBytes_[2]);
    const auto load = [](const char* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); };
    const auto anchors = [&](const char* at) {
        const __m128i v = load(at);
        return _mm_or_si128(_mm_cmpeq_epi8(v, anchor0), _mm_cmpeq_epi8(v, anchor1));
    };
    // Of sixteen places with an anchor, those with its neighbour (or a tag
    // byte) beside it, when the query has more than one byte.
    const auto withNeighbour = [&](__m128i found, const char* at) -> std::uint64_t {
        if (neighbourOffset_ != 0) {
            const __m128i n = load(at + neighbourOffset_);
            found = _mm_and_si128(found, _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(n, beside0), _mm_cmpeq_epi8(n, beside1)),
                                                      _mm_cmpeq_epi8(n, beside2)));
        }
        return static_cast<std::uint32_t>(_mm_movemask_epi8(found));
    };
    // The neighbour's loads stay within [from, to): the first place has no
    // byte before it, the last none after it.
    if (neighbourOffset_ < 0 && p < to) {
        if (IsAnchor(*p) && QueryFitsAround(from, p, to))
            return p;
        ++p;
    }
    // The anchor is rare: 64 places are tested for it at once, and only a
    // block that holds one is looked at closer.
    for (; to - p >= 64 + 1; p += 64) {
        const __m128i a = anchors(p), b = anchors(p + 16), c = anchors(p + 32), d = anchors(p + 48);
        if (!_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d))))
            continue;
        std::uint64_t mask = withNeighbour(a, p) | withNeighbour(b, p + 16) << 16 | withNeighbour(c, p + 32) << 32 |
                             withNeighbour(d, p + 48) << 48;
        for (; mask; mask &= mask - 1) {
            const char* hit = p + std::countr_zero(mask);
            if (QueryFitsAround(from, hit, to))
                return hit;
        }
    }
#endif
    for (; p < to; ++p)
        if (IsAnchor(*p) && QueryFitsAround(from, p, to))
            return p;
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
