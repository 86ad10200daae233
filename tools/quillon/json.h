// A small JSON writer for the commands' --json output: one document, written as it is built.
//
//     quillon::JsonWriter json(std::cout);
//     json.beginObject();
//     json.key("file").value(path);
//     json.key("airspaces").beginArray();
//     ...
//     json.endArray();
//     json.endObject();  // ends the document with a newline
//
// Strings are taken as bytes: valid UTF-8 passes through, every other byte (a Latin-1 name
// from an old OpenAir file) is written as the code point of that byte (\u00XX), so the
// document is always valid JSON whatever the input held.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}

    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);
    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(const std::string& text) { return value(std::string_view(text)); }
    JsonWriter& value(long long number);
    JsonWriter& value(int number) { return value(static_cast<long long>(number)); }
    JsonWriter& value(unsigned number) { return value(static_cast<long long>(number)); }
    JsonWriter& value(unsigned long number) { return value(static_cast<long long>(number)); }
    JsonWriter& value(unsigned long long number) { return value(static_cast<long long>(number)); }
    JsonWriter& value(long number) { return value(static_cast<long long>(number)); }
    JsonWriter& value(bool flag);
    JsonWriter& null();

private:
    void separate();
    void close(char bracket);

    std::ostream& out_;
    std::vector<bool> first_;  // per open container: nothing written in it yet
    bool afterKey_ = false;
};

// text as a JSON string literal, quotes included (see JsonWriter for the bytes that are not
// UTF-8).
[[nodiscard]] std::string jsonString(std::string_view text);

}  // namespace quillon
