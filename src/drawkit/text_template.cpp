// Filling placeholders. The text is kept as pieces, each either still part of the template (and
// so open to the keys that follow) or a value put in (never searched again); this is what keeps
// the replacement finite when a value contains its own key.
#include "drawkit/text_template.h"

#include "resources/string_table.h"

namespace qlx {
namespace {

struct Piece {
  std::string text;
  bool fromTemplate;
};

// Splits every template piece at the occurrences of key, left to right, putting value between.
std::vector<Piece> replaceKey(std::vector<Piece> pieces, const std::string& key,
                              const std::string& value) {
  std::vector<Piece> out;
  out.reserve(pieces.size());
  for (Piece& piece : pieces) {
    if (!piece.fromTemplate) {
      out.push_back(std::move(piece));
      continue;
    }
    std::size_t from = 0;
    for (std::size_t at; (at = piece.text.find(key, from)) != std::string::npos;
         from = at + key.size()) {
      out.push_back({piece.text.substr(from, at - from), true});
      out.push_back({value, false});
    }
    out.push_back({piece.text.substr(from), true});
  }
  return out;
}

}  // namespace

std::string fillTemplateText(std::string text, const std::vector<std::string>& pairs) {
  std::vector<Piece> pieces{{std::move(text), true}};
  std::string value;
  for (std::size_t k = 0; k < pairs.size(); k += 2) {
    if (k + 1 < pairs.size()) value = pairs[k + 1];
    if (!pairs[k].empty()) pieces = replaceKey(std::move(pieces), pairs[k], value);
  }
  std::string result;
  for (const Piece& piece : pieces) result += piece.text;
  return result;
}

std::string fillTemplate(int id, const std::vector<std::string>& pairs) {
  return fillTemplateText(loadString(id), pairs);
}

}  // namespace qlx
