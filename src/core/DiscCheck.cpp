#include "core/DiscCheck.h"

#include "core/AutorunReader.h"
#include "core/AutorunWriter.h"
#include "core/CaseFolding.h"
#include "core/CodePage.h"
#include "core/DiscImage.h"
#include "core/DiscImageNames.h"
#include "core/DiscPath.h"
#include "core/ExecutableImage.h"
#include "core/IconDirectory.h"
#include "core/IconSource.h"
#include "core/NameIndex.h"
#include "core/PolishText.h"

#include "os/NativePath.h"
#include "os/Volume.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace {

constexpr int shownLabelLength = 32;

bool isSeparator(QChar c)
{
    return c == QLatin1Char('\\') || c == QLatin1Char('/');
}

// A drive ("C:") or a climb above the root ("..\" more often than folders were entered) names
// nothing that can be burned onto the disc.
bool leavesDisc(QStringView path)
{
    if (path.size() >= 2 && path[1] == QLatin1Char(':') && path[0].isLetter())
        return true;
    int depth = 0;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= path.size(); ++i) {
        if (i < path.size() && !isSeparator(path[i]))
            continue;
        const QStringView part = path.mid(from, i - from);
        from = i + 1;
        if (part == u"..") {
            if (--depth < 0)
                return true;
        } else if (!part.isEmpty() && part != u".") {
            ++depth;
        }
    }
    return false;
}

// Windows finds these in its own folders when they are named alone, without a folder, so a
// disc that lacks them still starts them.
bool isSystemProgram(const QString &program)
{
    static const QSet<QString> names{
        QStringLiteral("calc"),     QStringLiteral("cmd"),      QStringLiteral("command"),
        QStringLiteral("control"),  QStringLiteral("cscript"),  QStringLiteral("explorer"),
        QStringLiteral("hh"),       QStringLiteral("iexplore"), QStringLiteral("mshta"),
        QStringLiteral("msiexec"),  QStringLiteral("mspaint"),  QStringLiteral("notepad"),
        QStringLiteral("regedit"),  QStringLiteral("rundll"),   QStringLiteral("rundll32"),
        QStringLiteral("start"),    QStringLiteral("winhelp"),  QStringLiteral("winhlp32"),
        QStringLiteral("wordpad"),  QStringLiteral("write"),    QStringLiteral("wscript")};
    if (std::any_of(program.cbegin(), program.cend(), isSeparator))
        return false;
    QString name = program.toLower();
    if (name.endsWith(QLatin1String(".exe")) || name.endsWith(QLatin1String(".com")))
        name.chop(4);
    return names.contains(name);
}

// "http://...", "mailto:...": Windows hands an address to the program of its kind; it is no
// file of the disc.
bool isAddress(const QString &text)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(text).hasMatch();
}

// The file of the disc that path names as Windows starts it, which adds ".exe" to a name
// without an extension ("CDLaunch\shelexec \readme.htm"); empty when there is none.
// exists(discPath) tells whether a file is on the disc.
template <typename Exists>
QString discFileOf(QStringView path, const Exists &exists)
{
    if (leavesDisc(path))
        return {};
    if (exists(path))
        return path.toString();
    if (!fileExtension(path).isEmpty())
        return {};
    const QString program = path.toString() + QStringLiteral(".exe");
    return exists(program) ? program : QString();
}

// commandProgram() with exists(discPath) telling whether a file is on the disc.
template <typename Exists>
QString programOf(const QString &command, const Exists &exists)
{
    if (command.startsWith(QLatin1Char('"'))) {
        const qsizetype end = command.indexOf(QLatin1Char('"'), 1);
        const QString name = command.mid(1, end < 0 ? -1 : end - 1);
        const QString file = discFileOf(name, exists);
        return file.isEmpty() ? name : file;
    }
    // Longest first: "Moje programy\setup.exe /s" names the program with its blank.
    for (qsizetype end = command.size(); end > 0; end = command.lastIndexOf(QLatin1Char(' '), end - 1)) {
        const QString file = discFileOf(QStringView(command).left(end), exists);
        if (!file.isEmpty())
            return file;
    }
    const qsizetype blank = command.indexOf(QLatin1Char(' '));
    return blank < 0 ? command : command.left(blank);
}

