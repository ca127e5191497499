// Reading the driver's JSON command lines and writing its JSON answers.
#include "driver_json.h"

#include <cstdio>

namespace {

struct Reader {
  std::string_view text;
  std::size_t pos = 0;

  void SkipBlanks() {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\r' ||
                                 text[pos] == '\n')) {
      ++pos;
    }
  }
  bool Take(char c) {
    SkipBlanks();
    if (pos < text.size() && text[pos] == c) {
      ++pos;
      return true;
    }
    return false;
  }
  bool TakeWord(std::string_view word) {
    if (text.substr(pos, word.size()) != word) return false;
    pos += word.size();
    return true;
  }
};

void AppendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

std::optional<std::uint32_t> ReadHex4(Reader& r) {
  if (r.pos + 4 > r.text.size()) return std::nullopt;
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) {
    char c = r.text[r.pos++];
    value <<= 4;
    if (c >= '0' && c <= '9') value |= static_cast<std::uint32_t>(c - '0');
    else if (c >= 'a' && c <= 'f') value |= static_cast<std::uint32_t>(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F') value |= static_cast<std::uint32_t>(c - 'A' + 10);
    else return std::nullopt;
  }
  return value;
}

std::optional<std::string> ReadString(Reader& r) {
  std::string out;
  while (r.pos < r.text.size()) {
    char c = r.text[r.pos++];
    if (c == '"') return out;
    if (c != '\\') {
      out += c;
      continue;
    }
    if (r.pos >= r.text.size()) return std::nullopt;
    char e = r.text[r.pos++];
    switch (e) {
      case '"': out += '"'; break;
      case '\\': out += '\\'; break;
      case '/': out += '/'; break;
      case 'b': out += '\b'; break;
      case 'f': out += '\f'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case 'u': {
        auto code = ReadHex4(r);
        if (!code) return std::nullopt;
        if (*code >= 0xD800 && *code < 0xDC00 && r.TakeWord("\\u")) {
          auto low = ReadHex4(r);
          if (!low || *low < 0xDC00 || *low >= 0xE000) return std::nullopt;
          *code = 0x10000 + ((*code - 0xD800) << 10) + (*low - 0xDC00);
        }
        AppendUtf8(out, *code);
        break;
      }
      default: return std::nullopt;
    }
  }
  return std::nullopt;
}

std::optional<JsonValue> ReadValue(Reader& r, int depth) {
  if (depth > 8) return std::nullopt;
  r.SkipBlanks();
  if (r.pos >= r.text.size()) return std::nullopt;
  JsonValue value;
  char c = r.text[r.pos];
  if (c == '"') {
    ++r.pos;
    auto text = ReadString(r);
    if (!text) return std::nullopt;
    value.kind = JsonValue::Kind::String;
    value.text = std::move(*text);
  } else if (c == '[') {
    ++r.pos;
    value.kind = JsonValue::Kind::Array;
    if (r.Take(']')) return value;
    do {
      auto item = ReadValue(r, depth + 1);
      if (!item) return std::nullopt;
      value.items.push_back(std::move(*item));
    } while (r.Take(','));
    if (!r.Take(']')) return std::nullopt;
  } else if (c == '-' || (c >= '0' && c <= '9')) {
    bool negative = c == '-';
    if (negative) ++r.pos;
    std::uint64_t magnitude = 0;
    std::size_t start = r.pos;
    while (r.pos < r.text.size() && r.text[r.pos] >= '0' && r.text[r.pos] <= '9') {
      if (magnitude > (1ULL << 62)) return std::nullopt;
      magnitude = magnitude * 10 + static_cast<std::uint64_t>(r.text[r.pos++] - '0');
    }
    if (r.pos == start) return std::nullopt;
    value.kind = JsonValue::Kind::Number;
    value.number = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
  } else if (r.TakeWord("true")) {
    value.kind = JsonValue::Kind::Bool;
    value.number = 1;
  } else if (r.TakeWord("false")) {
    value.kind = JsonValue::Kind::Bool;
  } else if (!r.TakeWord("null")) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<JsonValue> ParseJson(std::string_view line) {
  Reader r{line};
  auto value = ReadValue(r, 0);
  r.SkipBlanks();
  if (!value || r.pos != line.size()) return std::nullopt;
  return value;
}

std::string JsonQuote(std::string_view utf8) {
  std::string out = "\"";
  for (char c : utf8) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      out += escape;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

JsonObject& JsonObject::AddRaw(std::string_view key, std::string_view rawJson) {
  if (!body_.empty()) body_ += ',';
  body_ += JsonQuote(key);
  body_ += ':';
  body_ += rawJson;
  return *this;
}

JsonObject& JsonObject::AddString(std::string_view key, std::string_view utf8) {
  return AddRaw(key, JsonQuote(utf8));
}

JsonObject& JsonObject::AddNumber(std::string_view key, std::int64_t value) {
  return AddRaw(key, std::to_string(value));
}

JsonObject& JsonObject::AddBool(std::string_view key, bool value) {
  return AddRaw(key, value ? "true" : "false");
}

std::string JsonArray(const std::vector<std::string>& rawItems) {
  std::string out = "[";
  for (std::size_t i = 0; i < rawItems.size(); ++i) {
    if (i > 0) out += ',';
    out += rawItems[i];
  }
  return out + "]";
}
