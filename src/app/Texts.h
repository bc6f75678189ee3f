#pragma once

#include <QCoreApplication>
#include <QString>

// The fixed texts of the main window, each through Qt's translation, so that the program can
// be translated; without a translation they are the Polish ones below, character for
// character. The context and the text are literals, as lupdate reads them.
namespace Texts {

// The window's title and the captions of its messages.
inline QString title() { return QCoreApplication::translate("Pelmora", "Pelmora"); }
inline QString captionWarning() { return QCoreApplication::translate("Pelmora", "UWAGA !!!"); }
inline QString captionError() { return QCoreApplication::translate("Pelmora", "BŁĄD !!!"); }
inline QString captionInformation() { return QCoreApplication::translate("Pelmora", "INFORMACJA !!!"); }
inline QString captionQuestion() { return QCoreApplication::translate("Pelmora", "PYTANIE ???"); }
inline QString captionCreated() { return QCoreApplication::translate("Pelmora", "Uffffffffffff !!!"); }

// The commands: the buttons and the entries of the "Menu ..." pop-up show the same captions.
// The spaces around a caption pad the button as it was designed.
inline QString menuCommand() { return QCoreApplication::translate("Pelmora", "&Menu ..."); }
inline QString autoStartCommand() { return QCoreApplication::translate("Pelmora", "&Auto..."); }
inline QString createCommand() { return QCoreApplication::translate("Pelmora", "&Utwórz"); }
inline QString saveCommand() { return QCoreApplication::translate("Pelmora", "&Zapisz"); }
inline QString tipsCommand() { return QCoreApplication::translate("Pelmora", "&Porady"); }
inline QString helpCommand() { return QCoreApplication::translate("Pelmora", "Pomo&c"); }
inline QString aboutCommand() { return QCoreApplication::translate("Pelmora", "&Informacje"); }
inline QString closeCommand() { return QCoreApplication::translate("Pelmora", "Zamk&nij"); }
inline QString addCommand() { return QCoreApplication::translate("Pelmora", "&Dodaj"); }
inline QString refreshCommand() { return QCoreApplication::translate("Pelmora", "&Odśwież"); }
inline QString removeCommand() { return QCoreApplication::translate("Pelmora", "U&suń"); }
inline QString editCommand() { return QCoreApplication::translate("Pelmora", "&Edytuj"); }
inline QString moveUpCommand() { return QCoreApplication::translate("Pelmora", "Przesuń w &górę"); }
inline QString moveDownCommand() { return QCoreApplication::translate("Pelmora", "Przesuń w d&ół"); }
inline QString deleteFileCommand() { return QCoreApplication::translate("Pelmora", "   Usuń p&lik   "); }
inline QString openFileCommand() { return QCoreApplication::translate("Pelmora", "U&ruchom plik"); }
inline QString previewCommand() { return QCoreApplication::translate("Pelmora", "   Pod&gląd   "); }
inline QString recentFoldersCommand()
{
    return QCoreApplication::translate("Pelmora", "Ostatnio wybierane foldery");
}
inline QString newMenuCommand() { return QCoreApplication::translate("Pelmora", "&Nowe"); }
inline QString openMenuCommand() { return QCoreApplication::translate("Pelmora", "&Otwórz"); }
inline QString checkDiscCommand() { return QCoreApplication::translate("Pelmora", "&Sprawdź płytę..."); }
inline QString discImageCommand()
{
    return QCoreApplication::translate("Pelmora", "Utwórz o&braz płyty (ISO)...");
}
inline QString recentFilesMenu() { return QCoreApplication::translate("Pelmora", "Ostatnio wybierane"); }

// The folder and the label of the disc.
inline QString folderGroupTitle()
{
    return QCoreApplication::translate("Pelmora", " Ścieżka do folderu z plikami które zamierzasz nagrać na CD(DVD) ");
}
inline QString labelCaption() { return QCoreApplication::translate("Pelmora", "Etykieta (nazwa płytki):"); }

// The folder's contents: the group's title as the folder stands, the tree's pop-up menu and
// the captions of the chosen program.
inline QString areaWaiting()
{
    return QCoreApplication::translate("Pelmora", " Wskaż folder z danymi (przeczytaj porady) ");
}
inline QString areaMissingNoLabel()
{
    return QCoreApplication::translate("Pelmora", " Folder nie istnieje i brak etykiety !!! ");
}
inline QString areaMissing() { return QCoreApplication::translate("Pelmora", " Wskazany folder nie istnieje !!! "); }
inline QString areaTaken()
{
    return QCoreApplication::translate("Pelmora", " Wskazany folder zawiera następujące pliki i foldery: ");
}
inline QString programsOnly()
{
    return QCoreApplication::translate("Pelmora", "Wyświetlaj tylko aplikacje (*.exe)");
}
inline QString selectedPathCaption() { return QCoreApplication::translate("Pelmora", "Ścieżka i nazwa pliku:"); }
inline QString selectedNameCaption() { return QCoreApplication::translate("Pelmora", "Nazwa pliku:"); }
inline QString addToMenu() { return QCoreApplication::translate("Pelmora", "Dodaj do menu"); }
inline QString setAsAutoStart()
{
    return QCoreApplication::translate("Pelmora", "Ustaw jako automatycznie uruchamiany");
}
inline QString runProgram() { return QCoreApplication::translate("Pelmora", "Uruchom"); }

// The menu's items: the list and its columns, the captions of the chosen item, sorting.
inline QString itemsGroupTitle() { return QCoreApplication::translate("Pelmora", " Pozycje w menu: "); }
inline QString entryLabelColumn() { return QCoreApplication::translate("Pelmora", "Etykieta"); }
inline QString entryFileColumn() { return QCoreApplication::translate("Pelmora", "Nazwa i ścieżka do pliku"); }
inline QString sortWhileCreating()
{
    return QCoreApplication::translate("Pelmora", "Sortuj listę w czasie tworzenia");
}
inline QString itemNameCaption() { return QCoreApplication::translate("Pelmora", "Nazwa pozycji:"); }
inline QString itemFileCaption() { return QCoreApplication::translate("Pelmora", "Plik:"); }
inline QString fileMissing() { return QCoreApplication::translate("Pelmora", "TEN PLIK NIE ISTNIEJE !!!"); }
inline QString askSortNow() { return QCoreApplication::translate("Pelmora", "Posortować listę teraz ???"); }

// The preview area: the computer, the drive and the program the disc starts.
inline QString previewCaption() { return QCoreApplication::translate("Pelmora", "Podgląd:"); }
inline QString myComputer() { return QCoreApplication::translate("Pelmora", "Mój komputer"); }
inline QString driveCaption() { return QCoreApplication::translate("Pelmora", "Stacja dysków CD (DVD)"); }
// The line breaks fit the hint to the width of the preview area.
inline QString driveMenuHint()
{
    return QCoreApplication::translate("Pelmora", "Kliknij prawym przyciskiem na\nikonie dysku CD (DVD) aby\n"
                                                  "podglądnąć utworzone menu");
}
// Under the drive in the preview: the program the disc starts.
inline QString startsProgram() { return QCoreApplication::translate("Pelmora", "Uruchamia: %1"); }
inline QString alsoSections() { return QCoreApplication::translate("Pelmora", "Plik ma też sekcje (tylko do odczytu): %1"); }
inline QString sectionsToolTip() { return QCoreApplication::translate("Pelmora", "Windows innego procesora czyta tylko swoją sekcję zamiast [autorun]; program jej nie zmienia, a zapis ją zachowuje."); }
inline QString menuOfSection() { return QCoreApplication::translate("Pelmora", "Menu z sekcji [autorun]"); }
inline QString largeFileQuestion() { return QCoreApplication::translate("Pelmora", "Pliki 4 GiB lub większe zostaną zapisane w obrazie w częściach, a czytniki, które ich nie łączą, zobaczą tylko pierwszą część:\r%1\r\rUtworzyć obraz mimo to?"); }
inline QString imageSizeFits() { return QCoreApplication::translate("Pelmora", "%1 – %2, zmieści się na: %3"); }
inline QString imageSizeFitsNone() { return QCoreApplication::translate("Pelmora", "%1 – %2, nie zmieści się na żadnej płycie"); }

// The drive's context menu in the preview, as the disc will show it; the entries the disc does
// not run are greyed.
inline QString autoPlay() { return QCoreApplication::translate("Pelmora", "Autoodtwarzanie"); }
inline QString driveOpen() { return QCoreApplication::translate("Pelmora", "&Otwórz"); }
inline QString driveExplore() { return QCoreApplication::translate("Pelmora", "Eksplo&ruj"); }
inline QString driveSearch() { return QCoreApplication::translate("Pelmora", "W&yszukaj"); }
inline QString driveSharing() { return QCoreApplication::translate("Pelmora", "U&dostępnianie i zabezpieczenia"); }
inline QString driveEject() { return QCoreApplication::translate("Pelmora", "W&ysuń"); }
inline QString driveCopy() { return QCoreApplication::translate("Pelmora", "&Kopiuj"); }
inline QString driveShortcut() { return QCoreApplication::translate("Pelmora", "Utwórz &skrót"); }
inline QString driveProperties() { return QCoreApplication::translate("Pelmora", "&Właściwości"); }

// What a screen reader says of the controls whose text does not name them.
inline QString commandsName() { return QCoreApplication::translate("Pelmora", "Polecenia"); }
inline QString folderEditName() { return QCoreApplication::translate("Pelmora", "Ścieżka do folderu z plikami"); }
inline QString browseButtonName() { return QCoreApplication::translate("Pelmora", "Wybierz folder"); }
inline QString labelEditName() { return QCoreApplication::translate("Pelmora", "Etykieta (nazwa płytki)"); }
inline QString folderTreeName() { return QCoreApplication::translate("Pelmora", "Pliki i foldery płyty"); }
inline QString itemListName() { return QCoreApplication::translate("Pelmora", "Pozycje w menu"); }
inline QString previewAreaName() { return QCoreApplication::translate("Pelmora", "Podgląd"); }
inline QString driveDescription()
{
    return QCoreApplication::translate("Pelmora", "Spacja, Enter, klawisz menu lub Shift+F10 pokazuje menu napędu");
}

// Starting a menu, opening a menu file and the questions before losing edits.
inline QString askSaveChanges()
{
    return QCoreApplication::translate(
        "Pelmora",
        "W tworzonym menu wprowadzono zmiany, które nie zostały zapisane.\r\rCzy chcesz je teraz zapisać ???");
}
inline QString askNewMenu()
{
    return QCoreApplication::translate("Pelmora", "Czy na pewno chcesz rozpocząć tworzenie nowego menu ???");
}
inline QString askOpenExisting()
{
    return QCoreApplication::translate(
        "Pelmora",
        "We wskazanym folderze istnieje już plik, który może zawierać menu oraz dane "
        "autouruchomiania.\r\rCzy chcesz otworzyć go teraz ???");
}
inline QString openMenuTitle() { return QCoreApplication::translate("Pelmora", "Otwórz plik z menu"); }
inline QString menuFileFilter() { return QCoreApplication::translate("Pelmora", "pliki autouruchamiania (*.inf)"); }
inline QString chosenFileMissing() { return QCoreApplication::translate("Pelmora", "Wskazany plik nie istnieje !!!"); }
inline QString chosenFileWrongExtension()
{
    return QCoreApplication::translate("Pelmora",
                                       "Wskazany plik ma nieprawidłowe rozszerzenie (nie jest plikiem "
                                       "zawierającym dane autouruchomiania) !!!");
}
inline QString chosenFileWrongName()
{
    return QCoreApplication::translate("Pelmora", "Wskazany plik ma nieprawidłową nazwę !!!");
}
inline QString askRefresh()
{
    return QCoreApplication::translate("Pelmora",
                                       "W pliku wprowadzono zmiany, odświeżenie pliku dysku, czyli ponowne "
                                       "załadowanie spowoduje utratę wprowadzonych zmian.\rKontynuować "
                                       "odświeżanie teraz ???");
}
inline QString readingLargeFile()
{
    return QCoreApplication::translate("Pelmora", "Wczytywanie pliku z menu %1 (%2 MB)...");
}
inline QString cancelReading() { return QCoreApplication::translate("Pelmora", "Anuluj"); }
// A sentence that names the file after its first word.
inline QString theFile() { return QCoreApplication::translate("Pelmora", "Plik "); }
inline QString fileOverLimit()
{
    return QCoreApplication::translate("Pelmora",
                                       " ma ponad 64 MB, więc nie jest plikiem z menu płyty. "
                                       "Nie został otwarty.");
}
inline QString fileNotRegular()
{
    return QCoreApplication::translate("Pelmora",
                                       " nie jest zwykłym plikiem (jest to np. potok lub "
                                       "urządzenie). Nie został otwarty.");
}
// A command met a folder typed but not confirmed that names no folder.
inline QString typedFolderMissing()
{
    return QCoreApplication::translate(
        "Pelmora",
        "Wpisany folder nie istnieje:\r%1\r\rPolecenie nie zostało wykonane; pole pokazuje z powrotem "
        "folder, z którym pracujesz.");
}
// A file whose name holds a line break cannot be named in autorun.inf.
inline QString lineBreakInName()
{
    return QCoreApplication::translate(
        "Pelmora",
        "Nazwa pliku „%1” zawiera znak końca wiersza. W pliku autorun.inf taka nazwa utworzyłaby "
        "własne wiersze, więc tego pliku nie można wybrać. Zmień jego nazwę.");
}
inline QString namesLeftOut()
{
    return QCoreApplication::translate(
        "Pelmora",
        "Pominięto pliki, których nazwy zawierają znak końca wiersza (%1): w pliku autorun.inf takie "
        "nazwy utworzyłyby własne wiersze. Zmień ich nazwy, aby móc je wybrać.");
}
inline QString noProblemsFound() { return QCoreApplication::translate("Pelmora", "Nie znaleziono problemów."); }

// Creating and saving the menu file.
inline QString askMissingAutorun()
{
    return QCoreApplication::translate(
        "Pelmora",
        "Nie podano programu, który ma być uruchomiony bezpośrednio po włożeniu płyty do stacji "
        "i(lub) nie podano ikony jaka ma widnieć w Moim komputerze gdy płyta, do której tworzysz "
        "menu, będzie znajdować się w stacji !!!\r\rCzy chcesz podać teraz te dane ??? (jeżeli "
        "klikniesz na TAK przejdziesz do podawania brakujących danych, kliknicie w przycisk NIE "
        "stworzy menu bez danych autouruchamiania a ANULUJ przerwie proces tworzenia).");
}
inline QString writeFailed()
{
    return QCoreApplication::translate(
        "Pelmora",
        "Utworzenie menu nie powiodło się, sprawdź czy masz wystarczające uprawnienia aby zapisać "
        "plik we wskazanym folderze lub czy zapis we wskazanej lokalizacji jest możliwy");
}
inline QString created()
{
    return QCoreApplication::translate(
        "Pelmora",
        "Menu zostało utworzone, gratuluję :-)\r\rMożesz teraz kliknąć na przycisk Podgląd lub "
        "Uruchom plik aby kontynuować proces tworzenia, nie martw się menu zostało już utworzone, "
        "reszta to już tylko formalność (po kliknięciu w przyciski zalecam stosować się do "
        "wyświetlanych komunikatów).");
}
inline QString askUnwritable()
{
    return QCoreApplication::translate(
        "Pelmora",
        "Plik autorun.inf zapisuje się w stronie kodowej Windows, której brakuje tych znaków: %1.\r"
        "Windows pokaże w ich miejscu znak „?”.\r\rCzy zapisać menu ze znakami „?” ???\r"
        "(NIE wraca do edycji, nic nie zostanie zapisane)");
}
inline QString askReplaceLink()
{
    return QCoreApplication::translate(
        "Pelmora",
        "Plik autorun.inf w tym folderze jest dowiązaniem (skrótem) do pliku spoza folderu:\r%1\r\r"
        "Zapis przez dowiązanie zmieniłby tamten plik, więc Pelmora go nie zapisze. Czy zastąpić "
        "dowiązanie zwykłym plikiem autorun.inf z menu ??? (plik, do którego prowadzi, zostanie nietknięty)");
}

// The created file opened on the desktop, and deleted.
inline QString askSaveBeforeOpening()
{
    return QCoreApplication::translate("Pelmora",
                                       "W tworzonym pliku wprowadzono zmiany, czy chcesz je "
                                       "przed otwarciem zapisć ???");
}
inline QString openedFileNotice()
{
    return QCoreApplication::translate("Pelmora",
                                       "Tak wygląda utworzony przez Ciebie plik z danymi dla menu. "
                                       "Jeżeli chcesz aby menu, które stworzyłeś działało poprawnie, "
                                       "w otwartym pliku, PROPONUJĘ NIC NIE ZMIENIAĆ !!!");
}
inline QString askDeleteFile() { return QCoreApplication::translate("Pelmora", "Czy na pewno chcesz usunąć plik ???"); }
inline QString deleteFailed()
{
    return QCoreApplication::translate(
        "Pelmora",
        "Nie można usunąć pliku, sprawdź czy folder jest folderem zabezpieczonym przed "
        "jakimikolwiek modyfikacjami lub czy nie usuwasz pliku z dysku chronionego przed "
        "zapisem lub z takiego gdzie zapis jest niemożliwy ???");
}

// The preview on a temporary drive. The long messages are put together around the folder, the
// drive and its label, a piece between each two of them.
inline QString askSaveBeforePreview()
{
    return QCoreApplication::translate("Pelmora",
                                       "W tworzonym pliku wprowadzono zmiany, kótre jeżeli nie będą "
                                       "zapisane nie będą widoczne po wybraniu opci Podgląd.\r\rCzy "
                                       "chcesz teraz zapisć ???");
}
inline QString linkNotPreviewed()
{
    return QCoreApplication::translate(
        "Pelmora",
        "Plik autorun.inf w tym folderze jest dowiązaniem (skrótem) do pliku spoza folderu:\r%1\r\r"
        "Podgląd zapisałby w tamtym pliku, więc nie zostanie uruchomiony. Zapisz najpierw menu w "
        "zwykłym pliku (Zapisz).");
}
inline QString previewListEmpty()
{
    return QCoreApplication::translate("Pelmora",
                                       "Nie można podglądnąć działania menu ponieważ lista pozycji jest "
                                       "pusta, dodaj najpierw pozycje do menu !!!");
}
// Before the Wine prefix's folder, and after it.
inline QString noWinePrefix()
{
    return QCoreApplication::translate("Pelmora",
                                       "Podgląd tworzy tymczasowy dysk jako literę dysku Wine, a nie ma prefiksu Wine "
                                       "(folderu ");
}
inline QString noWinePrefixEnd()
{
    return QCoreApplication::translate("Pelmora",
                                       "/dosdevices). Uruchom raz Wine (np. poleceniem winecfg) albo wskaż "
                                       "istniejący prefiks zmienną WINEPREFIX i spróbuj ponownie.");
}
// The question before the preview: the folder, the drive it lies on, the label, the drive's
// own label and the letter follow the pieces in this order.
inline QString askPreview()
{
    return QCoreApplication::translate(
        "Pelmora",
        "Czy chcesz teraz zobaczyć podgląd utworzonego dysku CD (DVD) ???\r\rProgram ma możliwość "
        "utworzenia wirtualnego tymczasowego dysku.\rUWAGA !!! utworzony dysk będzie istniał do czasu "
        "ponownego uruchomienia komputera, nie będzie w niczym przeszkadzał i na pewno nic nie "
        "zepsuje "
        "przy czym nie będzie zachowywał się tak jak dysk CD tzn. na utworzonym dysku będzie można "
        "zapisywać i usuwać z niego pliki w związku z czym ostrzegam - cokolwiek zostanie usunięte na "
        "utworzonym dysku zostanie usunięte w folderze ");
}
inline QString askPreviewDriveIcon()
{
    return QCoreApplication::translate(
        "Pelmora",
        "poza tym nie będzie w Moim komputerze reprezentowany przez ikonę, którą podałeś w oknie "
        "Auto... tylko będzie posiadał standardową ikonę przypisaną dyskowi z którego plików tworzysz "
        "wirtualny napęd (w Twoim przypadku jest to dysk ");
}
inline QString askPreviewLabel()
{
    return QCoreApplication::translate("Pelmora",
                                       "Etykieta utworzonego dysku niestety też nie będzie taka, jaką podałeś w polu "
                                       "Etykieta czyli ");
}
inline QString askPreviewVolume()
{
    return QCoreApplication::translate("Pelmora", " ale będzie taka sama jak etykieta dysku  ");
}
inline QString askPreviewLetters()
{
    return QCoreApplication::translate(
        "Pelmora", ". Tymczasowe dyski, aby zapobiec wszelkim usterkom systemowym oznaczam literami ");
}
inline QString askPreviewLettersEnd() { return QCoreApplication::translate("Pelmora", "od końca alfabetu."); }
inline QString askPreviewBenefit()
{
    return QCoreApplication::translate(
        "Pelmora",
        "Co w związku z tym daje podgląd utworzonego dysku ??? - można podglądnąć strukturę "
        "plików tak, jak będzie się one znajdowały na nagranym dysku CD (DVD) i co "
        "najważniejsze można zobaczyć jak w rzeczywistości funkcjonuje utworzone menu.");
}
inline QString askPreviewMakeDrive()
{
    return QCoreApplication::translate("Pelmora", "Czy mam teraz utworzyć tymczasowy dysk (");
}
inline QString askPreviewMakeDriveEnd()
{
    return QCoreApplication::translate("Pelmora", ":) z zawartością wskazanego folderu ???");
}
// While the preview is up: the letter, then the folder, follow the first two pieces.
inline QString previewWait()
{
    return QCoreApplication::translate(
        "Pelmora",
        "POCZEKAJ !!!, NIE KLIKAJ W OK !!!  Przeczytaj.\r\rW Moim Komputerze pojawił się nowy "
        "element, dysk ");
}
inline QString previewWaitFolder()
{
    return QCoreApplication::translate("Pelmora", " , który reprezentuje zawartość folderu ");
}
inline QString previewWaitTemporary()
{
    return QCoreApplication::translate(
        "Pelmora",
        ". Jak już wiesz, z poprzedniego komunikatu, jest to dysk tymczasowy, zniknie po "
        "ponownym uruchomieniu komputera. Został on zrobiony w celu pokazania zasady działania "
        "utworzonego menu. ");
}
inline QString previewWaitWorks()
{
    return QCoreApplication::translate(
        "Pelmora",
        "W tej chwili menu działa poprawnie ponieważ zostało utworzone jako menu dla dysku "
        "tymczasowego a zapisany plik z zawartością nieznacznie różni się od pliku z "
        "zawartością menu dla dysku CD (DVD). Jeżeli klikniesz na przycisk OK plik zostanie ");
}
inline QString previewWaitReplaced()
{
    return QCoreApplication::translate(
        "Pelmora",
        "usunięty i zastąpiony plikiem poprawnie działającym dla dysku CD (DVD) np. po "
        "nagraniu płyty. Zalecam więc uruchomienie Mojego komputera i sprawdzenie poprawności "
        "utworzonego menu a następnie, po upewnieniu się że wszystko ");
}
inline QString previewWaitOk()
{
    return QCoreApplication::translate(
        "Pelmora", "jest tak jak należy, kliknięcie w przycisk OK czytanego właśnie komunikatu.");
}
// A sentence that names the folder after its first word.
inline QString theFolder() { return QCoreApplication::translate("Pelmora", "Folder "); }
inline QString stateFolderNotPrivate()
{
    return QCoreApplication::translate("Pelmora",
                                       ", w którym program przechowuje kopię pliku z menu na czas "
                                       "podglądu, nie jest prywatnym folderem użytkownika (musi to "
                                       "być zwykły folder należący do Ciebie, dostępny tylko dla "
                                       "Ciebie). Podgląd nie zostanie uruchomiony.");
}
inline QString changedDuringPreview()
{
    return QCoreApplication::translate(
        "Pelmora",
        "Plik z menu %1 zmienił się w czasie podglądu (zmienił go inny program), więc nie został "
        "nadpisany. Jego zawartość sprzed podglądu zapisano obok:\r%2");
}
// Followed by the drive's letter.
inline QString askRemoveDrive()
{
    return QCoreApplication::translate("Pelmora",
                                       "UWAGA !!!\rTo już naprawdę ostatni komunikat, krótki i treściwy. "
                                       "Program poza tworzeniem tymczasowych dysków ma możliwość ich "
                                       "usuwania. Czy chcesz teraz usunąć niepotrzebny tymczasowy dysk ");
}
// What an interrupted preview left behind, put back at the next start: each file is listed
// under its heading.
inline QString restoredBack()
{
    return QCoreApplication::translate("Pelmora",
                                       "Poprzedni podgląd menu został przerwany, zanim program przywrócił plik z menu. "
                                       "Plik został przywrócony w postaci sprzed podglądu:\r");
}
inline QString restoredKeptAside()
{
    return QCoreApplication::translate(
        "Pelmora",
        "Poprzedni podgląd menu został przerwany, a plik z menu zmienił się od tego czasu, "
        "więc nie został nadpisany. Jego zawartość sprzed podglądu zapisano obok:\r");
}
inline QString restoreFailed()
{
    return QCoreApplication::translate("Pelmora", "Nie udało się przywrócić pliku z menu po przerwanym podglądzie:\r");
}
inline QString keptAsideAs() { return QCoreApplication::translate("Pelmora", " (zawartość sprzed podglądu: "); }
inline QString journalCopy() { return QCoreApplication::translate("Pelmora", " (kopia: "); }

// The disc image.
inline QString askSaveBeforeImage()
{
    return QCoreApplication::translate("Pelmora",
                                       "W tworzonym menu wprowadzono zmiany, które nie zostały zapisane "
                                       "i nie znajdą się w obrazie płyty.\r\rCzy chcesz teraz zapisać ???");
}
inline QString saveImageTitle() { return QCoreApplication::translate("Pelmora", "Zapisz obraz płyty"); }
inline QString imageFilter() { return QCoreApplication::translate("Pelmora", "obrazy płyt (*.iso)"); }
inline QString imageCancelled()
{
    return QCoreApplication::translate("Pelmora",
                                       "Tworzenie obrazu płyty zostało przerwane, plik obrazu nie został "
                                       "zapisany.");
}
// The image's file, its size and the links left out follow the first, second and third piece.
inline QString imageSaved() { return QCoreApplication::translate("Pelmora", "Obraz płyty został zapisany w pliku:\r"); }
inline QString imageSize() { return QCoreApplication::translate("Pelmora", "\r\rRozmiar: "); }
inline QString skippedLinks()
{
    return QCoreApplication::translate("Pelmora", "\r\rPominięto dowiązania prowadzące poza folder z danymi:\r");
}
inline QString askShowImage()
{
    return QCoreApplication::translate("Pelmora",
                                       "\r\rCzy chcesz zobaczyć go teraz w menedżerze "
                                       "plików ???");
}
// Why the image was not made: the folder or file named follows the first piece, the system's
// reason in brackets may follow it.
inline QString imageDataFolder() { return QCoreApplication::translate("Pelmora", "Folder z danymi "); }
inline QString imageFolderMissing() { return QCoreApplication::translate("Pelmora", " nie istnieje !!!"); }
inline QString imageTargetFolder()
{
    return QCoreApplication::translate("Pelmora", "Folder, w którym ma być zapisany plik ");
}
inline QString imageTargetMissing() { return QCoreApplication::translate("Pelmora", ", nie istnieje !!!"); }
inline QString imageInsideFolder()
{
    return QCoreApplication::translate("Pelmora",
                                       "Obrazu płyty nie można zapisać w folderze z danymi płyty ani w żadnym z jego "
                                       "podfolderów (obraz znalazłby się sam w sobie), wskaż inny folder !!!");
}
inline QString imageUnreadableFile() { return QCoreApplication::translate("Pelmora", "Nie można odczytać pliku "); }
inline QString imageTooLarge()
{
    return QCoreApplication::translate("Pelmora", " jest za duży, aby umieścić go w obrazie płyty !!!");
}
inline QString imageCannotAdd()
{
    return QCoreApplication::translate("Pelmora", "Nie można dodać do obrazu płyty pliku ");
}
inline QString imageCannotWrite() { return QCoreApplication::translate("Pelmora", "Nie można zapisać pliku "); }
inline QString imageCannotWriteEnd()
{
    return QCoreApplication::translate(
        "Pelmora",
        ", sprawdź czy na dysku jest wystarczająco dużo miejsca i czy masz prawo zapisu w tym "
        "folderze !!!");
}
inline QString imageCannotLayOut() { return QCoreApplication::translate("Pelmora", "Nie można ułożyć obrazu płyty"); }
inline QString imageUnreadableFolder()
{
    return QCoreApplication::translate("Pelmora", "Nie można odczytać folderu ");
}
inline QString imageFileChanged()
{
    return QCoreApplication::translate(
        "Pelmora",
        " zmienił się w trakcie tworzenia obrazu płyty, spróbuj ponownie, gdy nic go nie "
        "zmienia !!!");
}
inline QString imageDiskFull()
{
    return QCoreApplication::translate("Pelmora", "Na dysku zabrakło miejsca na obraz płyty w folderze ");
}
inline QString imageDiskFullEnd()
{
    return QCoreApplication::translate("Pelmora", ", zwolnij miejsce albo wskaż inny folder !!!");
}
inline QString imageNotCreated()
{
    return QCoreApplication::translate("Pelmora", "\r\rObraz płyty nie został utworzony.");
}

// The general error report that ends a command.
inline QString setDataFailed() { return QCoreApplication::translate("Pelmora", "Failed to set data for '%1'"); }
inline QString cannotOpenFile() { return QCoreApplication::translate("Pelmora", "Cannot open file %1"); }
inline QString cannotCreateFile() { return QCoreApplication::translate("Pelmora", "Cannot create file %1"); }

// A file or address the desktop has no program for: the target follows the first piece.
inline QString cannotOpenTarget() { return QCoreApplication::translate("Pelmora", "Nie można otworzyć:\r"); }
inline QString noProgramForTarget()
{
    return QCoreApplication::translate("Pelmora",
                                       "\r\rW systemie nie ma programu, który otwiera pliki lub adresy "
                                       "tego rodzaju.");
}

// The command line's help.
inline QString commandLineDescription()
{
    return QCoreApplication::translate("Pelmora",
                                       "Pelmora: menu startowe płyty CD lub DVD (autorun.inf), ikona napędu i program "
                                       "uruchamiany po włożeniu płyty.");
}
inline QString commandLineArgument() { return QCoreApplication::translate("Pelmora", "FOLDER|autorun.inf"); }
inline QString commandLineArgumentHelp()
{
    return QCoreApplication::translate("Pelmora", "Folder z danymi płyty albo plik autorun.inf do otwarcia.");
}
inline QString commandLineSyntax() { return QCoreApplication::translate("Pelmora", "[FOLDER|autorun.inf]"); }

} // namespace Texts
