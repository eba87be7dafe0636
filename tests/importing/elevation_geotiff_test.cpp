// A GeoTIFF made here with GDAL, read back as the import reads a DEM.
#include <gdal_priv.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "importing/elevation_model.h"
#include "support/temp_folder.h"

namespace scenario::importing {
namespace {

// 11 × 11 pixels of 0.01 degrees from 47.1 N, 9.5 E, heights rising 10 m a
// column eastwards, one pixel void (the raster's no-data value).
void write_raster(const std::string& path) {
    GDALAllRegister();
    GDALDriver* gtiff = GetGDALDriverManager()->GetDriverByName("GTiff");
    GDALDataset* d = gtiff->Create(path.c_str(), 11, 11, 1, GDT_Float32, nullptr);
    double gt[6] = {9.5, 0.01, 0, 47.1, 0, -0.01};
    d->SetGeoTransform(gt);
    OGRSpatialReference wgs84;
    wgs84.importFromEPSG(4326);
    d->SetSpatialRef(&wgs84);
    std::vector<float> h(121);
    for (int i = 0; i < 121; ++i)
        h[static_cast<std::size_t>(i)] = 400.0f + 10.0f * (i % 11);
    h[60] = -9999;
    GDALRasterBand* band = d->GetRasterBand(1);
    band->SetNoDataValue(-9999);
    EXPECT_EQ(band->RasterIO(GF_Write, 0, 0, 11, 11, h.data(), 11, 11, GDT_Float32, 0, 0), CE_None);
    GDALClose(d);
}

TEST(ElevationModel, ReadsAGeoTiffInLatitudeAndLongitude) {
    scenario::testing::TempFolder folder("geotiff");
    const std::string path = (folder.path() / "dem.tif").string();
    write_raster(path);
    ElevationModel dem;
    std::string error;
    ASSERT_TRUE(dem.add_file(path, &error)) << error;
    // Pixel centres: column 2's centre lies at 9.525 E.
    EXPECT_NEAR(*dem.height(47.045, 9.525), 420, 1e-3);
    EXPECT_NEAR(*dem.height(47.045, 9.530), 425, 1e-3);
    // The void pixel (row 5, column 5) is bridged from its neighbours.
    EXPECT_NEAR(*dem.height(47.045, 9.555), 450, 1e-3);
    EXPECT_FALSE(dem.height(47.2, 9.55));
}

}  // namespace
}  // namespace scenario::importing
