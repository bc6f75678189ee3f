#include "WindowFixture.h"

#include "platform/SettingsStore.h"

#include <QDir>
#include <QFile>

WindowFixture::WindowFixture()
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    qputenv("XDG_STATE_HOME", QFile::encodeName(m_config.path() + QStringLiteral("/state")));
    // A copy installed for this user must not stand in for the test program's help and tips.
    // (The system data folders stay: the file types come from there.)
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_config.path() + QStringLiteral("/data")));
    // No test reaches out: the update server is a closed port here unless a test runs one.
    qputenv("PELMORA_UPDATE_URL", "http://127.0.0.1:9/");
    QFile program(programFile());
    program.open(QIODevice::WriteOnly);
}

QString WindowFixture::programFile() const
{
    return m_programFolder.filePath(QStringLiteral("pelmora"));
}

void WindowFixture::setHelpFile(bool present)
{
    const QString help = m_programFolder.filePath(QStringLiteral("help/pelmora.html"));
    if (!present) {
        QFile::remove(help);
        return;
    }
    QDir(m_programFolder.path()).mkpath(QStringLiteral("help"));
    QFile file(help);
    file.open(QIODevice::WriteOnly);
    file.write("<html></html>");
}

QString WindowFixture::settingsFile() const
{
    return SettingsKey::defaultStoreFile();
}

PelmoraWindows &WindowFixture::start()
{
    m_windows.reset();
    m_windows = std::make_unique<PelmoraWindows>(AppServices{messages, shell, dialogs, programFile()});
    return *m_windows;
}
