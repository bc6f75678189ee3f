#include "core/DiscCheck.h"

#include "core/AutorunReader.h"
#include "core/AutorunWriter.h"
#include "core/CaseFolding.h"
#include "core/CodePage.h"
#include "core/DiscPath.h"
#include "core/ExecutableImage.h"
#include "core/IconSource.h"
#include "core/NameIndex.h"
#include "core/PolishText.h"

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

class Checker
{
public:
    Checker(const QString &dataFolder) : m_folder(dataFolder), m_files(dataFolder) {}

    void error(const QString &code, const QString &key, const QString &message, int item = -1)
    {
        findings.append({code, DiscFinding::Severity::Error, key, message, item});
    }
    void warning(const QString &code, const QString &key, const QString &message, int item = -1)
    {
        findings.append({code, DiscFinding::Severity::Warning, key, message, item});
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
            checkProgramKind(program, key);
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
        if (!isAddress(file) && onDisc(file, key) && find(file, key) == Found::Missing)
            error(QStringLiteral("shellexecute-missing"), key,
                  QStringLiteral("Plik %1 otwierany po włożeniu płyty nie istnieje na płycie.")
                      .arg(quoted(file)));
    }

    void checkIcon(const QString &file, int index)
    {
        const QString key = QStringLiteral("icon");
        codePage(file, key);
        if (!onDisc(file, key))
            return;
        if (!exists(file)) {
            error(QStringLiteral("icon-missing"), key,
                  QStringLiteral("Plik ikony %1 nie istnieje na płycie.").arg(quoted(file)));
            return;
        }
        const int count = IconSource(nativePathOf(m_folder, file)).count();
        if (count == 0)
            error(QStringLiteral("icon-index"), key,
                  QStringLiteral("Plik %1 nie zawiera żadnej ikony.").arg(quoted(file)));
        else if (index < 0 || index >= count)
            error(QStringLiteral("icon-index"), key,
                  QStringLiteral("Plik %1 nie zawiera ikony numer %2 (ikony w nim mają numery od 0 do %3).")
                      .arg(quoted(file)).arg(index).arg(count - 1));
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

    void checkItems(const QList<MenuItem> &items)
    {
        // The entries by their captions as the menu tells them apart.
        QStringList captions;
        captions.reserve(items.size());
        for (const MenuItem &item : items)
            captions << captionFolded(item.label);
        NameIndex byCaption;
        const auto captionOf = [&](qsizetype i, QString &) { return QStringView(captions[i]); };
        const QList<bool> firstWithCaption = byCaption.build(captions.size(), captionOf);
        for (int i = 0; i < items.size(); ++i) {
            const MenuItem &item = items[i];
            const QString key = captionKey(i);
            codePage(item.label, key, i);
            codePage(item.file, key, i);
            if (!firstWithCaption[i]) {
                const MenuItem &first = items[byCaption.find(captions[i], captionOf)];
                warning(QStringLiteral("duplicate-caption"), key,
                        QStringLiteral("Pozycja %1 ma ten sam napis co pozycja %2; w menu płyty nie "
                                       "da się ich odróżnić.")
                            .arg(quoted(shownCaption(item.label)), quoted(shownCaption(first.label))), i);
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
                                     quoted(shownCaption(items[*first].label))), i);
            }
            const QString program = commandProgram(item.file);
            if (!onDisc(program, key, i))
                continue;
            const Found found = find(program, key, i);
            if (found == Found::Missing)
                warning(QStringLiteral("item-missing"), key,
                        QStringLiteral("Program %1 pozycji %2 nie istnieje na płycie.")
                            .arg(quoted(program), quoted(shownCaption(item.label))), i);
            else if (found == Found::OnDisc)
                checkProgramKind(program, key, i);
        }
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
            if (onDisc(icon.file, key) && !exists(icon.file))
                error(QStringLiteral("icon-missing"), key,
                      QStringLiteral("Plik ikony %1 nie istnieje na płycie.").arg(quoted(icon.file)));
        }
        if (!kept.defaultVerb.isEmpty()) {
            const QString verb = kept.defaultVerb.trimmed();
            const bool found = std::any_of(items.cbegin(), items.cend(), [&](const MenuItem &item) {
                return item.verb.compare(verb, Qt::CaseInsensitive) == 0;
            });
            if (!found)
                warning(QStringLiteral("default-verb-missing"), QStringLiteral("shell"),
                        QStringLiteral("Klucz shell=%1 wskazuje domyślną pozycję menu, której w pliku nie "
                                       "ma; dwukrotne kliknięcie napędu nie uruchomi niczego z tego menu.")
                            .arg(verb));
        }
    }

    // A DOS or 16-bit Windows program runs on no 64-bit Windows, and every Windows 11 is one.
    // Each program is read once, however many entries start it.
    void checkProgramKind(const QString &program, const QString &key, int item = -1)
    {
        const QString file = nativePathOf(m_folder, discFileOf(program, [this](QStringView p) { return exists(p); }));
        auto kind = m_kinds.constFind(file);
        if (kind == m_kinds.cend())
            kind = m_kinds.insert(file, ExecutableImage::fromFile(file).kind());
        if (*kind == ExecutableImage::Kind::Dos || *kind == ExecutableImage::Kind::Ne)
            error(QStringLiteral("program-16-bit"), key,
                  QStringLiteral("Program %1 jest programem %2; 64-bitowy Windows go nie uruchomi, a "
                                 "każdy Windows 11 jest 64-bitowy.")
                      .arg(quoted(program), *kind == ExecutableImage::Kind::Dos
                                                ? QStringLiteral("dla DOS")
                                                : QStringLiteral("16-bitowym (Windows 3.x)")),
                  item);
    }

    QList<DiscFinding> findings;

private:
    // Every file the menu names is looked up in the listings of its folders, made once.
    bool exists(QStringView discPath) { return m_files.exists(discPath); }
    QString commandProgram(const QString &command)
    {
        return programOf(command, [this](QStringView path) { return exists(path); });
    }

    QString m_folder;
    DiscFiles m_files;
    QHash<QChar, int> firstWithKey; // the first entry with each access key
    QHash<QString, ExecutableImage::Kind> m_kinds;
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
    return check.findings;
}
