#include "core/CodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
const char *const defaultCodePage = "windows-1250";
}

CodePage::CodePage(const QByteArray &name)
    : m_name(name)
{
    if (m_name.isEmpty() || !QStringDecoder(m_name.constData()).isValid())
        m_name = defaultCodePage;
}

const CodePage &CodePage::system()
{
    static const CodePage page(qgetenv("PELMORA_CODEPAGE"));
    return page;
}

QString CodePage::decode(QByteArrayView bytes) const
{
    QStringDecoder decoder(m_name.constData(), QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

QByteArray CodePage::encode(QStringView text) const
{
    QStringEncoder encoder(m_name.constData(), QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}
