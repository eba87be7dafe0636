// A build without the OSM XML parser: the map library reads .osm.pbf only.
#include "importing/osm_reader.h"

namespace scenario::importing {

bool reads_osm_xml() {
    return false;
}

}  // namespace scenario::importing
