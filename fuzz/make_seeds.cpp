// Writes the fuzz seeds that come from the embedded scenario into the
// corpus folders given on the command line, so that fuzzing starts from
// the texts the program really emits:
//   scenario_fuzz_seeds <field_reader corpus folder> <compile corpus folder>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "content/embedded_texts.h"
#include "content/emitter.h"

namespace {

// Field type orders for the field reader target (two bits per read:
// text, Byte, Integer, Long): a keyword then Longs, as the line file is
// read, and a mix as the train file's station rows are.
constexpr std::uint8_t kPlanKeywordLongs = 0xFC;
constexpr std::uint8_t kPlanMixed = 0x1B;

// Flags byte of the compile target: bit 0 would build the line geometry,
// which makes each run of the embedded texts many times slower; the small
// hand-made seeds cover the geometry instead.
constexpr char kWithoutGeometry = 0;

bool write(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (out) return true;
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return false;
}

std::string with_prefix(char prefix, std::string_view text) {
    std::string bytes(1, prefix);
    bytes += text;
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <field_reader corpus> <compile corpus>\n", argv[0]);
        return 2;
    }
    const std::string reader_dir = argv[1];
    const std::string compile_dir = argv[2];
    const std::string linea = scenario::emit_text(scenario::testo_linea());
    const std::string treno = scenario::emit_text(scenario::testo_treno());
    std::string both = linea;
    both += '\0';
    both += treno;

    bool ok = true;
    ok = write(reader_dir + "/embedded_linea", with_prefix(kPlanKeywordLongs, linea)) && ok;
    ok = write(reader_dir + "/embedded_treno", with_prefix(kPlanMixed, treno)) && ok;
    ok = write(compile_dir + "/embedded_no_geometry", with_prefix(kWithoutGeometry, both)) && ok;
    return ok ? 0 : 1;
}
