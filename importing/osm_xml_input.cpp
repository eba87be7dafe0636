// OSM XML and its compressed forms. The map library registers a format
// when its header is included; this unit holds the XML parser (expat) and
// the bzip2 and gzip decompressors, and is left out of a build that cannot
// have them.
#include <osmium/io/bzip2_compression.hpp>
#include <osmium/io/gzip_compression.hpp>
#include <osmium/io/xml_input.hpp>

#include "importing/osm_reader.h"

namespace scenario::importing {

bool reads_osm_xml() {
    return true;
}

}  // namespace scenario::importing