QString quoted(const QString &text)
{
    return QStringLiteral("„%1”").arg(text);
}

// A caption as the menu shows it: "&" marks the access key, "&&" stands for "&".
QString shownCaption(const QString &caption)
{
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && ++i == caption.size())
            break;
        shown += caption[i];
    }
    return shown;
}

QString captionFolded(const QString &caption)
{
    QString shown = caption;
    shown.remove(QLatin1Char('&'));
    QString spare;
    const QStringView folded = foldedCase(shown, spare);
    return folded.data() == spare.constData() ? spare : shown;
}

// The access key of a caption: the letter after its first single "&" ("&&" shows an "&"),
// folded as Windows compares keys; a null character when it has none.
QChar accessKeyOf(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            return caption[i + 1].toCaseFolded();
        ++i;
    }
    return {};
}

// Which Windows runs a program built for machine (the PE file header's field), for a message;
// empty for x86 and x64, which need no word; the section it belongs in.
struct Machine
{
    QString builtFor;
    QString runsOn;
    QString section;
};
Machine machineOf(quint16 machine)
{
    switch (machine) {
    case 0x14C: // x86
    case 0x8664: // x64
        return {};
    case 0xAA64:
    case 0xA641: // ARM64EC
    case 0xA64E: // ARM64X
        return {QStringLiteral("procesorów ARM64"), QStringLiteral("Windows 10 i 11 na ARM"), QString()};
    case 0x1C0:
    case 0x1C2:
    case 0x1C4:
        return {QStringLiteral("32-bitowych procesorów ARM"), QStringLiteral("Windows RT"), QString()};
    case 0x200:
        return {QStringLiteral("procesorów Itanium"), QStringLiteral("Windows dla Itanium"), QString()};
    case 0x184:
    case 0x284:
        return {QStringLiteral("procesorów Alpha"), QStringLiteral("Windows NT na procesorach Alpha"),
                QStringLiteral("autorun.alpha")};
    case 0x162:
    case 0x166:
    case 0x168:
        return {QStringLiteral("procesorów MIPS"), QStringLiteral("Windows NT na procesorach MIPS"),
                QStringLiteral("autorun.mips")};
    case 0x1F0:
    case 0x1F1:
        return {QStringLiteral("procesorów PowerPC"), QStringLiteral("Windows NT na procesorach PowerPC"),
                QStringLiteral("autorun.ppc")};
    }
    return {QStringLiteral("nieznanego procesora (0x%1)").arg(machine, 4, 16, QLatin1Char('0')),
            QStringLiteral("żaden Windows na procesorach x86, x64 ani ARM"), QString()};
}

// Which Windows reads a section instead of [autorun].
QString readerOf(const QString &section)
{
    if (section == QLatin1String("autorun.amd64"))
        return QStringLiteral("64-bitowy Windows (x64)");
    if (section == QLatin1String("autorun.alpha"))
        return QStringLiteral("Windows NT na procesorach Alpha");
    if (section == QLatin1String("autorun.mips"))
        return QStringLiteral("Windows NT na procesorach MIPS");
    return QStringLiteral("Windows NT na procesorach PowerPC");
}

class Checker
{
public:
    Checker(const QString &dataFolder) : m_folder(dataFolder), m_files(dataFolder) {}

