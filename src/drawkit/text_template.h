// Messages with placeholders: a string-table text whose keys (such as "|1") are replaced by
// values, e.g. the completion message with the time.
#pragma once

#include <string>
#include <vector>

namespace qlx {

// pairs holds a key, its value, the next key, its value, ... An odd count leaves the last key
// with the previous pair's value (empty for the first pair). Each key replaces its occurrences
// in the template once, left to right; text that a value brought in is never searched again, by
// that key or a later one, so a value may contain any key. An empty key replaces nothing.
std::string fillTemplateText(std::string text, const std::vector<std::string>& pairs);

// fillTemplateText over string-table entry id.
std::string fillTemplate(int id, const std::vector<std::string>& pairs);

}  // namespace qlx
