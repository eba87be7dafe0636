#include "importing/osm_reader.h"

#include <exception>
#include <memory>
#include <osmium/handler.hpp>
#include <osmium/io/compression.hpp>
#include <osmium/io/detail/read_write.hpp>
#include <osmium/io/file.hpp>
#include <osmium/io/pbf_input.hpp>
#include <osmium/io/reader.hpp>
#include <osmium/osm/node.hpp>
#include <osmium/osm/relation.hpp>
#include <osmium/osm/way.hpp>
#include <osmium/visitor.hpp>

#include "importing/pending_changes.h"
#include "importing/track_tags.h"

namespace scenario::importing {

namespace {

// Route relations a path may follow.
constexpr std::string_view kRoutes[] = {"train", "railway", "light_rail", "tracks"};
// Node tags that make a node worth keeping in the first pass.
constexpr std::string_view kNodePublicTransport[] = {"stop_position", "station"};

Tags tags_of(const osmium::TagList& list) {
    Tags tags;
    for (const osmium::Tag& tag : list)
        tags.items.emplace_back(tag.key(), tag.value());
    return tags;
}

bool kept_node(const osmium::TagList& tags) {
    if (tags.has_key("railway")) return true;
    const char* pt = tags.get_value_by_key("public_transport");
    if (!pt) return false;
    for (const std::string_view v : kNodePublicTransport)
        if (v == pt) return true;
    return false;
}

bool kept_relation(const osmium::TagList& tags) {
    const char* route = tags.get_value_by_key("route");
    if (!route) return false;
    for (const std::string_view r : kRoutes)
        if (r == route) return true;
    return false;
}

struct FirstPass : osmium::handler::Handler {
    RailwayGraph* graph;
    explicit FirstPass(RailwayGraph* g) : graph(g) {}

    void node(const osmium::Node& n) {
        if (n.tags().empty() || !kept_node(n.tags())) return;
        GraphNode& node = graph->node_slot(n.id());
        node.tags = tags_of(n.tags());
        if (n.location().valid()) {
            node.lat = n.location().lat();
            node.lon = n.location().lon();
            node.located = true;
        }
    }
    void way(const osmium::Way& w) {
        // Most ways of an extract are roads and buildings: look at the two
        // keys before copying any tag.
        if (!w.tags().has_key("railway") && !w.tags().has_key("public_transport")) return;
        Tags tags = tags_of(w.tags());
        if (!is_track(tags) && !is_platform(tags)) return;
        GraphWay way{w.id(), {}, std::move(tags)};
        for (const osmium::NodeRef& ref : w.nodes())
            way.nodes.push_back(ref.ref());
        graph->add_way(std::move(way));
    }
    void relation(const osmium::Relation& r) {
        if (!kept_relation(r.tags())) return;
        GraphRelation rel{r.id(), {}, tags_of(r.tags())};
        for (const osmium::RelationMember& m : r.members()) {
            const char type = m.type() == osmium::item_type::way    ? 'w'
                              : m.type() == osmium::item_type::node ? 'n'
                                                                    : 'r';
            rel.members.push_back({type, m.ref(), m.role()});
        }
        graph->relations.push_back(std::move(rel));
    }
};

// The second pass: the places (and `ele`) of the nodes the ways use, which
// the first pass entered into the graph without a place.
struct SecondPass : osmium::handler::Handler {
    RailwayGraph* graph;
    explicit SecondPass(RailwayGraph* g) : graph(g) {}