    void add(DiscFinding::Severity severity, const QString &code, const QString &key, const QString &message,
             int item = -1)
    {
        // A finding of an architecture section says so.
        QString text = message;
        if (!m_section.isEmpty()) {
            const bool stop = text.endsWith(QLatin1Char('.'));
            text.chop(stop ? 1 : 0);
            text += QStringLiteral(" (sekcja [%1])").arg(m_section) + (stop ? QStringLiteral(".") : QString());
        }
        findings.append({code, severity, key, text, item, m_section});
    }
    void error(const QString &code, const QString &key, const QString &message, int item = -1)
    {
        add(DiscFinding::Severity::Error, code, key, message, item);
    }
    void warning(const QString &code, const QString &key, const QString &message, int item = -1)
    {
        add(DiscFinding::Severity::Warning, code, key, message, item);
    }

    enum class Found { OnDisc, System, Missing };

    // A program the disc lacks but Windows has is only noted, under its own code.
    Found find(const QString &program, const QString &key, int item = -1)
    {
        if (exists(program))
            return Found::OnDisc;
        if (!isSystemProgram(program))
            return Found::Missing;
        warning(QStringLiteral("system-program"), key,
                QStringLiteral("Programu %1 nie ma na płycie, ale to program Windows, który system "
                               "znajdzie w swoich folderach.").arg(quoted(program)), item);
        return Found::System;
    }

    // False, after the finding, when path cannot be on the disc.
    bool onDisc(const QString &path, const QString &key, int item = -1)
    {
        if (!leavesDisc(path))
            return true;
        error(QStringLiteral("outside-disc"), key,
              QStringLiteral("Ścieżka %1 wychodzi poza płytę lub wskazuje inny dysk, więc na "
                             "nagranej płycie nie będzie istnieć.").arg(quoted(path)), item);
        return false;
    }

    void codePage(const QString &text, const QString &key, int item = -1)
    {
        const QString lost = CodePage::system().lostCharacters(text);
        if (lost.isEmpty())
            return;
        warning(QStringLiteral("codepage"), key,
                QStringLiteral("Tekst %1 zawiera znaki %2, których strona kodowa %3 nie obsługuje; "
                               "zostaną zapisane jako „?”.")
                    .arg(quoted(text), quoted(lost), QString::fromLatin1(CodePage::system().name())),
                item);
    }

    // Windows reads the disc's Joliet names: a file the menu names must keep its name there.
    // file is a disc path of a file on the disc.
    void checkName(const QString &file, const QString &key, int item = -1)
    {
        const QString native = m_files.nativePathOf(file);
        if (native.isEmpty() || !native.startsWith(m_folder))
            return;
        const QStringView path = QStringView(native).mid(m_folder.size());
        QString onDisc;
        bool changed = false;
        qsizetype from = 0;
        for (qsizetype i = 0; i <= path.size(); ++i) {
            if (i < path.size() && path[i] != u'/')
                continue;
            const QString part = path.mid(from, i - from).toString();
            const bool folder = i < path.size();
            const QString joliet = jolietName(part, folder);
            changed = changed || joliet != part;
            if (!onDisc.isEmpty())
                onDisc += QLatin1Char('\\');
            onDisc += joliet;
            from = i + 1;
        }
        if (changed)
            error(QStringLiteral("name-changes-on-disc"), key,
                  QStringLiteral("Plik %1 będzie na płycie nazwany %2 (w nazwach, które czyta Windows), "
                                 "więc Windows nie znajdzie go pod nazwą z autorun.inf.")
                      .arg(quoted(file), quoted(onDisc)), item);
    }

