// The driver's train card and slowdown bulletin made from a compiled
// scenario and the run of its train, so that they say what the scenario
// does.
//
// The card has a row for every station of the train file and one where the
// line's speed limit changes between two stations ("Chilometro" and the
// kilometre). Its times: the train file's departure at the origin and at
// every stop, its arrival at the terminus; between two stops, the arrival
// and every passing time spread the section's scheduled time over the
// fastest run in proportion, so that each place gets its share of the
// margin, rounded to the half minute (a station passed with a time of its
// own keeps it). "Rec" is that margin, in whole half minutes.
#pragma once

#include <string>
#include <vector>

#include "authoring/slowdown_bulletin.h"
#include "authoring/train_card.h"
#include "compiler/model.h"
#include "running/rolling_stock.h"
#include "running/route_run.h"

namespace scenario {

// The identity block: the train, the first and last stations, the stock's
// top speed and the train file's braked-mass percentage; the stock file's
// classification and braked mass, or the builder's card's own figure.
CardIdentity card_identity(const Scenario& s, const RollingStock& stock);

// The rows, in running order. REQUIRES: `run` is the run of `s`.
std::vector<CardRow> card_rows(const Scenario& s, const RouteRun& run);

// The slowdowns of the route in running order, with the line's kilometres.
std::vector<BulletinEntry> bulletin_entries(const Scenario& s);

// The lines of a document as its file holds them: each ended by CR LF.
std::string document_text(const std::vector<std::string>& lines);

}  // namespace scenario
