#include "app/temporary_names.h"

#include <atomic>

namespace scenario {

namespace {

constexpr std::string_view kSuffix = ".tmp";

// Removes a run of one or more digits from the front of `text`.
bool take_digits(std::string_view& text) {
    std::size_t n = 0;
    while (n < text.size() && text[n] >= '0' && text[n] <= '9')
        ++n;
    text.remove_prefix(n);
    return n > 0;
}

bool take(std::string_view& text, std::string_view prefix) {
    if (!text.starts_with(prefix)) return false;
    text.remove_prefix(prefix.size());
    return true;
}

}  // namespace

std::string temporary_name(std::string_view path, unsigned long process, unsigned serial) {
    std::string name(path);
    name += '.';
    name += std::to_string(process);
    name += '.';
    name += std::to_string(serial);
    name += kSuffix;
    return name;
}

std::string next_temporary_name(std::string_view path, unsigned long process) {
    static std::atomic<unsigned> serial{0};
    return temporary_name(path, process, serial++);
}

bool is_temporary_of(std::string_view entry, std::string_view owned) {
    return !owned.empty() && take(entry, owned) && take(entry, ".") && take_digits(entry) &&
           take(entry, ".") && take_digits(entry) && entry == kSuffix;
}

std::string_view folder_of(std::string_view path, std::string_view separators) {
    const std::size_t last = path.find_last_of(separators);
    if (last == std::string_view::npos) return ".";
    // "/name" and "//name" (the root folder with the separator added after it)
    // both lie in the root; so does "C:\\name".
    const std::size_t end = path.find_last_not_of(separators, last);
    if (end == std::string_view::npos) return path.substr(0, 1);
    if (end == 1 && path[1] == ':') return path.substr(0, 3);
    return path.substr(0, last);
}

std::string_view name_of(std::string_view path, std::string_view separators) {
    const std::size_t last = path.find_last_of(separators);
    return last == std::string_view::npos ? path : path.substr(last + 1);
}

}  // namespace scenario