    void checkOpen(const QString &open)
    {
        const QString key = QStringLiteral("open");
        codePage(open, key);
        const QString program = commandProgram(open);
        if (!onDisc(program, key))
            return;
        const Found found = find(program, key);
        if (found == Found::System)
            return;
        if (found == Found::Missing)
            error(QStringLiteral("open-missing"), key,
                  QStringLiteral("Program %1 uruchamiany po włożeniu płyty nie istnieje na płycie.")
                      .arg(quoted(program)));
        else
            checkProgram(program, key);
        static const QStringList programs{QStringLiteral(".exe"), QStringLiteral(".com"),
                                          QStringLiteral(".bat"), QStringLiteral(".cmd"),
                                          QStringLiteral(".pif"), QStringLiteral(".scr")};
        if (!programs.contains(fileExtension(program).toLower()))
            warning(QStringLiteral("not-program"), key,
                    QStringLiteral("Plik %1 nie jest programem, który Windows może uruchomić po "
                                   "włożeniu płyty (.exe, .com, .bat, .cmd, .pif lub .scr).")
                        .arg(quoted(program)));
    }

    void checkShellExecute(const QString &command)
    {
        const QString key = QStringLiteral("shellexecute");
        codePage(command, key);
        const QString file = commandProgram(command);
        if (isAddress(file) || !onDisc(file, key))
            return;
        const Found found = find(file, key);
        if (found == Found::Missing)
            error(QStringLiteral("shellexecute-missing"), key,
                  QStringLiteral("Plik %1 otwierany po włożeniu płyty nie istnieje na płycie.")
                      .arg(quoted(file)));
        else if (found == Found::OnDisc)
            checkName(fileOnDisc(file), key);
    }

    void checkIcon(const QString &file, int index, const QString &key = QStringLiteral("icon"))
    {
        codePage(file, key);
        if (!onDisc(file, key))
            return;
        if (!exists(file)) {
            error(QStringLiteral("icon-missing"), key,
                  QStringLiteral("Plik ikony %1 nie istnieje na płycie.").arg(quoted(file)));
            return;
        }
        checkName(file, key);
        const IconSource icons(m_files.nativePathOf(file));
        const int count = icons.count();
        if (count == 0)
            error(QStringLiteral("icon-index"), key,
                  QStringLiteral("Plik %1 nie zawiera żadnej ikony.").arg(quoted(file)));
        else if (index < 0 || index >= count)
            error(QStringLiteral("icon-index"), key,
                  QStringLiteral("Plik %1 nie zawiera ikony numer %2 (ikony w nim mają numery od 0 do %3).")
                      .arg(quoted(file)).arg(index).arg(count - 1));
        else
            checkIconSizes(icons.icoFile(index), file, key);
    }

    // Windows draws the drive at 32 × 32; another size is scaled and blurred.
    void checkIconSizes(const QByteArray &ico, const QString &file, const QString &key)
    {
        const QList<IconImageInfo> images = iconImages(ico);
        if (images.isEmpty())
            return;
        const bool has32 = std::any_of(images.cbegin(), images.cend(),
                                       [](const IconImageInfo &i) { return i.width == 32 && i.height == 32; });
        const bool only16Colours = std::all_of(images.cbegin(), images.cend(),
                                               [](const IconImageInfo &i) { return i.bitCount > 0 && i.bitCount <= 4; });
        QStringList faults;
        if (!has32) {
            QStringList sizes;
            for (const IconImageInfo &image : images)
                sizes << QStringLiteral("%1×%2").arg(image.width).arg(image.height);
            sizes.removeDuplicates();
            faults << QStringLiteral("nie ma obrazu 32×32 (ma: %1), więc Windows przeskaluje inny i ikona "
                                     "napędu będzie rozmyta").arg(sizes.join(QStringLiteral(", ")));
        }
        if (only16Colours)
            faults << QStringLiteral("ma tylko obrazy 16-kolorowe");
        if (!faults.isEmpty())
            warning(QStringLiteral("icon-sizes"), key,
                    QStringLiteral("Wybrana ikona z pliku %1 %2.").arg(quoted(file), faults.join(QStringLiteral(" i "))));
    }

