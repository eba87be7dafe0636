// The three documents for the driver: the slowdown bulletin, the notes and
// the train card, checked as the bytes their emitters write.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

#include "content/embedded_texts.h"
#include "content/emitter.h"

namespace scenario {
namespace {

// The lines of an emitted text, without their CR LF.
std::vector<std::string> lines_of(std::span<const std::string_view> table) {
    const std::string text = emit_text(table);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "text does not end with CR LF";
    return lines;
}

std::vector<std::string> split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(separator, start)) != std::string_view::npos;
         start = end + 1) {
        parts.emplace_back(text.substr(start, end - start));
    }
    parts.emplace_back(text.substr(start));
    return parts;
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return "";
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// Upper case without blanks: the card and the train file may space and case
// a name differently ("S.ANGELO", "S. ANGELO").
std::string name_key(std::string_view name) {
    std::string key;
    for (char c : name) {
        if (c != ' ') key += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return key;
}

TEST(Rallentamenti, IsFourEmptyLinesAndTheNoRestrictionLine) {
    EXPECT_EQ(emit_text(testo_rallentamenti()),
              "\r\n\r\n\r\n\r\n                         NESSUNA PRESCRIZIONE\r\n");
}

TEST(Note, FollowTheLayoutOfTitleNotesSourcesAndSignature) {
    const std::vector<std::string> lines = lines_of(testo_note());
    ASSERT_EQ(lines.size(), 36u);
    EXPECT_EQ(lines[0], "                  Treno 4271 sul percorso Alvena - Sorbio");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], " Note sullo scenario:");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[28], " - Questo scenario \xE8 privo di situazioni particolarmente difficili.");
    // One letter per line, from line 5: 'n' opens a note, 'c' continues it,
    // 't' is the sources paragraph, '.' is empty.
    constexpr std::string_view kShape =
        "nc."     // 5-7: how the line is built and run
        "ncc."    // 8-11: where the real train starts
        "nc."     // 12-14: the closed stations
        "ncc."    // 15-18: the signals
        "ncccc."  // 19-24: the gradients
        "ncc."    // 25-28: the timetable
        "n."      // 29-30: the last note
        "ttt."    // 31-34: the sources
        "..";     // 35-36: no signature
    ASSERT_EQ(kShape.size(), 32u);
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        const std::string& line = lines[i + 4];
        SCOPED_TRACE("line " + std::to_string(i + 5) + ": " + line);
        EXPECT_LE(line.size(), 91u);
        switch (kShape[i]) {
            case 'n':
                EXPECT_EQ(line.substr(0, 3), " - ");
                EXPECT_EQ(line.find_first_not_of(' ', 2), 3u);
                break;
            case 'c':
                EXPECT_EQ(line.find_first_not_of(' '), 3u);
                break;
            case 't':
                EXPECT_EQ(line.find_first_not_of(' '), 1u);
                break;
            default:
                EXPECT_EQ(line, "");
                break;
        }
    }
}

// Only the notes leave ASCII, and only with the three single-byte accented
// letters; a UTF-8 sequence (a lead byte and a continuation byte) fails here.
TEST(EmittedTexts, HoldNoByteOutsideTheirCharacterSet) {
    struct Row {
        const char* name;
        std::span<const std::string_view> table;
        std::string_view allowed_high_bytes;
    };
    const Row rows[] = {
        {"linea", testo_linea(), ""},
        {"treno", testo_treno(), ""},
        {"note", testo_note(), "\xE0\xE8\xF9"},  // à, è, ù in Windows-1252
        {"rallentamenti", testo_rallentamenti(), ""},
        {"scheda", testo_scheda(), ""},
    };
    for (const Row& row : rows) {
        const std::string text = emit_text(row.table);
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto byte = static_cast<unsigned char>(text[i]);
            if (byte < 0x80) continue;
            EXPECT_NE(row.allowed_high_bytes.find(text[i]), std::string_view::npos)
                << row.name << ": byte 0x" << std::hex << int{byte} << " at " << std::dec << i;
        }
    }
    EXPECT_NE(emit_text(testo_note()).find("pi\xF9 "), std::string::npos);
}

