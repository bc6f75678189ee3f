#pragma once

#include <QByteArray>
#include <QStringView>

#include <cstdio>

// JSON text, byte for byte as QJsonDocument writes it in its compact form, made as it goes
// rather than from a tree of values, for outputs of hundreds of thousands of values. The keys
// of an object come in the order they are given: QJsonObject's order is that of the keys
// sorted.
class JsonText
{
public:
    JsonText() = default;
    // Text that grows past a few hundred kilobytes is written to out as it is made, so that a
    // large output is never held whole; bytes() then holds what is not written yet.
    explicit JsonText(std::FILE *out) : m_out(out) {}

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void key(const char *name); // plain ASCII, written as it is
    void key(QStringView name);
    void string(QStringView text);
    void number(int value);
    void boolean(bool value);
    void null();

    const QByteArray &bytes() const { return m_bytes; }

    // The characters of text in a JSON string (the quotes left out), added to bytes.
    static void appendEscaped(QByteArray &bytes, QStringView text);

private:
    void startValue();
    void writeOut();

    QByteArray m_bytes;
    std::FILE *m_out = nullptr;
    bool m_first = true; // no value yet in the object or array, or a key waits for its value
};