    void checkLabel(const QString &label)
    {
        const QString key = QStringLiteral("label");
        codePage(label, key);
        const qsizetype length = label.toUcs4().size();
        if (length > shownLabelLength)
            warning(QStringLiteral("label-long"), key,
                    QStringLiteral("Etykieta ma %1 %2; Windows pokaże tylko pierwsze %3.")
                        .arg(length)
                        .arg(polishPlural(length, QStringLiteral("znak"), QStringLiteral("znaki"),
                                          QStringLiteral("znaków")))
                        .arg(shownLabelLength));
    }

    // The entries of [autorun] are keyed by their place, as the writer numbers them; those of
    // an architecture section, which is kept as it is, by their verbs.
    void checkItems(const QList<MenuItem> &items)
    {
        const bool byPlace = m_section.isEmpty();
        const auto keyOf = [&](int i) { return byPlace ? captionKey(i) : QStringLiteral("shell\\") + items[i].verb; };
        // The entries by their captions as the menu tells them apart.
        QStringList captions;
        captions.reserve(items.size());
        for (const MenuItem &item : items)
            captions << captionFolded(item.label);
        NameIndex byCaption;
        const auto captionOf = [&](qsizetype i, QString &) { return QStringView(captions[i]); };
        const QList<bool> firstWithCaption = byCaption.build(captions.size(), captionOf);
        QHash<QChar, int> firstWithKey; // the first entry with each access key
        for (int i = 0; i < items.size(); ++i) {
            const MenuItem &item = items[i];
            const QString key = keyOf(i);
            const int place = byPlace ? i : -1;
            codePage(item.label, key, place);
            codePage(item.file, key, place);
            if (!firstWithCaption[i]) {
                const MenuItem &first = items[byCaption.find(captions[i], captionOf)];
                warning(QStringLiteral("duplicate-caption"), key,
                        QStringLiteral("Pozycja %1 ma ten sam napis co pozycja %2; w menu płyty nie "
                                       "da się ich odróżnić.")
                            .arg(quoted(shownCaption(item.label)), quoted(shownCaption(first.label))), place);
            }
            const QChar access = accessKeyOf(item.label);
            if (!access.isNull()) {
                const auto first = firstWithKey.constFind(access);
                if (first == firstWithKey.cend())
                    firstWithKey.insert(access, i);
                else
                    warning(QStringLiteral("access-key-twice"), key,
                            QStringLiteral("Pozycja %1 ma ten sam klawisz dostępu „%2” co pozycja %3; "
                                           "Windows wybierze nim tylko pierwszą z nich.")
                                .arg(quoted(shownCaption(item.label)), QString(access).toUpper(),
                                     quoted(shownCaption(items[*first].label))), place);
            }
            const QString program = commandProgram(item.file);
            if (!onDisc(program, key, place))
                continue;
            const Found found = find(program, key, place);
            if (found == Found::Missing)
                warning(QStringLiteral("item-missing"), key,
                        QStringLiteral("Program %1 pozycji %2 nie istnieje na płycie.")
                            .arg(quoted(program), quoted(shownCaption(item.label))), place);
            else if (found == Found::OnDisc)
                checkProgram(program, key, place);
        }
    }

    void checkDefaultVerb(const QString &defaultVerb, const QList<MenuItem> &items)
    {
        if (defaultVerb.isEmpty())
            return;
        const QString verb = defaultVerb.trimmed();
        const bool found = std::any_of(items.cbegin(), items.cend(), [&](const MenuItem &item) {
            return item.verb.compare(verb, Qt::CaseInsensitive) == 0;
        });
        if (!found)
            warning(QStringLiteral("default-verb-missing"), QStringLiteral("shell"),
                    QStringLiteral("Klucz shell=%1 wskazuje domyślną pozycję menu, której w pliku nie "
                                   "ma; dwukrotne kliknięcie napędu nie uruchomi niczego z tego menu.")
                        .arg(verb));
    }

