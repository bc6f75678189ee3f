#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>
#include <bitset>

// The 8-bit ANSI code page that Windows uses for autorun.inf and the small INI files.
// Windows-1250 unless PELMORA_CODEPAGE names another one (e.g. windows-1252).
class CodePage
{
public:
    explicit CodePage(const QByteArray &name);

    static const CodePage &system();

    QByteArray name() const { return m_name; }
    QString decode(QByteArrayView bytes) const;
    // Characters the code page cannot hold become "?", as Windows writes them.
    QByteArray encode(QStringView text) const;
    // Whether text comes back from encode() and decode() as it was.
    bool holds(QStringView text) const;
    // The characters of text the page cannot hold, each once, in the order they come.
    QString lostCharacters(QStringView text) const;

private:
    QByteArray m_name;
    // Single-byte pages go through tables made once from the converter, so that every byte
    // value maps to one character and back and nothing becomes a control character.
    bool m_singleByte = false;
    std::array<char16_t, 256> m_toUnicode{};
    std::array<char, 0x10000> m_fromUnicode; // "?" for a character the page lacks
    std::bitset<0x10000> m_held;             // the characters of a single-byte page
};
