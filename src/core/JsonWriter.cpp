#include "core/JsonWriter.h"

#include <QByteArray>

#include <charconv>
#include <cmath>

namespace {
constexpr size_t BufferSize = size_t(1) << 16;
} // namespace

JsonWriter::JsonWriter(FILE *out) : m_out(out)
{
    m_buf.reserve(BufferSize);
}

JsonWriter::~JsonWriter()
{
    flush();
}

void JsonWriter::key(const char *name)
{
    separate();
    escaped(std::string_view(name));
    m_buf.push_back(':');
    m_comma = false;
}

void JsonWriter::string(std::string_view text)
{
    separate();
    escaped(text);
    m_comma = true;
}

void JsonWriter::string(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    string(std::string_view(utf8.constData(), size_t(utf8.size())));
}

void JsonWriter::number(double v)
{
    if (!std::isfinite(v))
        return value("null");
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, v);
    value(std::string_view(text, size_t(result.ptr - text)));
}

void JsonWriter::separate()
{
    if (m_comma)
        m_buf.push_back(',');
    if (m_buf.size() >= BufferSize)
        flush();
}

void JsonWriter::value(std::string_view text)
{
    separate();
    m_buf.append(text);
    m_comma = true;
}

void JsonWriter::open(char bracket)
{
    separate();
    m_buf.push_back(bracket);
    m_comma = false;
}

void JsonWriter::close(char bracket)
{
    m_buf.push_back(bracket);
    m_comma = true;
}

void JsonWriter::escaped(std::string_view text)
{
    m_buf.push_back('"');
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            m_buf.append("\\\"");
            break;
        case '\\':
            m_buf.append("\\\\");
            break;
        case '\n':
            m_buf.append("\\n");
            break;
        case '\r':
            m_buf.append("\\r");
            break;
        case '\t':
            m_buf.append("\\t");
            break;
        default:
            if (c < 0x20) {
                char esc[8];
                std::snprintf(esc, sizeof esc, "\\u%04x", c);
                m_buf.append(esc);
            } else {
                m_buf.push_back(char(c));
            }
        }
    }
    m_buf.push_back('"');
}

void JsonWriter::flush()
{
    if (!m_buf.empty())
        std::fwrite(m_buf.data(), 1, m_buf.size(), m_out);
    m_buf.clear();
}
