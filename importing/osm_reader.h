// Reading a map file into the railway graph, with the map library
// (libosmium). Two passes keep the memory to the railway's size: the first
// keeps the track and platform ways, the train route relations and the
// tagged railway nodes; the second fetches only the places of the nodes
// those ways use.
#pragma once

#include <string>
#include <string_view>

#include "importing/railway_graph.h"

namespace scenario::importing {

// The map in `file_name` (.osm, .osm.pbf, .osm.gz, .osm.bz2), or false with
// `error` one line: a file that is not a map or is cut short, a file with
// changes not yet uploaded, a file without a track.
bool read_railway_graph(const std::string& file_name, RailwayGraph* graph, std::string* error);

// The same from a text in memory, in the map library's format name
// ("osm" for XML, "pbf").
bool read_railway_graph_text(std::string_view text, const std::string& format, RailwayGraph* graph,
                             std::string* error);

// Whether this build reads OSM XML (and its compressed forms); a build
// without its parser reads only .osm.pbf.
bool reads_osm_xml();

}  // namespace scenario::importing
