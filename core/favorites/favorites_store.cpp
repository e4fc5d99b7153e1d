// SPDX-License-Identifier: GPL-3.0-or-later
// The favourites file "SelFold.dat": its byte layout and a loader that
// survives damaged files (favorites_file.cpp reads and writes the file).
//
// Layout (integers 32-bit signed little-endian, no padding, no trailer):
//   N | N x (count, name, CR LF) | all records: title, CR LF 00 CR LF, link, CR LF
//
// No count is trusted before the bytes that would have to hold it are there:
// a header takes at least 5 bytes and a record at least 8, so what the parser
// allocates stays a small multiple of the file's size.

#include "core/favorites/favorites_store.h"

#include <algorithm>
#include <optional>

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kTitleEnd{"\r\n\0\r\n", 5};
// The shortest header a file can hold: a count and a one-byte line end.
constexpr std::size_t kMinHeaderBytes = 4 + 1;
// The shortest record the program writes: a one-byte title, the separator,
// an empty link and its line end.
constexpr std::size_t kMinRecordBytes = 1 + kTitleEnd.size() + kLineEnd.size();

void AppendInt32(std::string& out, std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((bits >> shift) & 0xFF));
}

/// Reads the file's integers and text lines from the front.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

    std::size_t Remaining() const { return bytes_.size() - pos_; }

    std::optional<std::int32_t> ReadInt32()
    {
        if (Remaining() < 4)
            return std::nullopt;
        std::uint32_t bits = 0;
        for (int i = 0; i < 4; ++i)
            bits |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes_[pos_ + i])) << (8 * i);
        pos_ += 4;
        return static_cast<std::int32_t>(bits);
    }

    /// A line ends at LF, or at CR together with the one byte after it, and
    /// is cut at its first zero byte. At the end of the bytes it is what was
    /// left. `terminated` tells whether a line end was met.
    std::string_view ReadLine(bool* terminated = nullptr)
    {
        const std::size_t start = pos_;
        const std::size_t end = bytes_.find_first_of("\r\n", pos_);
        std::string_view line;
        if (end == std::string_view::npos) {
            line = bytes_.substr(start);
            pos_ = bytes_.size();
        } else {
            line = bytes_.substr(start, end - start);
            pos_ = std::min(bytes_.size(), end + (bytes_[end] == '\r' ? 2 : 1));
        }
        if (terminated)
            *terminated = end != std::string_view::npos;
        const std::size_t zero = line.find('\0');
        return zero == std::string_view::npos ? line : line.substr(0, zero);
    }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

/// Lines up to the first empty one; the second is joined with CR LF, any
/// later ones with nothing between.
std::string ReadTitle(ByteReader& reader)
{
    std::string title;
    int lines = 0;
    for (std::string_view line = reader.ReadLine(); !line.empty(); line = reader.ReadLine(), ++lines) {
        if (lines == 1)
            title.append(kLineEnd);
        title.append(line);
    }
    return title;
}

/// A record the program could have written: a title of text (a tab is text,
/// the only line break is the CR LF before an annotation) and a link. A file
/// cut inside its headers reads a count's bytes as such a title.
bool IsStorableRecord(const TSelected& article)
{
    if (article.title.empty() || article.link.empty())
        return false;
    for (std::size_t i = 0; i < article.title.size(); ++i) {
        const auto c = static_cast<unsigned char>(article.title[i]);
        const bool annotationBreak = article.title.compare(i, 2, "\r\n") == 0 ||
                                     (c == '\n' && i > 0 && article.title[i - 1] == '\r');
        if ((c < 0x20 && c != '\t' && !annotationBreak) || c == 0x7F)
            return false;
    }
    return true;
}

struct Header {
    std::string_view name;
    std::int32_t count = 0;
};

/// Reads the N headers (N already checked against the bytes); a cut header
/// ends the list.
std::vector<Header> ReadHeaders(ByteReader& reader, std::int32_t n, bool& dropped)
{
    std::vector<Header> headers;
    headers.reserve(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) {
        const std::optional<std::int32_t> count = reader.ReadInt32();
        bool terminated = false;
        const std::string_view name = count ? reader.ReadLine(&terminated) : std::string_view{};
        if (!count || !terminated) {
            dropped = true;
            break;
        }
        headers.push_back({name, *count});
    }
    return headers;
}

/// Reads up to `count` records (already checked against the bytes) into a
/// section; a record the program could not have written (the file ended, or
/// it is no title and link at all) is dropped.
TSelectedFolder ReadSection(ByteReader& reader, std::string_view name, std::size_t count, bool& dropped)
{
    TSelectedFolder section{std::string(name), {}};
    section.articles.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (reader.Remaining() == 0) {
            dropped = true;
            break;
        }
        TSelected article;
        article.title = ReadTitle(reader);
        article.link = std::string(reader.ReadLine());
        if (!IsStorableRecord(article))
            dropped = true;
        else
            section.articles.push_back(std::move(article));
    }
    return section;
}

}  // namespace

std::string SerializeFavorites(const FavoritesStore& store)
{
    // A record without a title would shift every later field when read back;
    // only a failed copy during a change leaves one, and it holds nothing.
    const auto storable = [](const TSelected& article) { return !article.title.empty(); };
    std::vector<std::int32_t> counts;
    counts.reserve(store.sections.size());
    for (const TSelectedFolder& section : store.sections)
        counts.push_back(static_cast<std::int32_t>(
            std::count_if(section.articles.begin(), section.articles.end(), storable)));
    std::string out;
    AppendInt32(out, static_cast<std::int32_t>(std::count_if(counts.begin(), counts.end(),
                                                             [](std::int32_t count) { return count > 0; })));
    for (std::size_t i = 0; i < store.sections.size(); ++i) {
        if (counts[i] == 0)
            continue;
        AppendInt32(out, counts[i]);
        out.append(store.sections[i].name).append(kLineEnd);
    }
    for (const TSelectedFolder& section : store.sections) {
        for (const TSelected& article : section.articles)
            if (storable(article))
                out.append(article.title).append(kTitleEnd).append(article.link).append(kLineEnd);
    }
    return out;
}

FavoritesStore ParseFavorites(std::string_view bytes, bool* damaged)
{
    bool dropped = false;
    FavoritesStore store;
    ByteReader reader(bytes);
    const std::optional<std::int32_t> n = reader.ReadInt32();
    // Fewer than 4 bytes is an empty store, as a freshly created file is.
    if (n && (*n < 0 || static_cast<std::size_t>(*n) > reader.Remaining() / kMinHeaderBytes)) {
        dropped = true;  // the headers cannot be located at all
    } else if (n && *n > 0) {
        const std::vector<Header> headers = ReadHeaders(reader, *n, dropped);
        // Rounded up: the last record of a cut file may be shorter.
        std::size_t recordsLeft = (reader.Remaining() + kMinRecordBytes - 1) / kMinRecordBytes;
        for (const Header& header : headers) {
            // The records of the sections after a negative count cannot be located.
            if (header.count < 0) {
                dropped = true;
                break;
            }
            // A count the bytes cannot hold is damage; the records that are
            // there are still read, so that a cut file keeps all it has.
            std::size_t count = static_cast<std::size_t>(header.count);
            if (count > recordsLeft) {
                dropped = true;
                count = recordsLeft;
            }
            recordsLeft -= count;
            TSelectedFolder section = ReadSection(reader, header.name, count, dropped);
            if (section.articles.empty())
                dropped = true;  // every section holds at least one article
            else
                store.sections.push_back(std::move(section));
        }
    }
    if (damaged)
        *damaged = dropped;
    return store;
}