    // The keys no control edits that change what Windows does with the disc.
    void checkKept(const KeptKeys &kept, const QList<MenuItem> &items)
    {
        if (kept.useAutoPlay) {
            const QString value = kept.useAutoPlay->trimmed();
            const QString key = QStringLiteral("useautoplay");
            if (value == QLatin1String("1"))
                warning(QStringLiteral("autoplay-setting"), key,
                        QStringLiteral("UseAutoPlay=1: Windows Vista i nowsze nie uruchomią programu z "
                                       "open= same, tylko pokażą okno Autoodtwarzania."));
            else if (value == QLatin1String("0"))
                warning(QStringLiteral("autoplay-setting"), key,
                        QStringLiteral("UseAutoPlay=0: Windows 8 i nowsze nie pokażą dla tej płyty okna "
                                       "Autoodtwarzania."));
        }
        if (!kept.defaultIcon.isEmpty()) {
            const QString key = QStringLiteral("defaulticon");
            warning(QStringLiteral("defaulticon-wins"), key,
                    QStringLiteral("Klucz defaulticon= (%1) ma pierwszeństwo przed icon=: Windows pokaże "
                                   "tę ikonę, a nie wybraną w programie.").arg(quoted(kept.defaultIcon)));
            const AutorunIcon icon = readIconValue(kept.defaultIcon);
            if (onDisc(icon.file, key)) {
                if (!exists(icon.file))
                    error(QStringLiteral("icon-missing"), key,
                          QStringLiteral("Plik ikony %1 nie istnieje na płycie.").arg(quoted(icon.file)));
                else
                    checkName(icon.file, key);
            }
        }
        checkDefaultVerb(kept.defaultVerb, items);
    }

    // Windows of an architecture reads its section instead of [autorun]: what it names is
    // checked as [autorun]'s is.
    void checkSections(const QList<ArchitectureSection> &sections)
    {
        for (const ArchitectureSection &section : sections) {
            findings.append({QStringLiteral("arch-section"), DiscFinding::Severity::Warning, QString(),
                             QStringLiteral("%1 czyta tylko sekcję [%2], a sekcję [autorun] pomija: to, co "
                                            "ustawiono w programie, nie obowiązuje w tym systemie.")
                                 .arg(readerOf(section.name), section.name),
                             -1, section.name});
            m_section = section.name;
            if (!section.open.isEmpty())
                checkOpen(section.open);
            if (!section.shellExecute.isEmpty())
                checkShellExecute(section.shellExecute);
            if (section.hasIcon) {
                const AutorunIcon icon = readIconValue(section.icon);
                if (!icon.file.isEmpty())
                    checkIcon(icon.file, icon.index.value_or(0));
            }
            checkItems(section.items);
            checkDefaultVerb(section.defaultVerb, section.items);
            m_section.clear();
        }
    }

    // A DOS or 16-bit Windows program runs on no 64-bit Windows, and every Windows 11 is one;
    // a program for another processor runs only on the Windows of that processor. Each
    // program's headers are read once, however many entries start it.
    void checkProgram(const QString &program, const QString &key, int item = -1)
    {
        const QString file = fileOnDisc(program);
        checkName(file, key, item);
        const QString native = m_files.nativePathOf(file);
        auto header = m_headers.constFind(native);
        if (header == m_headers.cend())
            header = m_headers.insert(native, ExecutableImage::headerOf(native));
        using Kind = ExecutableImage::Kind;
        if (header->kind == Kind::Dos || header->kind == Kind::Ne) {
            error(QStringLiteral("program-16-bit"), key,
                  QStringLiteral("Program %1 jest programem %2; 64-bitowy Windows go nie uruchomi, a "
                                 "każdy Windows 11 jest 64-bitowy.")
                      .arg(quoted(program), header->kind == Kind::Dos
                                                ? QStringLiteral("dla DOS")
                                                : QStringLiteral("16-bitowym (Windows 3.x)")),
                  item);
            return;
        }
        if (header->kind != Kind::Pe32 && header->kind != Kind::Pe64)
            return;
        if (header->machine == 0x8664) {
            if (m_section.isEmpty() && !m_amd64Section)
                warning(QStringLiteral("program-64-bit"), key,
                        QStringLiteral("Program %1 jest 64-bitowy, a plik nie ma sekcji [autorun.amd64] z "
                                       "programem 32-bitowym: 32-bitowy Windows go nie uruchomi.")
                            .arg(quoted(program)), item);
            return;
        }
        const Machine machine = machineOf(header->machine);
        if (machine.builtFor.isEmpty() || (!machine.section.isEmpty() && machine.section == m_section))
            return;
        const bool arm64 = header->machine == 0xAA64 || header->machine == 0xA641 || header->machine == 0xA64E;
        warning(arm64 ? QStringLiteral("program-arm64") : QStringLiteral("program-machine"), key,
                QStringLiteral("Program %1 jest zbudowany dla %2: uruchomi go tylko %3.")
                    .arg(quoted(program), machine.builtFor, machine.runsOn), item);
    }

