// Every diagnostic the author's checks can give, with its stable identifier,
// its severity, a one-line summary and a short explanation: what it means,
// the usual cause, how to fix it. The checks emit an identifier and a
// message; the tool's outputs and its explanations read this table.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace scenario {

enum class Severity : std::uint8_t {
    error,    // nothing, or not everything, compiles as written
    warning,  // compiled, but almost certainly not as the author meant
    note,     // a harmless normalisation worth knowing
};

enum class DiagnosticId : std::uint8_t {
    recorded_code,
    missing_source,
    no_route,
    fatal_check,
    number_too_large,
    record_cut_short,
    beyond_route,
    reaches_off_route,
    not_a_multiple,
    curve_without_class,
    record_before_length,
    record_spans_lines,
    extra_fields,
    unknown_keyword,
    misplaced_record,
    two_record_kinds,
    curve_stray_s,
    curve_class_digits,
    comment_with_comma,
    comment_taken_as_keyword,
    not_a_number,
    value_out_of_range,
    value_truncated,
    stop_replaces_object,
    mark_replaces_mark,
    rows_out_of_order,
    last_field_not_fine,
    no_generale,
    position_rounded,
    speed_rounded,
    tempo_raised,
    // The run and the documents, set against the timetable.
    timetable_too_tight,
    timetable_not_increasing,
    margin_below_standard,
    stock_problem,
    card_disagrees,
    run_blocked,
};

struct DiagnosticKind {
    DiagnosticId id;
    std::string_view name;  // kebab-case, stable: scripts and editors key on it
    Severity severity;
    std::string_view summary;
    std::string_view explanation;
};

std::span<const DiagnosticKind> diagnostic_kinds();
const DiagnosticKind& diagnostic_kind(DiagnosticId id);
// The kind named `name`, or nullptr.
const DiagnosticKind* find_diagnostic_kind(std::string_view name);

std::string_view severity_name(Severity severity);  // "error", "warning", "note"

}  // namespace scenario
