// A small hand-written JSON writer for the state dump: objects, arrays, strings, numbers, booleans.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorfp::sim {

// Writes indented JSON into a string. Keys and values are appended in call order; the writer puts
// the commas and the indentation. Strings are taken as UTF-8 and escaped as JSON requires.
class JsonWriter {
 public:
  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();

  // Inside an object: the key of the next value.
  void Key(std::string_view key);

  void String(std::string_view value);
  void Int(std::int64_t value);
  void Uint(std::uint64_t value);
  void Bool(bool value);
  void Null();

  // Shorthands for a key and its value.
  void Field(std::string_view key, std::string_view value) {
    Key(key);
    String(value);
  }
  void Field(std::string_view key, const char* value) {
    Key(key);
    String(value);
  }
  void Field(std::string_view key, bool value) {
    Key(key);
    Bool(value);
  }
  void Field(std::string_view key, int value) {
    Key(key);
    Int(value);
  }
  void Field(std::string_view key, std::int64_t value) {
    Key(key);
    Int(value);
  }
  void Field(std::string_view key, std::uint64_t value) {
    Key(key);
    Uint(value);
  }

  // The text written so far, ending with a newline once the outermost value is closed.
  const std::string& str() const { return out_; }

 private:
  void BeforeValue();
  void Open(char bracket);
  void Close(char bracket);
  void Indent();

  std::string out_;
  std::vector<int> counts_;  // values written at each open level
  bool after_key_ = false;
};

// `value` as a quoted JSON string.
std::string JsonQuote(std::string_view value);

}  // namespace zorfp::sim
