#pragma once

#include <QString>

#include <cstdio>
#include <string>
#include <string_view>
#include <type_traits>

// A buffered JSON writer to a C stream; strings are UTF-8. The separators come by themselves:
// every value and key after the first of its object or array is preceded by a comma. Whatever is
// still buffered is written when the writer goes.
class JsonWriter {
public:
    explicit JsonWriter(FILE *out);
    ~JsonWriter();
    JsonWriter(const JsonWriter &) = delete;
    JsonWriter &operator=(const JsonWriter &) = delete;

    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }
    void key(const char *name);

    void string(std::string_view text);
    void string(const QString &text);
    void number(double value); // null when not finite
    void integer(long long n) { value(std::to_string(n)); }
    void boolean(bool b) { value(b ? "true" : "false"); }
    void null() { value("null"); }
    void endLine() { m_buf.push_back('\n'); }

    // "name": value, for the common case of a key and its one value.
    template <class T> void field(const char *name, const T &v)
    {
        key(name);
        if constexpr (std::is_same_v<T, bool>)
            boolean(v);
        else if constexpr (std::is_integral_v<T>)
            integer(v);
        else
            string(v);
    }

private:
    void separate();
    void value(std::string_view text);
    void open(char bracket);
    void close(char bracket);
    void escaped(std::string_view text);
    void flush();

    FILE *m_out;
    std::string m_buf;
    bool m_comma = false;
};
