// Checking a line's source files as an editor holds them: a train file is
// checked against the line file of its folder, and a line file with a
// train file of its line; each is read from the editor when it is open
// there, else from the disk, which is never written.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "output/file_system.h"
#include "tool/diagnostics/diagnosed_build.h"
#include "tool/lsp/open_documents.h"

namespace scenario {

using ListFolder = std::function<std::vector<std::string>(const std::string& folder)>;

// One build of a line file with a train file (none: no train file is part
// of it), and the open documents that show its diagnostics.
struct PairCheck {
    SourceName linea;
    std::optional<SourceName> treno;
    const OpenDocument* shows_linea = nullptr;
    const OpenDocument* shows_treno = nullptr;
};

// The builds that check the line of `name`: one per open train file of
// the line (the line file shows what it gives with the first of them), or
// the line file with the first train file of its line on the disk.
std::vector<PairCheck> line_checks(const OpenDocuments& docs, const SourceName& name,
                                   const ListFolder& list_folder);

struct PairBuild {
    DiagnosedBuild b;
    ScenarioFiles files;
    bool with_treno = false;
};

// Builds the pair as far as its diagnostics need: no geometry rows, no
// files; the checks of open documents are theirs, made once per text.
// `memo` keeps the train's run from one check to the next.
void run_pair_check(const PairCheck& pair, const OpenDocuments& docs, FileSystem& disk,
                    PairBuild& out, RunMemo* memo = nullptr);

}  // namespace scenario
