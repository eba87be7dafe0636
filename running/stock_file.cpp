// The only file that includes the TOML reader: it is slow to compile, and
// nothing else needs it. Its errors come back as values, not exceptions,
// and its Windows wide-string helpers, which call the system, are left out.
#define TOML_EXCEPTIONS 0
#define TOML_ENABLE_FORMATTERS 0
#define TOML_ENABLE_WINDOWS_COMPAT 0
#include "running/stock_file.h"

#include <toml++/toml.h>

#include <algorithm>
#include <utility>

namespace scenario {

namespace {

// The keys of the file that hold a plain number, and where each goes.
struct NumberKey {
    std::string_view key;
    double RollingStock::*member;
};

constexpr NumberKey kNumbers[] = {
    {"mass", &RollingStock::mass},
    {"rotating_mass", &RollingStock::rotating_mass},
    {"traction_mass", &RollingStock::traction_mass},
    {"length", &RollingStock::length},
    {"top_speed", &RollingStock::top_speed},
    {"braking", &RollingStock::braking},
    {"adhesion", &RollingStock::adhesion},
};

struct ResistanceKey {
    std::string_view key;
    double Resistance::*member;
};

constexpr ResistanceKey kResistance[] = {
    {"a", &Resistance::a},
    {"b", &Resistance::b},
    {"c", &Resistance::c},
};

class Reader {
  public:
    explicit Reader(const RollingStock& defaults) : stock_(defaults) {}
    void root(const toml::table& table);
    StockRead result() &&;

  private:
    void problem(const toml::source_region& where, std::string message);
    std::optional<double> number(const toml::node& node, std::string_view name,
                                 std::string_view bounds_key);
    bool root_number(std::string_view key, const toml::node& node);
    void classification(const toml::node& node);
    void braked_mass(const toml::node& node);
    void resistance(const toml::node& node);
    void effort(const toml::node& node);
    void effort_points(const toml::node& node);
    std::optional<EffortPoint> effort_point(const toml::node& node);
    void unknown(const toml::key& key, const toml::node& node, std::string_view where);
    void traction_within_mass(const toml::table& table);

