#include "authoring/text_edit.h"

#include <algorithm>
#include <vector>

namespace scenario {

std::optional<std::string> apply_edits(std::string_view text, std::span<const TextEdit> edits) {
    std::vector<const TextEdit*> order;
    for (const TextEdit& e : edits)
        order.push_back(&e);
    std::ranges::stable_sort(order, {}, [](const TextEdit* e) { return e->begin; });
    std::string out;
    std::size_t at = 0;
    for (const TextEdit* e : order) {
        if (e->begin < at || e->end < e->begin || e->end > text.size()) return std::nullopt;
        out.append(text.substr(at, e->begin - at));
        out += e->text;
        at = e->end;
    }
    out.append(text.substr(at));
    return out;
}

}  // namespace scenario
