#include "importing/elevation_model.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

namespace scenario::importing {

namespace {

// SRTM's void value (SRTM Topography, USGS, 2009: "data voids ... -32768").
constexpr int kVoid = -32768;
// How far, in samples, a void is bridged from the nearest valid heights:
// SRTM's voids over steep valleys and water reach a few hundred metres.
constexpr int kLongestBridge = 40;

bool ends_with(std::string_view s, std::string_view tail) {
    if (s.size() < tail.size()) return false;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(s[s.size() - tail.size() + i])) != tail[i])
            return false;
    }
    return true;
}

std::uint32_t le16(std::string_view b, std::size_t at) {
    return static_cast<std::uint8_t>(b[at]) |
           (static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 1])) << 8);
}
std::uint32_t le32(std::string_view b, std::size_t at) {
    return le16(b, at) | (le16(b, at + 2) << 16);
}

// Raw DEFLATE (RFC 1951), as zip members hold it, with zlib's inflate.
bool inflate_raw(std::string_view in, std::size_t size, std::string* out) {
    out->assign(size, '\0');
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = reinterpret_cast<Bytef*>(out->data());
    z.avail_out = static_cast<uInt>(out->size());
    const int rc = inflate(&z, Z_FINISH);
    const bool whole = rc == Z_STREAM_END && z.total_out == size;
    inflateEnd(&z);
    return whole;
}

