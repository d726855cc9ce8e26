// Writing and reading .reg text. Text values are written as text only when that gives back the
// very same bytes (printable ASCII ending in exactly one NUL); anything else is written as hex.
#include "reg_file.h"

#include <cctype>
#include <cstdio>

namespace qlx::regtool {
namespace {

constexpr size_t kWrapColumn = 76;  // hex lines are wrapped near here, as the system editor does

bool printable(uint8_t c) { return c >= 0x20 && c <= 0x7E; }

bool writableName(const std::string& name) {
  for (unsigned char c : name)
    if (!printable(c)) return false;
  return true;
}

std::string quoted(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

bool textExact(const RegValueEntry& v) {
  if (v.type != REG_SZ || v.data.empty() || v.data.back() != 0) return false;
  for (size_t i = 0; i + 1 < v.data.size(); ++i)
    if (!printable(v.data[i])) return false;
  return true;
}

std::string valueLine(const RegValueEntry& v) {
  std::string line = (v.name.empty() ? std::string("@") : quoted(v.name)) + "=";
  if (textExact(v)) return line + quoted(std::string(v.data.begin(), v.data.end() - 1));
  if (v.type == REG_BINARY) {
    line += "hex:";
  } else {
    char prefix[24];
    std::snprintf(prefix, sizeof prefix, "hex(%x):", v.type);
    line += prefix;
  }
  for (size_t i = 0; i < v.data.size(); ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, "%02x", v.data[i]);
    line += byte;
    if (i + 1 < v.data.size()) {
      line += ',';
      const size_t column =
          line.size() - (line.rfind('\n') == std::string::npos ? 0 : line.rfind('\n') + 1);
      if (column >= kWrapColumn) line += "\\\n  ";
    }
  }
  return line;
}

std::string trimmed(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
  return s.substr(b, e - b);
}

std::string lineError(size_t line, const std::string& what) {
  return "line " + std::to_string(line) + ": " + what;
}

// Reads a quoted string starting at s[pos] == '"'; pos ends after the closing quote.
bool readQuoted(const std::string& s, size_t* pos, std::string* out, std::string* what) {
  out->clear();
  for (size_t i = *pos + 1; i < s.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c == '"') {
      *pos = i + 1;
      return true;
    }
    if (c == '\\') {
      if (i + 1 >= s.size() || (s[i + 1] != '\\' && s[i + 1] != '"')) {
        *what = "only \\\\ and \\\" may follow a backslash in quotes";
        return false;
      }
      *out += s[++i];
      continue;
    }
    if (!printable(c)) {
      *what = "quoted text holds a control or non-ASCII character (write such bytes as hex(1):)";
      return false;
    }
    *out += static_cast<char>(c);
  }
  *what = "a closing quote is missing";
  return false;
}

bool readHexBytes(const std::string& s, std::vector<uint8_t>* out, std::string* what) {
  out->clear();
  std::string t = trimmed(s);
  if (t.empty()) return true;
  size_t start = 0;
  while (true) {
    const size_t comma = t.find(',', start);
    const std::string item =
        trimmed(t.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (item.size() != 2 || !isxdigit(static_cast<unsigned char>(item[0])) ||
        !isxdigit(static_cast<unsigned char>(item[1]))) {
      *what = "\"" + item + "\" is not a byte in two hex digits";
      return false;
    }
    out->push_back(static_cast<uint8_t>(std::stoul(item, nullptr, 16)));
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

bool writeText(const std::vector<RegFileKey>& keys, std::string* text, std::string* error) {
  std::string out = std::string(kRegHeader) + "\n\n";
  for (const RegFileKey& key : keys) {
    if (!writableName(key.path) || key.path.find(']') != std::string::npos) {
      *error = "the key name \"" + key.path + "\" cannot be written to a .reg file";
      return false;
    }
    out += "[" + key.path + "]\n";
    for (const RegValueEntry& v : key.values) {
      if (!writableName(v.name)) {
        *error = "the value name \"" + v.name + "\" of " + key.path +
                 " cannot be written to a .reg file";
        return false;
      }
      out += valueLine(v) + "\n";
    }
    out += "\n";
  }
  *text = std::move(out);
  return true;
}

bool parseText(const std::string& input, std::vector<RegFileKey>* keys, std::string* error) {
  keys->clear();
  std::string text = input;
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);  // a UTF-8 byte order mark
  if (text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0xFF &&
      static_cast<unsigned char>(text[1]) == 0xFE) {
    *error = "line 1: the file is in UTF-16; save it as ASCII or UTF-8";
    return false;
  }
  std::vector<std::string> lines;
  for (size_t start = 0; start <= text.size();) {
    const size_t nl = text.find('\n', start);
    lines.push_back(text.substr(start, nl == std::string::npos ? std::string::npos : nl - start));
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  bool sawHeader = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    const size_t lineNo = i + 1;
    const std::string line = trimmed(lines[i]);
    if (line.empty() || line[0] == ';') continue;
    if (!sawHeader) {
      if (line != kRegHeader && line != "REGEDIT4") {
        *error = lineError(lineNo, std::string("expected \"") + kRegHeader + "\"");
        return false;
      }
      sawHeader = true;
      continue;
    }
    if (line[0] == '[') {
      if (line.back() != ']' || line.size() < 3) {
        *error = lineError(lineNo, "a key header must be [KEY PATH]");
        return false;
      }
      if (line[1] == '-') {
        *error = lineError(lineNo, "deleting keys is not supported");
        return false;
      }
      keys->push_back(RegFileKey{line.substr(1, line.size() - 2), {}});
      continue;
    }
    if (keys->empty()) {
      *error = lineError(lineNo, "a value comes before any [KEY] header");
      return false;
    }
    RegValueEntry v;
    size_t pos = 0;
    std::string what;
    if (line[0] == '@') {
      pos = 1;
    } else if (line[0] == '"') {
      if (!readQuoted(line, &pos, &v.name, &what)) {
        *error = lineError(lineNo, what);
        return false;
      }
    } else {
      *error = lineError(lineNo, "expected \"NAME\"=value, @=value or [KEY]");
      return false;
    }
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (pos >= line.size() || line[pos] != '=') {
      *error = lineError(lineNo, "'=' is missing after the value name");
      return false;
    }
    std::string data = trimmed(line.substr(pos + 1));
    if (data == "-") {
      *error = lineError(lineNo, "deleting values is not supported");
      return false;
    }
    if (!data.empty() && data[0] == '"') {
      size_t p = 0;
      std::string s;
      if (!readQuoted(data, &p, &s, &what) || p != data.size()) {
        *error = lineError(lineNo, what.empty() ? "text after the closing quote" : what);
        return false;
      }
      v.type = REG_SZ;
      v.data.assign(s.begin(), s.end());
      v.data.push_back(0);
    } else if (data.rfind("dword:", 0) == 0) {
      const std::string digits = data.substr(6);
      if (digits.size() != 8 ||
          digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        *error = lineError(lineNo, "dword: needs eight hex digits");
        return false;
      }
      const uint32_t n = static_cast<uint32_t>(std::stoul(digits, nullptr, 16));
      v.type = REG_DWORD;
      for (int b = 0; b < 4; ++b) v.data.push_back(static_cast<uint8_t>(n >> (8 * b)));
    } else if (data.rfind("hex", 0) == 0) {
      size_t colon = data.find(':');
      std::string kind = data.substr(3, colon == std::string::npos ? std::string::npos : colon - 3);
      if (colon == std::string::npos) {
        *error = lineError(lineNo, "':' is missing after hex");
        return false;
      }
      if (kind.empty()) {
        v.type = REG_BINARY;
      } else if (kind.size() >= 3 && kind.size() <= 10 && kind.front() == '(' &&
                 kind.back() == ')' &&
                 kind.find_first_not_of("0123456789abcdefABCDEF", 1) == kind.size() - 1) {
        v.type = static_cast<DWORD>(std::stoul(kind.substr(1, kind.size() - 2), nullptr, 16));
      } else {
        *error = lineError(lineNo, "expected hex: or hex(TYPE):");
        return false;
      }
      // Continuation lines: a line ending in a backslash goes on on the next one.
      std::string bytes = data.substr(colon + 1);
      size_t byteLine = lineNo;
      while (!bytes.empty() && bytes.back() == '\\') {
        bytes.pop_back();
        if (i + 1 >= lines.size() || trimmed(lines[i + 1]).empty()) {
          *error =
              lineError(byteLine, "a line ending in a backslash is not followed by more bytes");
          return false;
        }
        bytes += trimmed(lines[++i]);
        byteLine = i + 1;
      }
      if (!readHexBytes(bytes, &v.data, &what)) {
        *error = lineError(byteLine, what);
        return false;
      }
    } else {
      *error = lineError(lineNo, "expected \"text\", hex:, hex(TYPE): or dword: after '='");
      return false;
    }
    keys->back().values.push_back(std::move(v));
  }
  if (!sawHeader) {
    *error = "line 1: the file is empty; expected \"" + std::string(kRegHeader) + "\"";
    return false;
  }
  return true;
}

}  // namespace

Status writeRegFile(const std::vector<RegFileKey>& keys, std::string* text) {
  std::string error;
  return writeText(keys, text, &error) ? Status::Ok() : Status::Refused(error);
}

Status parseRegFile(const std::string& text, std::vector<RegFileKey>* keys) {
  std::string error;
  return parseText(text, keys, &error) ? Status::Ok() : Status::Damaged(error);
}

}  // namespace qlx::regtool
