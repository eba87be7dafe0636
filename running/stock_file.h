// An author's rolling-stock file: TOML whose keys, each optional, replace
// the values of a default train.
//
//   mass = 295             # t; integers are accepted wherever a number is
//   rotating_mass = 1.07
//   traction_mass = 85     # t
//   length = 99.3          # m
//   top_speed = 140        # km/h
//   braking = 0.42         # m/s^2, service deceleration
//   adhesion = 0.2         # base coefficient
//   classification = "REGIONALE"
//   braked_mass = 354      # t
//   [resistance]           # Davis form, v in km/h
//   a = 6.5                # kN
//   b = 0.05               # kN per km/h
//   c = 0.00125            # kN per (km/h)^2
//   [effort]
//   points = [[0, 300], [66, 300], [100, 199.5], [140, 142.5]]   # km/h, kN
//
// A given effort table replaces the default one whole.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "running/rolling_stock.h"

namespace scenario {

// A problem at a place in the file; line and column count from 1, as the
// TOML reader reports them.
struct StockProblem {
    int line = 0;
    int column = 0;
    std::string message;
};

// The stock, or, when the file has any problem, none and every problem found.
struct StockRead {
    std::optional<RollingStock> stock;
    std::vector<StockProblem> problems;
};

// Reads the text of a stock file over `defaults`. A TOML syntax error stops
// the reading at the error; otherwise every unknown table or key, value of
// the wrong type, value out of bounds (see stock_value_problem()), empty or
// unordered effort table and traction mass above the mass is reported.
StockRead read_stock_file(std::string_view text, const RollingStock& defaults);

}  // namespace scenario
