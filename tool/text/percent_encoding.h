// Text in URIs: the one percent-encoder of the tool, and a file's path as
// a URI.
#pragma once

#include <string>
#include <string_view>

namespace scenario {

// Every byte of `text` outside the unreserved characters of a URI
// (letters, digits, "-._~") and outside `keep` as "%" and two capital
// hexadecimal digits.
std::string percent_encoded(std::string_view text, std::string_view keep = {});

// A file's path as a URI reference, with forward slashes: a path from the
// root ("/x", "C:\x", "\\host\share\x") as a file URI ("file:///x",
// "file:///C:/x", "file://host/share/x"), any other as a relative one.
std::string path_uri(std::string_view path);

}  // namespace scenario