bool read_file(const std::string& path, std::string* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

std::string base_name(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool srtm_corner(std::string_view name, int* lat, int* lon) {
    if (name.size() < 7) return false;
    const char ns = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    const char ew = static_cast<char>(std::toupper(static_cast<unsigned char>(name[3])));
    if ((ns != 'N' && ns != 'S') || (ew != 'E' && ew != 'W')) return false;
    for (std::size_t i : {1, 2, 4, 5, 6}) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
    }
    const int a = (name[1] - '0') * 10 + (name[2] - '0');
    const int o = (name[4] - '0') * 100 + (name[5] - '0') * 10 + (name[6] - '0');
    if (a > 90 || o > 180) return false;
    *lat = ns == 'N' ? a : -a;
    *lon = ew == 'E' ? o : -o;
    return true;
}

// The zip's central directory (PKWARE APPNOTE 6.3, sections 4.3.7, 4.3.12
// and 4.3.16) names each member with its sizes and where its local header
// lies; the sizes in a local header may be zero when a data descriptor
// follows, so they are taken from the directory.
bool unzip_hgt(std::string_view zip, std::string* hgt, std::string* error) {
    constexpr std::uint32_t kEnd = 0x06054b50, kCentral = 0x02014b50, kLocal = 0x04034b50;
    constexpr std::size_t kEndSize = 22, kCentralSize = 46, kLocalSize = 30;
    if (zip.size() < kEndSize) return *error = "not a zip archive", false;
    std::size_t end = zip.size() - kEndSize + 1;
    do {
        --end;
    } while (end > 0 && le32(zip, end) != kEnd);
    if (le32(zip, end) != kEnd) return *error = "not a zip archive", false;
    const std::size_t entries = le16(zip, end + 10);
    std::size_t at = le32(zip, end + 16);
    for (std::size_t e = 0; e < entries; ++e) {
        if (at + kCentralSize > zip.size() || le32(zip, at) != kCentral) break;
        const std::uint32_t method = le16(zip, at + 10);
        const std::size_t packed = le32(zip, at + 20), size = le32(zip, at + 24);
        const std::size_t name_len = le16(zip, at + 28);
        const std::size_t extra = le16(zip, at + 30), comment = le16(zip, at + 32);
        const std::size_t local = le32(zip, at + 42);
        if (at + kCentralSize + name_len > zip.size()) break;
        const std::string_view name = zip.substr(at + kCentralSize, name_len);
        at += kCentralSize + name_len + extra + comment;
        if (!ends_with(name, ".hgt")) continue;
        if (local + kLocalSize > zip.size() || le32(zip, local) != kLocal) break;
        const std::size_t data = local + kLocalSize + le16(zip, local + 26) + le16(zip, local + 28);
        if (data > zip.size() || packed > zip.size() - data) break;
        const std::string_view bytes = zip.substr(data, packed);
        if (method == 0 && packed == size) return hgt->assign(bytes), true;
        if (method == 8 && inflate_raw(bytes, size, hgt)) return true;
        return *error = "its .hgt member cannot be unpacked", false;
    }
    return *error = "no .hgt member in the zip archive", false;
}

bool ElevationModel::add_hgt(std::string_view name, std::string_view bytes, std::string* error) {
    int lat = 0, lon = 0;
    if (!srtm_corner(name, &lat, &lon)) {
        *error = "an SRTM tile's name gives its corner, as N49E011.hgt";
        return false;
    }
    // 1201 samples a side at 3 arc seconds, 3601 at 1 arc second.
    int side = 0;
    for (int n : {1201, 3601}) {
        if (bytes.size() == static_cast<std::size_t>(n) * n * 2) side = n;
    }
    if (side == 0) {
        *error = "not an SRTM tile: " + std::to_string(bytes.size()) + " bytes";
        return false;
    }
    HeightGrid g;
    g.north = lat + 1;
    g.west = lon;
    g.step_lat = g.step_lon = 1.0 / (side - 1);
    g.rows = g.columns = side;
    g.heights.resize(static_cast<std::size_t>(side) * side);
    for (std::size_t i = 0; i < g.heights.size(); ++i) {
        // Big-endian signed 16-bit heights, rows from north to south.
        const int v = static_cast<std::int16_t>((static_cast<std::uint8_t>(bytes[2 * i]) << 8) |
                                                static_cast<std::uint8_t>(bytes[2 * i + 1]));
        g.heights[i] = v == kVoid ? std::numeric_limits<float>::quiet_NaN() : static_cast<float>(v);
    }
    add_grid(std::move(g));
    return true;
}

void ElevationModel::add_grid(HeightGrid grid) {
    grids_.push_back(std::move(grid));
}

bool ElevationModel::add_file(const std::string& path, std::string* error) {
    const std::string name = base_name(path);
    if (ends_with(name, ".tif") || ends_with(name, ".tiff")) {
        HeightGrid g;
        if (!read_geotiff(path, &g, error)) return false;
        add_grid(std::move(g));
        return true;
    }
    std::string bytes;
    if (!read_file(path, &bytes)) {
        *error = path + ": cannot be read";
        return false;
    }
    std::string why;
    if (ends_with(name, ".zip")) {
        std::string hgt;
        if (!unzip_hgt(bytes, &hgt, &why)) return *error = path + ": " + why, false;
        bytes = std::move(hgt);
    }
    if (!add_hgt(name, bytes, &why)) return *error = path + ": " + why, false;
    return true;
}

namespace {

float sample(const HeightGrid& g, int r, int c) {
    return g.heights[static_cast<std::size_t>(r) * g.columns + c];
}

// The nearest valid sample around (r, c), ring by ring.
std::optional<double> bridged(const HeightGrid& g, int r, int c) {
    for (int d = 1; d <= kLongestBridge; ++d) {
        double sum = 0;
        int count = 0;
        for (int i = -d; i <= d; ++i) {
            for (int j = -d; j <= d; ++j) {
                if (std::max(std::abs(i), std::abs(j)) != d) continue;
                const int rr = r + i, cc = c + j;
                if (rr < 0 || cc < 0 || rr >= g.rows || cc >= g.columns) continue;
                const float h = sample(g, rr, cc);
                if (!std::isnan(h)) sum += h, ++count;
            }
        }
        if (count > 0) return sum / count;
    }
    return std::nullopt;
}

}  // namespace

std::optional<double> ElevationModel::height(double lat, double lon) const {
    for (const HeightGrid& g : grids_) {
        const double fr = (g.north - lat) / g.step_lat;
        const double fc = (lon - g.west) / g.step_lon;
        if (!(fr >= 0 && fc >= 0 && fr <= g.rows - 1 && fc <= g.columns - 1)) continue;
        const int r = std::min(static_cast<int>(fr), g.rows - 2);
        const int c = std::min(static_cast<int>(fc), g.columns - 2);
        const double tr = fr - r, tc = fc - c;
        const double w[4] = {(1 - tr) * (1 - tc), (1 - tr) * tc, tr * (1 - tc), tr * tc};
        const float h[4] = {sample(g, r, c), sample(g, r, c + 1), sample(g, r + 1, c),
                            sample(g, r + 1, c + 1)};
        double sum = 0, weight = 0;
        for (int k = 0; k < 4; ++k) {
            if (!std::isnan(h[k])) sum += w[k] * h[k], weight += w[k];
        }
        if (weight > 1e-9) return sum / weight;
        return bridged(g, static_cast<int>(std::lround(fr)), static_cast<int>(std::lround(fc)));
    }
    return std::nullopt;
}

}  // namespace scenario::importing