// ---- train card ----

enum class RowKind { kOrigin, kStop, kPassed, kTerminus, kBad };

// Character positions (from 0) of the eight bars of a timetable row.
constexpr std::size_t kBars[] = {1, 7, 13, 24, 30, 59, 77, 83};

struct CardRow {
    std::string cells[7];  // between the bars, in column order
    RowKind kind = RowKind::kBad;
    std::string arrival;    // "hh.mm" plus '+' or ' '; empty at the origin
    std::string departure;  // "hh.mm"; the passing time of a passed row
};

bool is_time(std::string_view t) {
    return t.size() == 5 && std::isdigit(t[0]) && std::isdigit(t[1]) && t[2] == '.' &&
           t[3] >= '0' && t[3] <= '5' && std::isdigit(t[4]);
}

// Matches an "Orario" cell against a layout: 'T' stands for a time, 'p' for
// its half-minute mark ('+' or ' '), every other character for itself.
bool matches(std::string_view cell, std::string_view layout, std::vector<std::string>* times) {
    times->clear();
    std::size_t at = 0;
    for (char c : layout) {
        if (c == 'T') {
            if (!is_time(cell.substr(at, 5))) return false;
            times->emplace_back(cell.substr(at, 5));
            at += 5;
        } else if (c == 'p') {
            if (at >= cell.size() || (cell[at] != '+' && cell[at] != ' ')) return false;
            times->back() += cell[at++];
        } else if (at >= cell.size() || cell[at++] != c) {
            return false;
        }
    }
    return at == cell.size();
}

void classify(CardRow* row) {
    const std::string& cell = row->cells[5];
    std::vector<std::string> t;
    if (matches(cell, "           T ", &t)) {
        row->kind = RowKind::kOrigin, row->departure = t[0];
    } else if (matches(cell, " Tp    T ", &t)) {
        row->kind = RowKind::kStop, row->arrival = t[0], row->departure = t[1];
    } else if (matches(cell, "      Tp     ", &t)) {
        row->kind = RowKind::kPassed, row->departure = t[0];
    } else if (matches(cell, " T           ", &t)) {
        row->kind = RowKind::kTerminus, row->arrival = t[0];
    }
}

class Scheda : public ::testing::Test {
  protected:
    void SetUp() override {
        lines_ = lines_of(testo_scheda());
        ASSERT_EQ(lines_.size(), 61u);
        for (std::size_t i = 14; i < 57; ++i)
            rows_.push_back(parse(lines_[i]));
    }

    static CardRow parse(const std::string& line) {
        CardRow row;
        for (std::size_t c = 0; c < 7 && kBars[c + 1] < line.size(); ++c) {
            row.cells[c] = line.substr(kBars[c] + 1, kBars[c + 1] - kBars[c] - 1);
        }
        classify(&row);
        return row;
    }

    static std::string name(const CardRow& row) { return trimmed(row.cells[4]); }

    std::vector<std::string> lines_;
    std::vector<CardRow> rows_;  // the 43 timetable rows
};

TEST_F(Scheda, HasItsFixedLinesAndEmptyLines) {
    EXPECT_EQ(lines_[6], " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ");
    EXPECT_EQ(lines_[10], "  " + std::string(81, '_'));
    EXPECT_EQ(lines_[57], lines_[13]);
    for (std::size_t empty : {9, 58, 59})
        EXPECT_EQ(lines_[empty], "") << "line " << empty + 1;
    EXPECT_EQ(lines_[60], "Nota: Nella colonna Orario il simbolo '+' indica 'mezzo minuto'.");
}

TEST_F(Scheda, FrameLinesAndRowsHaveTheirBarsInPlace) {
    int with_trailing_space = 0;
    for (std::size_t i = 11; i < 58; ++i) {
        const std::string& line = lines_[i];
        SCOPED_TRACE("line " + std::to_string(i + 1) + ": " + line);
        const bool longer = line.size() == 85 && line.back() == ' ';
        with_trailing_space += longer ? 1 : 0;
        EXPECT_TRUE(line.size() == 84 || longer);
        for (std::size_t at = 0; at < std::min<std::size_t>(line.size(), 84); ++at) {
            const bool bar = std::find(std::begin(kBars), std::end(kBars), at) != std::end(kBars);
            EXPECT_EQ(line[at] == '|', bar) << "at position " << at + 1;
        }
    }
    EXPECT_EQ(with_trailing_space, 2);
}

