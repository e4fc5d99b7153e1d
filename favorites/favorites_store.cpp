// The favourites file "SelFold.dat": its byte layout, a loader that survives
// damaged files and a save that cannot leave a half-written file behind.
//
// Layout (integers 32-bit signed little-endian, no padding, no trailer):
//   N | N x (count, name, CR LF) | all records: title, CR LF 00 CR LF, link, CR LF

#include "favorites/favorites_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kTitleEnd{"\r\n\0\r\n", 5};
// The shortest header a file can hold: a count and a one-byte line end.
constexpr std::size_t kMinHeaderBytes = 4 + 1;

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

struct Header {
    std::string name;
    std::int32_t count = 0;
};

/// Reads the N headers. A cut header ends the list; a negative count, or one
/// that with the counts before it asks for more records than there are bytes
/// left, is impossible: that section and those after it are dropped, but the
/// remaining headers are still stepped over to reach the records.
std::vector<Header> ReadHeaders(ByteReader& reader, std::int32_t n, bool& damaged, bool& cut)
{
    std::vector<Header> headers;
    std::size_t totalRecords = 0;
    bool dropRest = false;
    for (std::int32_t i = 0; i < n; ++i) {
        const std::optional<std::int32_t> count = reader.ReadInt32();
        bool terminated = false;
        const std::string_view name = count ? reader.ReadLine(&terminated) : std::string_view{};
        if (!count || !terminated) {
            damaged = cut = true;
            return headers;
        }
        if (dropRest)
            continue;
        if (*count < 0 || totalRecords + static_cast<std::size_t>(*count) > reader.Remaining()) {
            damaged = dropRest = true;
            continue;
        }
        totalRecords += static_cast<std::size_t>(*count);
        headers.push_back({std::string(name), *count});
    }
    return headers;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

/// Writes `bytes` to `path` through "<path>.tmp", synced and renamed over
/// it, so that the old file stays whole until the new one is complete.
bool WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    const std::string tmp = path + ".tmp";
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok)
        ok = ::rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(tmp.c_str());
        return false;
    }
    // Make the rename itself durable.
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

/// The whole file; nothing when it cannot be read, with `missing` set when
/// it does not exist.
std::optional<std::string> ReadFileBytes(const std::string& path, bool* missing = nullptr)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (missing)
        *missing = fd < 0 && errno == ENOENT;
    if (fd < 0)
        return std::nullopt;
    std::string bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return bytes;
}

}  // namespace

std::string SerializeFavorites(const FavoritesStore& store)
{
    std::string out;
    AppendInt32(out, static_cast<std::int32_t>(store.sections.size()));
    for (const TSelectedFolder& section : store.sections) {
        AppendInt32(out, section.count());
        out.append(section.name).append(kLineEnd);
    }
    for (const TSelectedFolder& section : store.sections) {
        for (const TSelected& article : section.articles)
            out.append(article.title).append(kTitleEnd).append(article.link).append(kLineEnd);
    }
    return out;
}

FavoritesStore ParseFavorites(std::string_view bytes, bool* damaged)
{
    bool isDamaged = false;
    bool cut = false;
    FavoritesStore store;
    ByteReader reader(bytes);
    const std::optional<std::int32_t> n = reader.ReadInt32();
    // Fewer than 4 bytes is an empty store, as a freshly created file is.
    if (n && (*n < 0 || static_cast<std::size_t>(*n) > reader.Remaining() / kMinHeaderBytes)) {
        isDamaged = true;  // the headers cannot be located at all
    } else if (n && *n > 0) {
        std::vector<Header> headers = ReadHeaders(reader, *n, isDamaged, cut);
        store.sections.reserve(headers.size());
        for (Header& header : headers) {
            TSelectedFolder& section = store.sections.emplace_back();
            section.name = std::move(header.name);
            section.articles.resize(static_cast<std::size_t>(header.count));
            // Records missing from a cut file read as empty texts.
            for (TSelected& article : section.articles) {
                article.title = ReadTitle(reader);
                article.link = std::string(reader.ReadLine());
            }
        }
    }
    if (damaged)
        *damaged = isDamaged;
    return store;
}

FavoritesFile::FavoritesFile(std::string hostPath) : path_(std::move(hostPath)) {}

FavoritesStore FavoritesFile::Load()
{
    bool missing = false;
    std::optional<std::string> bytes = ReadFileBytes(path_, &missing);
    if (!bytes) {
        // A missing file is created empty; one that cannot be read is left alone.
        if (missing) {
            const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
            if (fd >= 0)
                ::close(fd);
        }
        return {};
    }
    bool damaged = false;
    FavoritesStore store = ParseFavorites(*bytes, &damaged);
    keepBackup_ = damaged;
    return store;
}

bool FavoritesFile::Save(const FavoritesStore& store)
{
    if (keepBackup_) {
        // The damaged file is all the user has of what it held: keep it once.
        const std::optional<std::string> old = ReadFileBytes(path_);
        if (old && !WriteFileAtomically(path_ + ".bak", *old))
            return false;
        keepBackup_ = false;
    }
    return WriteFileAtomically(path_, SerializeFavorites(store));
}
