// Distances along the path: the geodesic length of every segment on the
// WGS84 ellipsoid, summed from the first point, and the places of the
// path's points in a local plane around its start.
#pragma once

#include <cstddef>
#include <vector>

#include "importing/import_path.h"

namespace scenario::importing {

// m from the first point to each point, along the path.
std::vector<double> chainage(const ImportPath& path);

// m from the first point to an object placed on the path.
double chainage_of(const std::vector<double>& chainage, std::size_t segment, double along);

}  // namespace scenario::importing