// Recovery margins stand on 11 of the stops and at the terminus.
TEST_F(Scheda, RowsAreOfTheFourKindsInTheirCounts) {
    const std::string_view kMargins[] = {"  1  ", " 0,5 ", " 1,5 ", "  2  ", " 2,5 "};
    int counts[5] = {}, margins[5] = {};
    for (const CardRow& row : rows_) {
        const int kind = static_cast<int>(row.kind);
        ++counts[kind];
        EXPECT_NE(row.kind, RowKind::kBad) << "Orario cell \"" << row.cells[5] << "\"";
        if (row.cells[6] == "     ") continue;
        ++margins[kind];
        EXPECT_NE(std::find(std::begin(kMargins), std::end(kMargins), row.cells[6]),
                  std::end(kMargins))
            << row.cells[6];
    }
    EXPECT_EQ(rows_.front().kind, RowKind::kOrigin);
    EXPECT_EQ(rows_.back().kind, RowKind::kTerminus);
    // By kind: origin, stop, passed, terminus, unrecognised.
    const int kCounts[] = {1, 14, 27, 1, 0};
    const int kMarginsOn[] = {0, 11, 0, 1, 0};
    for (int kind = 0; kind < 5; ++kind) {
        EXPECT_EQ(counts[kind], kCounts[kind]) << "kind " << kind;
        EXPECT_EQ(margins[kind], kMarginsOn[kind]) << "kind " << kind;
    }
}

// Times in half minutes from midnight; never earlier than the row before.
TEST_F(Scheda, TimesRunForwardFromDepartureToArrival) {
    auto half_minutes = [](const std::string& t) {
        const int h = std::stoi(t.substr(0, 2)), m = std::stoi(t.substr(3, 2));
        return (h * 60 + m) * 2 + (t.size() > 5 && t[5] == '+' ? 1 : 0);
    };
    int previous = half_minutes("17.43");
    for (const CardRow& row : rows_) {
        SCOPED_TRACE(name(row));
        for (const std::string& t : {row.arrival, row.departure}) {
            if (t.empty()) continue;
            EXPECT_GE(half_minutes(t), previous);
            previous = half_minutes(t);
        }
    }
    EXPECT_EQ(rows_.front().departure, "17.43");
    EXPECT_EQ(rows_.back().arrival, "19.30");
}

// The reading falls from the origin to the junction, where the line's own
// count begins, then rises to the terminus.
TEST_F(Scheda, KilometreReadingsFallToTheJunctionThenRise) {
    std::vector<int> metres;
    for (const CardRow& row : rows_) {
        const std::string& cell = row.cells[2];
        const std::string km = trimmed(cell);
        ASSERT_EQ(cell.back(), ' ') << cell;
        ASSERT_GE(km.size(), 5u) << cell;
        ASSERT_EQ(km[km.size() - 4], '.') << cell;
        metres.push_back(std::stoi(km.substr(0, km.size() - 4)) * 1000 +
                         std::stoi(km.substr(km.size() - 3)));
    }
    EXPECT_EQ(metres[0], 314050);
    EXPECT_EQ(metres[3], 311762);
    EXPECT_EQ(metres[4], 3184);
    EXPECT_EQ(metres.back(), 100949);
    for (std::size_t i = 1; i < metres.size(); ++i) {
        if (i == 4) continue;  // the count starts again
        const bool falling = i < 4;
        EXPECT_EQ(metres[i] < metres[i - 1], falling) << "row " << i + 1;
        EXPECT_NE(metres[i], metres[i - 1]) << "row " << i + 1;
    }
}