    void setAmd64Section(bool present) { m_amd64Section = present; }

    QList<DiscFinding> findings;

private:
    // Every file the menu names is looked up in the listings of its folders, made once.
    bool exists(QStringView discPath) { return m_files.exists(discPath); }
    QString commandProgram(const QString &command)
    {
        return programOf(command, [this](QStringView path) { return exists(path); });
    }
    // The file a path on the disc names, as Windows starts it (".exe" added when needed).
    QString fileOnDisc(const QString &path)
    {
        return discFileOf(path, [this](QStringView p) { return exists(p); });
    }

    QString m_folder;
    DiscFiles m_files;
    QString m_section; // the architecture section being checked; empty for [autorun]
    bool m_amd64Section = false;
    QHash<QString, ExecutableImage::Header> m_headers;
};

} // namespace

QString captionKey(int index)
{
    return QStringLiteral("shell\\") + QString::number(index).rightJustified(5, QLatin1Char('0'));
}

QString commandProgram(const QString &command, const QString &dataFolder)
{
    return programOf(command, [&](QStringView path) { return discFileExists(dataFolder, path.toString()); });
}

QList<DiscFinding> checkDisc(const MenuDocument &doc, const QString &dataFolder)
{
    Checker check(dataFolder);
    const QList<ArchitectureSection> &sections = doc.kept.sections;
    check.setAmd64Section(std::any_of(sections.cbegin(), sections.cend(), [](const ArchitectureSection &s) {
        return s.name == QLatin1String("autorun.amd64");
    }));
    if (!doc.autorunSection)
        check.error(QStringLiteral("no-autorun-section"), QString(),
                    QStringLiteral("Plik autorun.inf nie ma sekcji [autorun] albo nie ma w niej żadnego "
                                   "klucza, więc Windows nie użyje go po włożeniu płyty."));
    // Written, such a value would make lines of its own, which read back as something else.
    if (const QString field = fieldBreakingLines(doc); !field.isEmpty()) {
        const qsizetype at = field.indexOf(QLatin1Char('['));
        const int item = at < 0 ? -1 : field.mid(at + 1, field.indexOf(QLatin1Char(']')) - at - 1).toInt();
        check.error(QStringLiteral("line-break"), item < 0 ? field : captionKey(item),
                    QStringLiteral("Wartość %1 zawiera znak końca wiersza (albo znak NUL): zapisana, "
                                   "utworzyłaby własne wiersze pliku, których Windows nie odczyta jako "
                                   "tej wartości, a Pelmora jej nie zapisze.")
                        .arg(field),
                    item);
    }
    if (!doc.autoStartProgram.isEmpty())
        check.checkOpen(doc.autoStartProgram);
    if (!doc.shellExecute.isEmpty())
        check.checkShellExecute(doc.shellExecute);
    if (!doc.iconFile.isEmpty()) // without a number Windows shows the first icon
        check.checkIcon(doc.iconFile, doc.iconIndex.value_or(0));
    check.checkLabel(doc.discLabel);
    check.checkItems(doc.items);
    check.checkKept(doc.kept, doc.items);
    check.checkSections(sections);
    return check.findings;
}

