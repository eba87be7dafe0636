#include "importing/elevation_model.h"

namespace scenario::importing {

// Builds without GDAL (the Windows one) read SRTM tiles only.
bool read_geotiff(const std::string& path, HeightGrid*, std::string* error) {
    *error = path + ": GeoTIFF is not read by this build; use SRTM .hgt tiles";
    return false;
}

}  // namespace scenario::importing