// The reference points between the stations, by the way their names begin.
TEST_F(Scheda, ReferencePointsAreOfTheListedKinds) {
    struct Kind {
        std::string_view start;
        int expected;
    };
    const Kind kinds[] = {
        {"Deviatoio di uscita", 2},  // a station's exit points
        {"Chilometro ", 4},          // a kilometre mark
        {"Cippo Chilometro 5", 1},   // a milestone
        {"Bivio ", 1},               // the junction
        {"Segnale avviso ", 3},      // announces the next station
        {"Imbocco galleria ", 1},    // a tunnel mouth
        {"Curva al Km. 28+700", 1},  // a curve
        {"Galleria ", 1},            // a tunnel
        {"Staz. dismessa ", 3},      // closed stations, still among the 29
    };
    for (const Kind& kind : kinds) {
        int found = 0;
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            if (!name(rows_[i]).starts_with(kind.start)) continue;
            ++found;
            EXPECT_TRUE(rows_[i].kind == RowKind::kPassed) << name(rows_[i]);
        }
        EXPECT_EQ(found, kind.expected) << kind.start;
    }
}

// A train file station row: its name, and hours and minutes (fields 14, 15).
struct TrainStation {
    std::string name;
    int stop = 0;  // field 13: 0 where the train passes
    std::string time;
};

std::vector<TrainStation> train_stations() {
    std::vector<TrainStation> stations;
    for (std::string_view line : testo_treno()) {
        if (!line.starts_with("stazione,")) continue;
        const std::vector<std::string> f = split(line, ',');
        EXPECT_EQ(f.size(), 18u) << line;
        if (f.size() != 18) continue;
        const int hours = std::stoi(f[14]), minutes = std::stoi(f[15]);
        std::string time = std::to_string(hours * 100 + minutes);
        if (time.size() < 4) time.insert(0, 4 - time.size(), '0');
        time.insert(2, ".");
        stations.push_back({trimmed(f[17]), std::stoi(f[13]), time});
    }
    return stations;
}

bool is_reference_point(const std::string& name) {
    for (std::string_view start : {"Deviatoio ", "Chilometro ", "Cippo ", "Bivio ", "Segnale ",
                                   "Imbocco ", "Curva ", "Galleria "}) {
        if (name.starts_with(start)) return true;
    }
    return false;
}

// The card is written by hand; this ties its stations and timetable to the
// train file that the simulator runs.
TEST_F(Scheda, StationsAndTimesAgreeWithTheTrainFile) {
    const std::vector<TrainStation> train = train_stations();
    ASSERT_EQ(train.size(), 29u);
    std::size_t next = 0;
    int mixed_case = 0;
    std::string announced;  // the station named by the last distant signal
    for (const CardRow& row : rows_) {
        std::string card_name = name(row);
        if (card_name.starts_with("Segnale avviso ")) announced = name_key(card_name.substr(15));
        if (is_reference_point(card_name)) continue;
        SCOPED_TRACE(card_name);
        ASSERT_LT(next, train.size()) << "more stations on the card than in the train file";
        const TrainStation& station = train[next++];
        if (card_name.starts_with("Staz. dismessa ")) {
            card_name.erase(0, 15);
        } else if (std::any_of(card_name.begin(), card_name.end(), ::islower)) {
            ++mixed_case;
        }
        EXPECT_EQ(name_key(card_name), name_key(station.name));
        if (!announced.empty()) {
            EXPECT_EQ(announced, name_key(card_name)) << "not the announced station";
        }
        announced.clear();
        if (next == 1) {
            EXPECT_EQ(row.kind, RowKind::kOrigin);
            EXPECT_EQ(row.departure, station.time);
        } else if (next == train.size()) {
            EXPECT_EQ(row.kind, RowKind::kTerminus);
            EXPECT_EQ(row.arrival.substr(0, 5), station.time);
        } else if (station.stop != 0) {
            EXPECT_EQ(row.kind, RowKind::kStop);
            EXPECT_EQ(row.departure, station.time);
        } else {
            EXPECT_EQ(row.kind, RowKind::kPassed);
        }
    }
    EXPECT_EQ(next, train.size());
    EXPECT_EQ(mixed_case, 1);
}

}  // namespace
}  // namespace scenario