    void node(const osmium::Node& n) {
        const auto it = graph->node_index.find(n.id());
        if (it == graph->node_index.end()) return;
        GraphNode& node = graph->nodes[it->second];
        if (node.located || !n.location().valid()) return;
        node.lat = n.location().lat();
        node.lon = n.location().lon();
        node.located = true;
        if (const char* ele = n.tags().get_value_by_key("ele"))
            node.tags.items.emplace_back("ele", ele);
    }
};

void enter_way_nodes(RailwayGraph* graph) {
    for (std::size_t w = 0; w < graph->ways.size(); ++w) {
        for (const std::int64_t id : graph->ways[w].nodes)
            graph->node_slot(id);
    }
}

bool read_passes(const osmium::io::File& file, RailwayGraph* graph, std::string* error,
                 const std::string& shown) {
    try {
        {
            osmium::io::Reader reader{file, osmium::osm_entity_bits::node |
                                                osmium::osm_entity_bits::way |
                                                osmium::osm_entity_bits::relation};
            FirstPass first{graph};
            osmium::apply(reader, first);
            reader.close();
        }
        enter_way_nodes(graph);
        {
            osmium::io::Reader reader{file, osmium::osm_entity_bits::node};
            SecondPass second{graph};
            osmium::apply(reader, second);
            reader.close();
        }
    } catch (const std::exception& e) {
        *error = "cannot read " + shown + " as a map: " + e.what();
        return false;
    }
    bool track = false;
    for (const GraphWay& way : graph->ways)
        track = track || is_track(way.tags);
    if (!track) {
        *error = shown + " holds no railway track (railway=rail, light_rail or narrow_gauge)";
        return false;
    }
    return true;
}

std::string refusal(const std::string& shown, std::string_view action) {
    return shown + " was saved by an editor with changes not yet uploaded (action=\"" +
           std::string(action) + "\"): upload or discard them, or export the map again";
}

// True when the scan found nothing to refuse the map for.
bool acceptable(const PendingChangeScanner& scanner, const std::string& shown, std::string* error) {
    if (scanner.found()) {
        *error = refusal(shown, scanner.action());
        return false;
    }
    if (!scanner.unsafe().empty()) {
        *error = "cannot read " + shown + " as a map: " + std::string(scanner.unsafe());
        return false;
    }
    return true;
}

// The XML text of a file, decompressed as it is read, through the scanner.
bool scan_file(const std::string& file_name, osmium::io::file_compression compression,
               PendingChangeScanner* scanner, std::string* error) {
    try {
        const int fd = osmium::io::detail::open_for_reading(file_name);
        auto decompressor =
            osmium::io::CompressionFactory::instance().create_decompressor(compression, fd);
        for (std::string piece = decompressor->read(); !piece.empty() && !scanner->found();
             piece = decompressor->read())
            scanner->feed(piece);
        decompressor->close();
    } catch (const std::exception& e) {
        *error = "cannot read " + file_name + " as a map: " + e.what();
        return false;
    }
    return true;
}

bool read_named(const std::string& file_name, RailwayGraph* graph, std::string* error) {
    osmium::io::File file{file_name};
    const auto format = file.format();
    if (format != osmium::io::file_format::xml && format != osmium::io::file_format::pbf) {
        *error = file_name + " is not named as a map file (.osm, .osm.pbf, .osm.gz, .osm.bz2)";
        return false;
    }
    if (format == osmium::io::file_format::xml) {
        if (!reads_osm_xml()) {
            *error = "this build reads maps as .osm.pbf only; convert " + file_name +
                     " (osmium cat FILE -o FILE.osm.pbf)";
            return false;
        }
        PendingChangeScanner scanner;
        if (!scan_file(file_name, file.compression(), &scanner, error)) return false;
        if (!acceptable(scanner, file_name, error)) return false;
    }
    return read_passes(file, graph, error, file_name);
}

bool read_text(std::string_view text, const std::string& format, RailwayGraph* graph,
               std::string* error) {
    if (format == "osm") {
        if (!reads_osm_xml()) {
            *error = "this build reads maps as .osm.pbf only";
            return false;
        }
        PendingChangeScanner scanner;
        scanner.feed(text);
        if (!acceptable(scanner, "the map", error)) return false;
    }
    const osmium::io::File file{text.data(), text.size(), format};
    return read_passes(file, graph, error, "the map");
}

}  // namespace

bool read_railway_graph(const std::string& file_name, RailwayGraph* graph, std::string* error) {
    // The map library reports its failures as exceptions: each becomes the
    // one line the command prints.
    try {
        return read_named(file_name, graph, error);
    } catch (const std::exception& e) {
        *error = "cannot read " + file_name + " as a map: " + e.what();
        return false;
    }
}

bool read_railway_graph_text(std::string_view text, const std::string& format, RailwayGraph* graph,
                             std::string* error) {
    try {
        return read_text(text, format, graph, error);
    } catch (const std::exception& e) {
        *error = "cannot read the map as a map: " + std::string(e.what());
        return false;
    }
}

}  // namespace scenario::importing
