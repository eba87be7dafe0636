// The ground's height from elevation models: SRTM tiles (.hgt, raw or in a
// zip archive, several at once) and, where the build has GDAL, GeoTIFF
// rasters such as Copernicus GLO-30.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenario::importing {

// One raster of heights on a grid of latitude and longitude: row 0 is the
// northern edge, column 0 the western one, and the samples lie on the
// grid's lines (SRTM's convention: a tile of 1201 samples spans one degree
// with the edges shared by neighbouring tiles).
struct HeightGrid {
    double north = 0;     // degrees of the first row
    double west = 0;      // degrees of the first column
    double step_lat = 0;  // degrees between rows (positive, going south)
    double step_lon = 0;  // degrees between columns
    int rows = 0;
    int columns = 0;
    std::vector<float> heights;  // rows × columns, m; NaN where void
};

class ElevationModel {
  public:
    // Adds the file at `path`: "N49E011.hgt", "N49E011.hgt.zip" (the tile's
    // south-west corner is in its name) or a GeoTIFF (.tif, .tiff).
    bool add_file(const std::string& path, std::string* error);
    // Adds an SRTM tile from its bytes; `name` gives its corner.
    bool add_hgt(std::string_view name, std::string_view bytes, std::string* error);
    void add_grid(HeightGrid grid);

    // m above the ellipsoid's geoid as the model gives it, interpolated
    // bilinearly; voids are bridged from the nearest valid samples. None
    // where no raster covers the place.
    std::optional<double> height(double lat, double lon) const;
    bool empty() const { return grids_.empty(); }

  private:
    std::vector<HeightGrid> grids_;
};

// The south-west corner of an SRTM tile from its file name ("N49E011",
// "s12w077.hgt.zip"), in whole degrees.
bool srtm_corner(std::string_view name, int* lat, int* lon);

// The bytes of the one .hgt member of a zip archive.
bool unzip_hgt(std::string_view zip, std::string* hgt, std::string* error);

// GeoTIFF through GDAL; false with a line saying so where the build has none.
bool read_geotiff(const std::string& path, HeightGrid* grid, std::string* error);

}  // namespace scenario::importing
