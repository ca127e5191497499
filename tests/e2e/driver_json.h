// The driver's wire format: one JSON array per command line in, one JSON
// object per answer line out, both UTF-8. Only what the commands need: arrays,
// strings, integers, true/false/null on input; objects are built as text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct JsonValue {
  enum class Kind { Null, Bool, Number, String, Array };
  Kind kind = Kind::Null;
  std::int64_t number = 0;  // also 0/1 for Bool
  std::string text;         // UTF-8
  std::vector<JsonValue> items;
};

// Parses one JSON value (whole line); nothing on a syntax error.
std::optional<JsonValue> ParseJson(std::string_view line);

// A JSON string literal (quotes included) of UTF-8 text.
std::string JsonQuote(std::string_view utf8);

// Builds one JSON object: Add... appends "key":value pairs in order.
class JsonObject {
 public:
  JsonObject& AddRaw(std::string_view key, std::string_view rawJson);
  JsonObject& AddString(std::string_view key, std::string_view utf8);
  JsonObject& AddNumber(std::string_view key, std::int64_t value);
  JsonObject& AddBool(std::string_view key, bool value);
  std::string Text() const { return "{" + body_ + "}"; }

 private:
  std::string body_;
};

// A JSON array of already formatted values.
std::string JsonArray(const std::vector<std::string>& rawItems);