QStringList mediaFitting(qint64 bytes)
{
    static const std::pair<const char *, qint64> media[] = {
        {"CD 650 MB", 333000}, {"CD 700 MB", 360000}, {"DVD 4,7 GB", 2295104},
        {"DVD DL 8,5 GB", 4173824}, {"BD 25 GB", 12219392}};
    QStringList fitting;
    for (const auto &[name, sectors] : media) {
        if (bytes <= sectors * 2048)
            fitting << QString::fromUtf8(name);
    }
    return fitting;
}

QList<DiscFinding> checkDiscImage(const QString &dataFolder, const QString &label, const std::atomic_bool *cancel)
{
    using Severity = DiscFinding::Severity;
    DiscImageJob job;
    job.dataFolder = dataFolder;
    job.label = label;
    job.cancel = cancel;
    const DiscImagePlan plan = planDiscImage(job);
    QList<DiscFinding> findings;
    if (plan.problem.kind != DiscImageProblem::Kind::None)
        return findings;
    for (const DiscImagePlan::HiddenNames &folder : plan.notOnWindows) {
        const QString where = folder.folder.isEmpty() ? QStringLiteral("W głównym folderze płyty")
                                                      : QStringLiteral("W folderze %1").arg(quoted(folder.folder));
        findings.append({QStringLiteral("name-not-on-windows"), Severity::Warning, folder.folder,
                         QStringLiteral("%1 są nazwy, których Windows nie otworzy (znaki < > \" |, kropka lub "
                                        "odstęp na końcu) albo nie odróżni od siebie (różnią się tylko "
                                        "wielkością liter): %2.")
                             .arg(where, folder.names.join(QStringLiteral(", "))),
                         -1, QString()});
    }
    for (const DiscImagePlan::LargeFile &file : plan.largeFiles)
        findings.append({QStringLiteral("file-over-4gib"), Severity::Warning, file.path,
                         QStringLiteral("Plik %1 ma %2 bajtów, 4 GiB lub więcej: obraz zapisze go w kilku "
                                        "częściach, a czytniki, które ich nie łączą, zobaczą tylko pierwszą "
                                        "część.")
                             .arg(quoted(file.path), polishNumber(file.size)),
                         -1, QString()});
    // Where the folder lies, like what it holds, is asked once per check, not at every edit.
    if (onRemovableDrive(nativePath(dataFolder)))
        findings.append({QStringLiteral("removable-drive"), Severity::Info, QString(),
                         QStringLiteral("Folder danych leży na dysku wymiennym (np. pamięci USB). Z takiego dysku "
                                        "Windows 7 i nowsze biorą z autorun.inf tylko label i icon; open, "
                                        "shellexecute i menu napędu pomijają. Na płycie zadziała całość."),
                         -1, QString()});
    const QStringList media = mediaFitting(plan.bytes);
    const QString size = QStringLiteral("Obraz płyty będzie miał %1 bajtów (%2 sektorów po 2048 bajtów)")
                             .arg(polishNumber(plan.bytes), polishNumber(plan.bytes / 2048));
    if (media.isEmpty())
        findings.append({QStringLiteral("disc-size"), Severity::Warning, QString(),
                         size + QStringLiteral(": nie zmieści się na żadnej płycie (największa, BD 25 GB, "
                                               "mieści %1 bajtów).").arg(polishNumber(qint64(12219392) * 2048)),
                         -1, QString()});
    else
        findings.append({QStringLiteral("disc-size"), Severity::Info, QString(),
                         size + QStringLiteral("; zmieści się na płycie: %1.").arg(media.join(QStringLiteral(", "))),
                         -1, QString()});
    return findings;
}
