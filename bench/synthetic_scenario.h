// A line and a train of any length, built from a repeating 10 km block with
// the density of objects of the embedded scenario (curves every 800 m,
// gradients every 1250 m, speed boards, signals, tunnels, stations and
// signs), for measuring how the build's cost grows with the route.
#pragma once

#include <cstdint>
#include <string>

namespace scenario::bench {

// The longest route the line source format allows.
constexpr std::int32_t kLunghezzaMassima = 1000000;

// Source texts of a route of `lunghezza` metres (a multiple of 10000, at most
// kLunghezzaMassima). They compile without a recorded failure.
std::string synthetic_linea(std::int32_t lunghezza);
std::string synthetic_treno(std::int32_t lunghezza);

}  // namespace scenario::bench