    RollingStock stock_;
    std::vector<StockProblem> problems_;
};

void Reader::problem(const toml::source_region& where, std::string message) {
    problems_.push_back({static_cast<int>(where.begin.line), static_cast<int>(where.begin.column),
                         std::move(message)});
}

// The number at `node`, checked against the bounds of `bounds_key`, or none
// after reporting why not; `name` is how the message calls it.
std::optional<double> Reader::number(const toml::node& node, std::string_view name,
                                     std::string_view bounds_key) {
    std::optional<double> value;
    if (const auto* whole = node.as_integer()) value = static_cast<double>(whole->get());
    if (const auto* real = node.as_floating_point()) value = real->get();
    if (!value) {
        problem(node.source(), std::string(name) + " must be a number");
        return std::nullopt;
    }
    if (std::string reason = stock_value_problem(bounds_key, *value); !reason.empty()) {
        problem(node.source(), std::string(name) + " " + reason);
        return std::nullopt;
    }
    return value;
}

bool Reader::root_number(std::string_view key, const toml::node& node) {
    for (const NumberKey& entry : kNumbers) {
        if (entry.key != key) continue;
        if (auto value = number(node, "`" + std::string(key) + "`", key))
            stock_.*entry.member = *value;
        return true;
    }
    return false;
}

void Reader::classification(const toml::node& node) {
    const auto* text = node.as_string();
    if (!text || text->get().empty()) {
        problem(node.source(), "`classification` must be a string of at least one character");
        return;
    }
    stock_.classification = text->get();
}

void Reader::braked_mass(const toml::node& node) {
    if (auto value = number(node, "`braked_mass`", "braked_mass")) stock_.braked_mass = *value;
}

void Reader::unknown(const toml::key& key, const toml::node& node, std::string_view where) {
    const std::string kind = node.is_table() ? "table" : "key";
    problem(key.source(),
            "unknown " + kind + " `" + std::string(key.str()) + "`" + std::string(where));
}

void Reader::resistance(const toml::node& node) {
    const toml::table* table = node.as_table();
    if (!table) {
        problem(node.source(), "`resistance` must be a table");
        return;
    }
    for (auto&& [key, value] : *table) {
        const ResistanceKey* entry = nullptr;
        for (const ResistanceKey& candidate : kResistance)
            if (candidate.key == key.str()) entry = &candidate;
        if (!entry) {
            unknown(key, value, " in [resistance]");
            continue;
        }
        const std::string name = "resistance." + std::string(entry->key);
        if (auto number_value = number(value, "`" + name + "`", name))
            stock_.resistance.*entry->member = *number_value;
    }
}

void Reader::effort(const toml::node& node) {
    const toml::table* table = node.as_table();
    if (!table) {
        problem(node.source(), "`effort` must be a table");
        return;
    }
    for (auto&& [key, value] : *table) {
        if (key.str() == "points")
            effort_points(value);
        else
            unknown(key, value, " in [effort]");
    }
}

std::optional<EffortPoint> Reader::effort_point(const toml::node& node) {
    const toml::array* pair = node.as_array();
    if (!pair || pair->size() != 2) {
        problem(node.source(), "an effort point must be [km/h, kN]");
        return std::nullopt;
    }
    auto speed = number(*pair->get(0), "an effort point's speed", "effort.speed");
    auto force = number(*pair->get(1), "an effort point's force", "effort.force");
    if (!speed || !force) return std::nullopt;
    return EffortPoint{*speed, *force};
}

void Reader::effort_points(const toml::node& node) {
    const toml::array* points = node.as_array();
    if (!points) {
        problem(node.source(), "`points` must be an array of [km/h, kN] points");
        return;
    }
    if (points->empty()) {
        problem(node.source(), "`points` must not be empty");
        return;
    }
    EffortTable table;
    bool usable = true;
    for (const toml::node& entry : *points) {
        std::optional<EffortPoint> point = effort_point(entry);
        if (!point) {
            usable = false;
            continue;
        }
        if (!table.points.empty() && point->speed_kmh <= table.points.back().speed_kmh) {
            problem(entry.source(), "effort points must rise strictly in speed");
            usable = false;
        }
        table.points.push_back(*point);
    }
    if (usable) stock_.effort = std::move(table);
}

// A traction mass above the train's mass is reported where the file sets
// either, the traction mass first.
void Reader::traction_within_mass(const toml::table& table) {
    if (stock_.traction_mass <= stock_.mass) return;
    const toml::node* at = table.get("traction_mass");
    if (!at) at = table.get("mass");
    if (at) problem(at->source(), "`traction_mass` must not exceed `mass`");
}

void Reader::root(const toml::table& table) {
    for (auto&& [key, value] : table) {
        const std::string_view name = key.str();
        if (root_number(name, value)) continue;
        if (name == "classification")
            classification(value);
        else if (name == "braked_mass")
            braked_mass(value);
        else if (name == "resistance")
            resistance(value);
        else if (name == "effort")
            effort(value);
        else
            unknown(key, value, "");
    }
    if (problems_.empty()) traction_within_mass(table);
}

// The problems in the order of the file: tables list their keys sorted.
StockRead Reader::result() && {
    StockRead read;
    if (problems_.empty()) {
        read.stock = std::move(stock_);
        return read;
    }
    std::stable_sort(problems_.begin(), problems_.end(),
                     [](const StockProblem& a, const StockProblem& b) {
                         return a.line != b.line ? a.line < b.line : a.column < b.column;
                     });
    read.problems = std::move(problems_);
    return read;
}

}  // namespace

StockRead read_stock_file(std::string_view text, const RollingStock& defaults) {
    toml::parse_result parsed = toml::parse(text);
    if (!parsed) {
        const toml::parse_error& error = parsed.error();
        StockRead read;
        read.problems.push_back({static_cast<int>(error.source().begin.line),
                                 static_cast<int>(error.source().begin.column),
                                 std::string(error.description())});
        return read;
    }
    Reader reader(defaults);
    reader.root(parsed.table());
    return std::move(reader).result();
}

}  // namespace scenario
