#pragma once

#include <QString>

// The fixed texts of the main window.
namespace Texts {

inline const QString title = QStringLiteral("Pelmora");
inline const QString myComputer = QStringLiteral("Mój komputer");
inline const QString captionWarning = QStringLiteral("UWAGA !!!");
inline const QString captionError = QStringLiteral("BŁĄD !!!");
inline const QString captionInformation = QStringLiteral("INFORMACJA !!!");
inline const QString captionCreated = QStringLiteral("Uffffffffffff !!!");

// The item list's columns.
inline const QString entryLabelColumn = QStringLiteral("Etykieta");
inline const QString entryFileColumn = QStringLiteral("Nazwa i ścieżka do pliku");

// Under the drive in the preview: the program the disc starts.
inline const QString startsProgram = QStringLiteral("Uruchamia: %1");
inline const QString driveCaption = QStringLiteral("Stacja dysków CD (DVD)");
inline const QString areaWaiting = QStringLiteral(" Wskaż folder z danymi (przeczytaj porady) ");
inline const QString areaMissingNoLabel = QStringLiteral(" Folder nie istnieje i brak etykiety !!! ");
inline const QString areaMissing = QStringLiteral(" Wskazany folder nie istnieje !!! ");
inline const QString areaTaken = QStringLiteral(" Wskazany folder zawiera następujące pliki i foldery: ");
inline const QString fileMissing = QStringLiteral("TEN PLIK NIE ISTNIEJE !!!");

inline const QString askOpenExisting = QStringLiteral(
    "We wskazanym folderze istnieje już plik, który może zawierać menu oraz dane "
    "autouruchomiania.\r\rCzy chcesz otworzyć go teraz ???");
inline const QString askMissingAutorun = QStringLiteral(
    "Nie podano programu, który ma być uruchomiony bezpośrednio po włożeniu płyty do stacji "
    "i(lub) nie podano ikony jaka ma widnieć w Moim komputerze gdy płyta, do której tworzysz "
    "menu, będzie znajdować się w stacji !!!\r\rCzy chcesz podać teraz te dane ??? (jeżeli "
    "klikniesz na TAK przejdziesz do podawania brakujących danych, kliknicie w przycisk NIE "
    "stworzy menu bez danych autouruchamiania a ANULUJ przerwie proces tworzenia).");
inline const QString writeFailed = QStringLiteral(
    "Utworzenie menu nie powiodło się, sprawdź czy masz wystarczające uprawnienia aby zapisać "
    "plik we wskazanym folderze lub czy zapis we wskazanej lokalizacji jest możliwy");
inline const QString created = QStringLiteral(
    "Menu zostało utworzone, gratuluję :-)\r\rMożesz teraz kliknąć na przycisk Podgląd lub "
    "Uruchom plik aby kontynuować proces tworzenia, nie martw się menu zostało już utworzone, "
    "reszta to już tylko formalność (po kliknięciu w przyciski zalecam stosować się do "
    "wyświetlanych komunikatów).");
inline const QString askSaveChanges = QStringLiteral(
    "W tworzonym menu wprowadzono zmiany, które nie zostały zapisane.\r\rCzy chcesz je teraz zapisać ???");
inline const QString askUnwritable = QStringLiteral(
    "Plik autorun.inf zapisuje się w stronie kodowej Windows, której brakuje tych znaków: %1.\r"
    "Windows pokaże w ich miejscu znak „?”.\r\rCzy zapisać menu ze znakami „?” ???\r"
    "(NIE wraca do edycji, nic nie zostanie zapisane)");
// A command met a folder typed but not confirmed that names no folder.
inline const QString typedFolderMissing = QStringLiteral(
    "Wpisany folder nie istnieje:\r%1\r\rPolecenie nie zostało wykonane; pole pokazuje z powrotem "
    "folder, z którym pracujesz.");
inline const QString changedDuringPreview = QStringLiteral(
    "Plik z menu %1 zmienił się w czasie podglądu (zmienił go inny program), więc nie został "
    "nadpisany. Jego zawartość sprzed podglądu zapisano obok:\r%2");
inline const QString askReplaceLink = QStringLiteral(
    "Plik autorun.inf w tym folderze jest dowiązaniem (skrótem) do pliku spoza folderu:\r%1\r\r"
    "Zapis przez dowiązanie zmieniłby tamten plik, więc Pelmora go nie zapisze. Czy zastąpić "
    "dowiązanie zwykłym plikiem autorun.inf z menu ??? (plik, do którego prowadzi, zostanie nietknięty)");
inline const QString linkNotPreviewed = QStringLiteral(
    "Plik autorun.inf w tym folderze jest dowiązaniem (skrótem) do pliku spoza folderu:\r%1\r\r"
    "Podgląd zapisałby w tamtym pliku, więc nie zostanie uruchomiony. Zapisz najpierw menu w "
    "zwykłym pliku (Zapisz).");
// A file whose name holds a line break cannot be named in autorun.inf.
inline const QString lineBreakInName = QStringLiteral(
    "Nazwa pliku „%1” zawiera znak końca wiersza. W pliku autorun.inf taka nazwa utworzyłaby "
    "własne wiersze, więc tego pliku nie można wybrać. Zmień jego nazwę.");
inline const QString namesLeftOut = QStringLiteral(
    "Pominięto pliki, których nazwy zawierają znak końca wiersza (%1): w pliku autorun.inf takie "
    "nazwy utworzyłyby własne wiersze. Zmień ich nazwy, aby móc je wybrać.");
inline const QString readingLargeFile =
    QStringLiteral("Wczytywanie pliku z menu %1 (%2 MB)...");
// The general error report when the settings store refuses a value.
inline const QString setDataFailed = QStringLiteral("Failed to set data for '%1'");
inline const QString cannotOpenFile = QStringLiteral("Cannot open file %1");
inline const QString cannotCreateFile = QStringLiteral("Cannot create file %1");

} // namespace Texts
