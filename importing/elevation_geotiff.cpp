#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <cmath>
#include <limits>

#include "importing/elevation_model.h"

namespace scenario::importing {

// A single-band raster in latitude and longitude (Copernicus GLO-30 and
// other DEMs in EPSG:4326), read whole through GDAL. Samples are taken at
// the pixels' centres.
bool read_geotiff(const std::string& path, HeightGrid* grid, std::string* error) {
    GDALAllRegister();
    GDALDataset* data = static_cast<GDALDataset*>(GDALOpen(path.c_str(), GA_ReadOnly));
    if (data == nullptr) return *error = path + ": not a raster GDAL can read", false;
    double gt[6] = {};
    const OGRSpatialReference* srs = data->GetSpatialRef();
    bool ok = data->GetRasterCount() >= 1 && data->GetGeoTransform(gt) == CE_None && gt[2] == 0 &&
              gt[4] == 0 && gt[1] > 0 && gt[5] < 0;
    if (!ok) {
        *error = path + ": a raster of heights on a north-up grid is needed";
    } else if (srs != nullptr && !srs->IsGeographic()) {
        ok = false;
        *error = path + ": the raster is not in latitude and longitude";
    }
    if (ok) {
        GDALRasterBand* band = data->GetRasterBand(1);
        grid->columns = data->GetRasterXSize();
        grid->rows = data->GetRasterYSize();
        grid->west = gt[0] + 0.5 * gt[1];
        grid->north = gt[3] + 0.5 * gt[5];
        grid->step_lon = gt[1];
        grid->step_lat = -gt[5];
        grid->heights.resize(static_cast<std::size_t>(grid->rows) * grid->columns);
        ok = band->RasterIO(GF_Read, 0, 0, grid->columns, grid->rows, grid->heights.data(),
                            grid->columns, grid->rows, GDT_Float32, 0, 0) == CE_None;
        if (!ok) *error = path + ": its heights cannot be read";
        int has_void = 0;
        const double none = band->GetNoDataValue(&has_void);
        for (float& h : grid->heights) {
            if ((has_void != 0 && h == static_cast<float>(none)) || h < -1000)
                h = std::numeric_limits<float>::quiet_NaN();
        }
    }
    GDALClose(data);
    return ok;
}

}  // namespace scenario::importing
