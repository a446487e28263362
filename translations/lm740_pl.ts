<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl_PL">
<context>
    <name>App</name>
    <message>
        <source>RGB Lamps Number</source>
        <translation>Liczba lamp RGB</translation>
    </message>
    <message>
        <source>Number of RGB lamps</source>
        <translation>Liczba lamp RGB</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Scenes Time</source>
        <translation>Czas scen</translation>
    </message>
    <message>
        <source>s</source>
        <translation>s</translation>
    </message>
    <message>
        <source>Global Scene Time</source>
        <translation>Globalny czas sceny</translation>
    </message>
    <message>
        <source>Scene %1</source>
        <translation>Scena %1</translation>
    </message>
    <message>
        <source>Chaser %1</source>
        <translation>Chaser %1</translation>
    </message>
    <message>
        <source>Program %1</source>
        <translation>Program %1</translation>
    </message>
    <message>
        <source>%1</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Błąd</translation>
    </message>
    <message>
        <source>VXL Lm740</source>
        <translation>VXL Lm740</translation>
    </message>
    <message>
        <source>The Lm740 is connected, but this user may not use it.
Install the udev rule 70-lm740.rules in /usr/lib/udev/rules.d, then run
sudo udevadm control --reload-rules
and plug the Lm740 in again.</source>
        <translation>Lm740 jest podłączony, ale ten użytkownik nie ma do niego dostępu.
Zainstaluj regułę udev 70-lm740.rules w /usr/lib/udev/rules.d, a następnie uruchom
sudo udevadm control --reload-rules
i podłącz Lm740 ponownie.</translation>
    </message>
    <message>
        <source>Unknown firmware version in Lm740 device.</source>
        <translation>Nieznana wersja oprogramowania w urządzeniu Lm740.</translation>
    </message>
    <message>
        <source>Plase upgrade device to version %1</source>
        <translation>Zaktualizuj urządzenie do wersji %1</translation>
    </message>
    <message>
        <source>Can not get version from Lm740 device.
Upgrade Lm740 to version 13</source>
        <comment>first checkstatus</comment>
        <translation>Nie można odczytać wersji z urządzenia Lm740.
Zaktualizuj Lm740 do wersji 13</translation>
    </message>
    <message>
        <source>Get Color  Mode</source>
        <translation>Odczyt trybu koloru</translation>
    </message>
    <message>
        <source>Set Color Mode</source>
        <translation>Zapis trybu koloru</translation>
    </message>
    <message>
        <source>Get GlobalSceneTime</source>
        <translation>Odczyt globalnego czasu sceny</translation>
    </message>
    <message>
        <source>Set GlobalSceneTime</source>
        <translation>Zapis globalnego czasu sceny</translation>
    </message>
    <message>
        <source>Get LampsNumber</source>
        <translation>Odczyt liczby lamp</translation>
    </message>
    <message>
        <source>Set LampsNumber</source>
        <translation>Zapis liczby lamp</translation>
    </message>
    <message>
        <source>%1 values pasted</source>
        <translation>Wklejono wartości: %1</translation>
    </message>
    <message>
        <source>%1 values copied</source>
        <translation>Skopiowano wartości: %1</translation>
    </message>
    <message>
        <source>USB Write Last Step</source>
        <translation>Błąd zapisu ostatniego kroku przez USB</translation>
    </message>
    <message>
        <source>Read error</source>
        <translation>Błąd odczytu</translation>
    </message>
    <message>
        <source>Nie mozna pobrac liczby lamp z Lm740</source>
        <translation>Nie można pobrać liczby lamp z Lm740</translation>
    </message>
    <message>
        <source>Nie mozna pobrac czasu sceny z Lm740</source>
        <translation>Nie można pobrać czasu sceny z Lm740</translation>
    </message>
    <message>
        <source>USB Write Scene Error</source>
        <translation>Błąd zapisu sceny przez USB</translation>
    </message>
    <message>
        <source>USB Read Scene Error</source>
        <translation>Błąd odczytu sceny przez USB</translation>
    </message>
    <message>
        <source>USB Write Chaser Error</source>
        <translation>Błąd zapisu chasera przez USB</translation>
    </message>
    <message>
        <source>USB Read Chaser Error</source>
        <translation>Błąd odczytu chasera przez USB</translation>
    </message>
    <message>
        <source>USB Write Program Error</source>
        <translation>Błąd zapisu programu przez USB</translation>
    </message>
    <message>
        <source>USB Read Program Error</source>
        <translation>Błąd odczytu programu przez USB</translation>
    </message>
    <message>
        <source>Choose a file to save settings</source>
        <comment>dataflash settings seve</comment>
        <translation>Wybierz plik do zapisu ustawień</translation>
    </message>
    <message>
        <source>Settings (*.set)</source>
        <comment>translate only  Settings</comment>
        <translation>Ustawienia (*.set)</translation>
    </message>
    <message>
        <source>Choose a file with settings - Lm740</source>
        <comment>scenes load</comment>
        <translation>Wybierz plik z ustawieniami - Lm740</translation>
    </message>
    <message>
        <source>settings (*.set)</source>
        <comment>translate only Scenes</comment>
        <translation>ustawienia (*.set)</translation>
    </message>
    <message>
        <source>%1 is not a settings file: it holds %2 bytes, a settings file holds %3.</source>
        <translation>%1 nie jest plikiem ustawień: ma %2 bajtów, a plik ustawień ma %3.</translation>
    </message>
    <message>
        <source>The file could not be read:
%1</source>
        <translation>Nie można odczytać pliku:
%1</translation>
    </message>
    <message>
        <source>Error</source>
        <comment>error</comment>
        <translation>Błąd</translation>
    </message>
    <message>
        <source>File corrupted error</source>
        <comment>load scenes</comment>
        <translation>Plik jest uszkodzony</translation>
    </message>
    <message>
        <source>Remove leds? -- Lm740</source>
        <comment>loading secnes is smaller than actual</comment>
        <translation>Usunąć lampy? -- Lm740</translation>
    </message>
    <message>
        <source>Loading scenes have got less lamps than actual scene.
From all scenes, chasers and programs LEDs will be removed.
Continue operation?</source>
        <translation>Wczytywane sceny mają mniej lamp niż bieżąca scena.
Ze wszystkich scen, chaserów i programów zostaną usunięte lampy.
Kontynuować?</translation>
    </message>
    <message>
        <source>The file could not be saved:
%1</source>
        <translation>Nie można zapisać pliku:
%1</translation>
    </message>
    <message>
        <source>Choose a file to save scene</source>
        <comment>scene save</comment>
        <translation>Wybierz plik do zapisu sceny</translation>
    </message>
    <message>
        <source>Scene (*.scn)</source>
        <comment>translate only Scene</comment>
        <translation>Scena (*.scn)</translation>
    </message>
    <message>
        <source>Chose a file to save scenes</source>
        <comment>save scenes</comment>
        <translation>Wybierz plik do zapisu scen</translation>
    </message>
    <message>
        <source>Scenes (*.scs)</source>
        <comment>translate only Scenes</comment>
        <translation>Sceny (*.scs)</translation>
    </message>
    <message>
        <source>Chose a file with scene - Lm740</source>
        <comment>open file</comment>
        <translation>Wybierz plik ze sceną - Lm740</translation>
    </message>
    <message>
        <source>File corrupted error</source>
        <comment>load scene</comment>
        <translation>Plik jest uszkodzony</translation>
    </message>
    <message>
        <source>Remove leds? -- Lm740</source>
        <comment>loading secne is smaller than actual</comment>
        <translation>Usunąć lampy? -- Lm740</translation>
    </message>
    <message>
        <source>Loading scene have got less lamps than actual scene.
From all scenes, chasers and programs LEDs will be removed.
Continue operation?</source>
        <translation>Wczytywana scena ma mniej lamp niż bieżąca scena.
Ze wszystkich scen, chaserów i programów zostaną usunięte lampy.
Kontynuować?</translation>
    </message>
    <message>
        <source>Choose a file with scenes - Lm740</source>
        <comment>scenes load</comment>
        <translation>Wybierz plik ze scenami - Lm740</translation>
    </message>
    <message>
        <source>Chose a file to save chaser</source>
        <comment>chaser save</comment>
        <translation>Wybierz plik do zapisu chasera</translation>
    </message>
    <message>
        <source>Chaser (*.chr)</source>
        <comment>chaser save</comment>
        <translation>Chaser (*.chr)</translation>
    </message>
    <message>
        <source>Chose a file to save chasers</source>
        <comment>chasers save</comment>
        <translation>Wybierz plik do zapisu chaserów</translation>
    </message>
    <message>
        <source>Chasers (*.chs)</source>
        <comment>chasers save</comment>
        <translation>Chasery (*.chs)</translation>
    </message>
    <message>
        <source>Chose a file with Chaser - Lm740</source>
        <comment>chaser load</comment>
        <translation>Wybierz plik z chaserem - Lm740</translation>
    </message>
    <message>
        <source>Chaser (*.chr)</source>
        <comment>chaser load</comment>
        <translation>Chaser (*.chr)</translation>
    </message>
    <message>
        <source>Chose a file with chaserss - Lm740</source>
        <comment>chasers load</comment>
        <translation>Wybierz plik z chaserami - Lm740</translation>
    </message>
    <message>
        <source>Chasers (*.chs)</source>
        <comment>chasers load</comment>
        <translation>Chasery (*.chs)</translation>
    </message>
    <message>
        <source>Chose a file to save program</source>
        <comment>save program</comment>
        <translation>Wybierz plik do zapisu programu</translation>
    </message>
    <message>
        <source>Program (*.pgm)</source>
        <comment>save program</comment>
        <translation>Program (*.pgm)</translation>
    </message>
    <message>
        <source>Chose a file to save programs</source>
        <comment>programs save</comment>
        <translation>Wybierz plik do zapisu programów</translation>
    </message>
    <message>
        <source>Programs (*.pgs)</source>
        <translation>Programy (*.pgs)</translation>
    </message>
    <message>
        <source>Chose a file with pogram - Lm740</source>
        <comment>program load</comment>
        <translation>Wybierz plik z programem - Lm740</translation>
    </message>
    <message>
        <source>Program (*.pgm)</source>
        <comment>program load</comment>
        <translation>Program (*.pgm)</translation>
    </message>
    <message>
        <source>Chose a file with programs - Lm740</source>
        <comment>load programs</comment>
        <translation>Wybierz plik z programami - Lm740</translation>
    </message>
    <message>
        <source>Lm740 MainLoop() Lock</source>
        <translation>Blokada MainLoop() Lm740</translation>
    </message>
    <message>
        <source>Canceled</source>
        <translation>Anulowano</translation>
    </message>
    <message>
        <source>Operation interrupted by user</source>
        <translation>Operacja przerwana przez użytkownika</translation>
    </message>
    <message>
        <source>Chose a file to save VXL - Lm740 settings</source>
        <translation>Wybierz plik do zapisu ustawień VXL - Lm740</translation>
    </message>
    <message>
        <source>Settings (*.set)</source>
        <translation>Ustawienia (*.set)</translation>
    </message>
    <message>
        <source>Read Error</source>
        <translation>Błąd odczytu</translation>
    </message>
    <message>
        <source>Please reset device
            Unplug and next plug power connector</source>
        <translation>Zresetuj urządzenie
            Odłącz i ponownie podłącz zasilanie</translation>
    </message>
    <message>
        <source>Reading error...
Only %1 bytes saved in &quot;error.set&quot; file</source>
        <translation>Błąd odczytu...
Zapisano tylko %1 bajtów w pliku &quot;error.set&quot;</translation>
    </message>
    <message>
        <source>Reading error...
The %1 bytes read could not be saved in &quot;error.set&quot; file</source>
        <translation>Błąd odczytu...
Odczytanych bajtów (%1) nie można było zapisać w pliku &quot;error.set&quot;</translation>
    </message>
    <message>
        <source>Settings could not be saved in file
%1</source>
        <translation>Nie można zapisać ustawień w pliku
%1</translation>
    </message>
    <message>
        <source>Settings succesfully saved in file
</source>
        <translation>Ustawienia zapisano w pliku
</translation>
    </message>
    <message>
        <source>Choose a file with settings - Lm740</source>
        <translation>Wybierz plik z ustawieniami - Lm740</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Ostrzeżenie</translation>
    </message>
    <message>
        <source>All data in Lm740 will be destroyed.
Do you want write settings?</source>
        <translation>Wszystkie dane w Lm740 zostaną zniszczone.
Czy zapisać ustawienia?</translation>
    </message>
    <message>
        <source>Wrong size of file
%1 Bytes</source>
        <translation>Zły rozmiar pliku
%1 bajtów</translation>
    </message>
    <message>
        <source>Cannot read file
%1</source>
        <translation>Nie można odczytać pliku
%1</translation>
    </message>
    <message>
        <source>Saved %1 bytes
Page:%2 
Offset: %3</source>
        <translation>Zapisano %1 bajtów
Strona:%2 
Przesunięcie: %3</translation>
    </message>
    <message>
        <source>Please reset device
        Unplug and next plug power connector</source>
        <translation>Zresetuj urządzenie
        Odłącz i ponownie podłącz zasilanie</translation>
    </message>
    <message>
        <source>Writing error...
Only %1 bytes transfered</source>
        <translation>Błąd zapisu...
Przesłano tylko %1 bajtów</translation>
    </message>
    <message>
        <source>Settings succesfully load
</source>
        <translation>Ustawienia zostały wczytane
</translation>
    </message>
    <message>
        <source>Lm740 not detected!
                                Check windows driver and USB cable.</source>
        <translation>Nie wykryto Lm740!
                                Sprawdź sterownik i kabel USB.</translation>
    </message>
    <message>
        <source>Connected, but can not identify VXL device.
                                           Check windows driver and USB cable.</source>
        <translation>Połączono, ale nie można rozpoznać urządzenia VXL.
                                           Sprawdź sterownik i kabel USB.</translation>
    </message>
    <message>
        <source>Connect to another Lm device.
                                            Upgrade is possible only for Lm740</source>
        <translation>Podłączono inne urządzenie Lm.
                                            Aktualizacja jest możliwa tylko dla Lm740</translation>
    </message>
    <message>
        <source>Can not get version from Lm740 device.</source>
        <translation>Nie można odczytać wersji z urządzenia Lm740.</translation>
    </message>
    <message>
        <source>Lm740 Upgrade</source>
        <translation>Aktualizacja Lm740</translation>
    </message>
    <message>
        <source>Upgrade sucessfull
Unplug and next plug USB cable to device</source>
        <translation>Aktualizacja zakończona pomyślnie
Odłącz i ponownie podłącz kabel USB do urządzenia</translation>
    </message>
    <message>
        <source>Upgrade failed</source>
        <translation>Aktualizacja nie powiodła się</translation>
    </message>
    <message>
        <source>VXL Lm740 - Upgrade process</source>
        <translation>VXL Lm740 - aktualizacja</translation>
    </message>
    <message>
        <source>Please do the following:
                                1. Unplug the USB and power cable from the Lm740.
                                2. Connect the USB cable to the Lm740 and PC.
	                                3. Press the Lm740 keyboard key - &apos;previous&apos;.
                                4. Connect the power cable to the Lm740.
                                (when the &apos;previous&apos; key is pressed)
                                5. Wait for &quot;Upgrade mode&quot; string on the Lm740 LCD.
	                                6. Click OK and choose the file to upgrade.</source>
        <translation>Wykonaj następujące czynności:
                                1. Odłącz kabel USB i zasilanie od Lm740.
                                2. Podłącz kabel USB do Lm740 i komputera.
	                                3. Naciśnij na klawiaturze Lm740 klawisz &apos;previous&apos;.
                                4. Podłącz zasilanie do Lm740.
                                (trzymając wciśnięty klawisz &apos;previous&apos;)
                                5. Poczekaj na napis &quot;Upgrade mode&quot; na wyświetlaczu Lm740.
	                                6. Kliknij OK i wybierz plik aktualizacji.</translation>
    </message>
    <message>
        <source>Chose a file to upgrade VXL - Lm740</source>
        <translation>Wybierz plik aktualizacji VXL - Lm740</translation>
    </message>
    <message>
        <source>Upgrade (*.upg)</source>
        <translation>Aktualizacja (*.upg)</translation>
    </message>
    <message>
        <source>Error in upgrade file.
                                        Please use correct file.</source>
        <translation>Błąd w pliku aktualizacji.
                                        Użyj poprawnego pliku.</translation>
    </message>
    <message>
        <source>Upgrade file is not for VXL Lm740 device.</source>
        <translation>Plik aktualizacji nie jest przeznaczony dla urządzenia VXL Lm740.</translation>
    </message>
    <message>
        <source>Wrong firmware version in file.</source>
        <translation>Zła wersja oprogramowania w pliku.</translation>
    </message>
    <message>
        <source>Version in device: %1
Upgrade version: %2
Are you sure to upgrade?</source>
        <translation>Wersja w urządzeniu: %1
Wersja aktualizacji: %2
Czy na pewno zaktualizować?</translation>
    </message>
    <message>
        <source>Please wait...
 Upgrade is running.</source>
        <translation>Proszę czekać...
 Trwa aktualizacja.</translation>
    </message>
    <message>
        <source>Verification failed</source>
        <translation>Weryfikacja nie powiodła się</translation>
    </message>
    <message>
        <source>Verify</source>
        <translation>Weryfikacja</translation>
    </message>
    <message>
        <source>What the Lm740 holds now is first saved in
%1</source>
        <translation>Obecna zawartość Lm740 zostanie najpierw zapisana w
%1</translation>
    </message>
    <message>
        <source>Nothing was written to the Lm740.</source>
        <translation>Nic nie zostało zapisane do Lm740.</translation>
    </message>
    <message>
        <source>The Lm740&apos;s memory could not be read for a backup.</source>
        <translation>Nie można odczytać pamięci Lm740 do kopii zapasowej.</translation>
    </message>
    <message>
        <source>OK, lamp count</source>
        <translation>OK, liczba lamp</translation>
    </message>
    <message>
        <source>OK, global scene time</source>
        <translation>OK, globalny czas sceny</translation>
    </message>
    <message>
        <source>Program %1, step %2</source>
        <translation>Program %1, krok %2</translation>
    </message>
    <message>
        <source>&amp;Recent Shows</source>
        <translation>&amp;Ostatnie pokazy</translation>
    </message>
    <message>
        <source>No recent shows</source>
        <translation>Brak ostatnich pokazów</translation>
    </message>
    <message>
        <source>&amp;Clear List</source>
        <translation>&amp;Wyczyść listę</translation>
    </message>
    <message>
        <source>Recent shows cleared</source>
        <translation>Wyczyszczono listę ostatnich pokazów</translation>
    </message>
    <message>
        <source>Recent Shows</source>
        <translation>Ostatnie pokazy</translation>
    </message>
    <message>
        <source>%1 is no longer there: it has been taken off the recent shows.</source>
        <translation>Pliku %1 już nie ma: usunięto go z listy ostatnich pokazów.</translation>
    </message>
    <message>
        <source>%1 is not a show file. Lm740 opens settings (.set), scene (.scn, .scs), chaser (.chr, .chs) and program (.pgm, .pgs) files.</source>
        <translation>%1 nie jest plikiem pokazu. Lm740 otwiera pliki ustawień (.set), scen (.scn, .scs), chaserów (.chr, .chs) i programów (.pgm, .pgs).</translation>
    </message>
    <message>
        <source>%1 could not be opened: there is no such file.</source>
        <translation>Nie można otworzyć %1: nie ma takiego pliku.</translation>
    </message>
    <message>
        <source>%1 loaded</source>
        <translation>Wczytano %1</translation>
    </message>
    <message>
        <source>%1 loaded; 1 value changed: %2</source>
        <translation>Wczytano %1; zmieniono 1 wartość: %2</translation>
    </message>
    <message numerus="yes">
        <source>%1 loaded; %n values changed: %2</source>
        <translation>
            <numerusform>Wczytano %1; zmieniono %n wartość: %2</numerusform>
            <numerusform>Wczytano %1; zmieniono %n wartości: %2</numerusform>
            <numerusform>Wczytano %1; zmieniono %n wartości: %2</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 saved</source>
        <translation>Zapisano %1</translation>
    </message>
    <message>
        <source>Nothing written: no Lm740 is connected</source>
        <translation>Nic nie zapisano: Lm740 nie jest podłączony</translation>
    </message>
    <message>
        <source>Nothing read: no Lm740 is connected</source>
        <translation>Nic nie odczytano: Lm740 nie jest podłączony</translation>
    </message>
    <message>
        <source>%1 written to the Lm740</source>
        <translation>%1 zapisano do Lm740</translation>
    </message>
    <message>
        <source>%1 read from the Lm740</source>
        <translation>%1 odczytano z Lm740</translation>
    </message>
    <message>
        <source>Program %1 playing on the preview strip</source>
        <translation>Program %1 odtwarzany na pasku podglądu</translation>
    </message>
    <message>
        <source>Program stopped</source>
        <translation>Program zatrzymany</translation>
    </message>
    <message>
        <source>Blackout not sent: the Lm740 did not answer</source>
        <translation>Wygaszenie nie wysłane: Lm740 nie odpowiedział</translation>
    </message>
    <message>
        <source>Blackout sent</source>
        <translation>Wygaszenie wysłane</translation>
    </message>
    <message>
        <source>Replace file? -- Lm740</source>
        <translation>Zastąpić plik? -- Lm740</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 już istnieje.
Czy chcesz go zastąpić?</translation>
    </message>
    <message>
        <source>A transfer with the Lm740 is running.

Yes: stop it and close the window.
No: close the window when it has ended.
Cancel: keep the window open.</source>
        <translation>Trwa transmisja z Lm740.

Tak: przerwij ją i zamknij okno.
Nie: zamknij okno, gdy się zakończy.
Anuluj: zostaw okno otwarte.</translation>
    </message>
    <message>
        <source>The Lm740 now holds the first %1 bytes of
%2
and what it held before after them. Write Settings of the backup
%3
puts back what it held.</source>
        <translation>Lm740 zawiera teraz pierwsze %1 bajtów pliku
%2
a za nimi swoją poprzednią zawartość. „Zapisz ustawienia” z kopii zapasowej
%3
przywraca poprzednią zawartość.</translation>
    </message>
    <message>
        <source>The backup could not be saved in
%1
%2</source>
        <translation>Nie można zapisać kopii zapasowej w
%1
%2</translation>
    </message>
</context>
<context>
    <name>ControllerChooser</name>
    <message>
        <source>Co&amp;ntroller</source>
        <translation>Sterowni&amp;k</translation>
    </message>
    <message>
        <source>%1 Lm740s connected: choose one in USB &gt; Controller</source>
        <translation>Podłączone sterowniki Lm740: %1; wybierz jeden w USB &gt; Sterownik</translation>
    </message>
    <message>
        <source>Lm740 %1 Connected</source>
        <translation>Lm740 %1 podłączony</translation>
    </message>
    <message>
        <source>Lm740 %1 is gone</source>
        <translation>Lm740 %1 odłączony</translation>
    </message>
    <message>
        <source>%1 (gone)</source>
        <translation>%1 (odłączony)</translation>
    </message>
</context>
<context>
    <name>Lamp</name>
    <message>
        <source>LampWindow</source>
        <translation>Okno lampy</translation>
    </message>
    <message>
        <source>Single LED settings</source>
        <translation>Ustawienia pojedynczej lampy</translation>
    </message>
    <message>
        <source>LED Color</source>
        <translation>Kolor lampy</translation>
    </message>
    <message>
        <source>Double Click opens ColorDialog to choose color
Drag and Drop to another to copy color</source>
        <translation>Podwójne kliknięcie otwiera okno wyboru koloru
Przeciągnij i upuść na inną lampę, aby skopiować kolor</translation>
    </message>
    <message>
        <source>Value of red color &lt;0-255&gt; </source>
        <translation>Wartość koloru czerwonego &lt;0-255&gt; </translation>
    </message>
    <message>
        <source>TAB key next green edit box, SHIFT+TAB previous blue edit box</source>
        <translation>TAB - następne pole zielone, SHIFT+TAB - poprzednie pole niebieskie</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>Value of green color &lt;0-255&gt; </source>
        <translation>Wartość koloru zielonego &lt;0-255&gt; </translation>
    </message>
    <message>
        <source>TAB key next blue edit box, SHIFT+TAB previous red edit box</source>
        <translation>TAB - następne pole niebieskie, SHIFT+TAB - poprzednie pole czerwone</translation>
    </message>
    <message>
        <source>Value of blue color &lt;0-255&gt; </source>
        <translation>Wartość koloru niebieskiego &lt;0-255&gt; </translation>
    </message>
    <message>
        <source>TAB key next red edit box, SHIFT+TAB previous green edit box</source>
        <translation>TAB - następne pole czerwone, SHIFT+TAB - poprzednie pole zielone</translation>
    </message>
    <message>
        <source>Add 1 to red</source>
        <translation>Dodaj 1 do czerwonego</translation>
    </message>
    <message>
        <source>+</source>
        <translation>+</translation>
    </message>
    <message>
        <source>Add 1 to green</source>
        <translation>Dodaj 1 do zielonego</translation>
    </message>
    <message>
        <source>Add 1 to blue</source>
        <translation>Dodaj 1 do niebieskiego</translation>
    </message>
    <message>
        <source>Red Slider
CTRL+click to select
SHIFT and move to select
SHIFT+CTRL and move to deselect
CTRL+A select all
CTRL+C copy selection
CTRL+V paste colors
CTRL+R[+G|+B] select one color</source>
        <translation>Suwak czerwony
CTRL+klik zaznacza
SHIFT i ruch myszy zaznacza
SHIFT+CTRL i ruch myszy odznacza
CTRL+A zaznacza wszystko
CTRL+C kopiuje zaznaczenie
CTRL+V wkleja kolory
CTRL+R[+G|+B] zaznacza jeden kolor</translation>
    </message>
    <message>
        <source>CTRL+CLICK select deselect slider,  to select press SHIFT and move over sliders, to deselec press SHIFT+CTRL and move over sliders</source>
        <translation>CTRL+KLIK zaznacza i odznacza suwak; aby zaznaczyć, przytrzymaj SHIFT i przesuń mysz nad suwakami; aby odznaczyć, przytrzymaj SHIFT+CTRL i przesuń mysz nad suwakami</translation>
    </message>
    <message>
        <source>Green Slider
CTRL+click to select
SHIFT and move to select
SHIFT+CTRL and move to deselect
CTRL+A select all
CTRL+C copy selection
CTRL+V paste colors
CTRL+R[+G|+B] select one color</source>
        <translation>Suwak zielony
CTRL+klik zaznacza
SHIFT i ruch myszy zaznacza
SHIFT+CTRL i ruch myszy odznacza
CTRL+A zaznacza wszystko
CTRL+C kopiuje zaznaczenie
CTRL+V wkleja kolory
CTRL+R[+G|+B] zaznacza jeden kolor</translation>
    </message>
    <message>
        <source>Blue Slider
CTRL+click to select
SHIFT and move to select
SHIFT+CTRL and move to deselect
CTRL+A select all
CTRL+C copy selection
CTRL+V paste colors
CTRL+R[+G|+B] select one color</source>
        <translation>Suwak niebieski
CTRL+klik zaznacza
SHIFT i ruch myszy zaznacza
SHIFT+CTRL i ruch myszy odznacza
CTRL+A zaznacza wszystko
CTRL+C kopiuje zaznaczenie
CTRL+V wkleja kolory
CTRL+R[+G|+B] zaznacza jeden kolor</translation>
    </message>
    <message>
        <source>Remove 1 from red</source>
        <translation>Odejmij 1 od czerwonego</translation>
    </message>
    <message>
        <source>-</source>
        <translation>-</translation>
    </message>
    <message>
        <source>Remove 1 from green</source>
        <translation>Odejmij 1 od zielonego</translation>
    </message>
    <message>
        <source>Remove 1 from blue</source>
        <translation>Odejmij 1 od niebieskiego</translation>
    </message>
    <message>
        <source>DMX addres</source>
        <translation>Adres DMX</translation>
    </message>
    <message>
        <source>L: %1</source>
        <translation>L: %1</translation>
    </message>
    <message>
        <source>Lamp %1</source>
        <translation>Lampa %1</translation>
    </message>
    <message>
        <source>%1, colour</source>
        <translation>%1, kolor</translation>
    </message>
    <message>
        <source>red</source>
        <translation>czerwony</translation>
    </message>
    <message>
        <source>green</source>
        <translation>zielony</translation>
    </message>
    <message>
        <source>blue</source>
        <translation>niebieski</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>%1, %2 value</source>
        <translation>%1, %2, wartość</translation>
    </message>
    <message>
        <source>%1, %2 up</source>
        <translation>%1, %2 w górę</translation>
    </message>
    <message>
        <source>%1, %2 down</source>
        <translation>%1, %2 w dół</translation>
    </message>
</context>
<context>
    <name>LayoutDialog</name>
    <message>
        <source>Layout - Lm740</source>
        <translation>Układ - Lm740</translation>
    </message>
    <message>
        <source>Strip (a line of lamps)</source>
        <translation>Pasek (lampy w linii)</translation>
    </message>
    <message>
        <source>Grid, rows left to right</source>
        <translation>Siatka, rzędy od lewej do prawej</translation>
    </message>
    <message>
        <source>Grid, serpentine rows</source>
        <translation>Siatka, rzędy wężykiem</translation>
    </message>
    <message>
        <source>Grid, columns top to bottom</source>
        <translation>Siatka, kolumny od góry do dołu</translation>
    </message>
    <message>
        <source>Ring</source>
        <translation>Pierścień</translation>
    </message>
    <message>
        <source>Free placement</source>
        <translation>Dowolne rozmieszczenie</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Szerokość</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Wysokość</translation>
    </message>
    <message>
        <source>Lamps on the ring</source>
        <translation>Lampy na pierścieniu</translation>
    </message>
    <message>
        <source>&amp;Kind</source>
        <translation>&amp;Rodzaj</translation>
    </message>
    <message>
        <source>%1 of the show&apos;s %2 lamps have a cell; the others keep their colours when a pattern is baked.</source>
        <translation>Pole ma %1 z %2 lamp pokazu; pozostałe zachowują swoje kolory, gdy wzór jest wpisywany.</translation>
    </message>
    <message>
        <source>All %1 lamps have a cell.</source>
        <translation>Wszystkie lampy (%1) mają pole.</translation>
    </message>
    <message>
        <source>Drag a lamp to another cell to move it; click an empty cell to place the next lamp without one; right-click a lamp to take it out.</source>
        <translation>Przeciągnij lampę na inne pole, aby ją przenieść; kliknij puste pole, aby umieścić w nim następną lampę bez pola; kliknij lampę prawym przyciskiem, aby ją usunąć.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Lm740</source>
        <translation>Lm740</translation>
    </message>
    <message>
        <source>Scenes</source>
        <translation>Sceny</translation>
    </message>
    <message>
        <source>Chasers</source>
        <translation>Chasery</translation>
    </message>
    <message>
        <source>Programs</source>
        <translation>Programy</translation>
    </message>
    <message>
        <source>LEDs Number</source>
        <translation>Liczba lamp</translation>
    </message>
    <message>
        <source>Generate_set_file</source>
        <translation>Utwórz plik ustawień</translation>
    </message>
    <message>
        <source>Polski</source>
        <translation>Polski</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Połącz</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Rozłącz</translation>
    </message>
    <message>
        <source>Get Lm ID</source>
        <translation>Odczytaj ID Lm</translation>
    </message>
    <message>
        <source>Read Settings</source>
        <translation>Odczytaj ustawienia</translation>
    </message>
    <message>
        <source>Online</source>
        <translation>Online</translation>
    </message>
    <message>
        <source>GetColorMode</source>
        <translation>Odczytaj tryb koloru</translation>
    </message>
    <message>
        <source>SetColorMode</source>
        <translation>Ustaw tryb koloru</translation>
    </message>
    <message>
        <source>GetLampsNumber</source>
        <translation>Odczytaj liczbę lamp</translation>
    </message>
    <message>
        <source>SetLampsNumber</source>
        <translation>Ustaw liczbę lamp</translation>
    </message>
    <message>
        <source>GetGlobalSceneTime</source>
        <translation>Odczytaj globalny czas sceny</translation>
    </message>
    <message>
        <source>SetGlobalSceneTime</source>
        <translation>Ustaw globalny czas sceny</translation>
    </message>
    <message>
        <source>GetNumberNow</source>
        <translation>Odczytaj bieżący numer</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Pomoc</translation>
    </message>
    <message>
        <source>LM740 ver. </source>
        <translation>LM740 wer. </translation>
    </message>
    <message>
        <source>
Control software for Lm740.
VXL S.C.
Poland
Support: through your Lm740 dealer</source>
        <translation>
Oprogramowanie sterujące dla Lm740.
VXL S.C.
Polska
Pomoc techniczna: u sprzedawcy Lm740</translation>
    </message>
    <message>
        <source>VXL S.C. Lm740 - About</source>
        <translation>VXL S.C. Lm740 - O programie</translation>
    </message>
    <message>
        <source>Globals</source>
        <translation>Ustawienia globalne</translation>
    </message>
    <message>
        <source>Offline</source>
        <translation>Tryb online wyłączony</translation>
    </message>
    <message>
        <source>Lm740 Connected</source>
        <translation>Lm740 podłączony</translation>
    </message>
    <message>
        <source>Lm740 Not connected</source>
        <translation>Lm740 niepodłączony</translation>
    </message>
    <message>
        <source>Lm740 ver. %1</source>
        <translation>Lm740 wer. %1</translation>
    </message>
    <message>
        <source>MainWindow</source>
        <translation>Okno główne</translation>
    </message>
    <message>
        <source>Actual scene, chaser or program step settings in apllication will be overwritten.
Do you want enter in online mode?</source>
        <translation>Bieżące ustawienia sceny, chasera lub kroku programu w aplikacji zostaną nadpisane.
Czy chcesz przejść w tryb online?</translation>
    </message>
    <message>
        <source>No program could show the manual.
The manual is at:
%1</source>
        <translation>Żaden program nie mógł wyświetlić instrukcji.
Instrukcja znajduje się w:
%1</translation>
    </message>
    <message>
        <source>The manual was not found at:
%1</source>
        <translation>Nie znaleziono instrukcji w:
%1</translation>
    </message>
    <message>
        <source>Scene (*.scn)</source>
        <translation>Scena (*.scn)</translation>
    </message>
    <message>
        <source>Lm740 Dataflash reading...</source>
        <translation>Lm740 - odczyt pamięci dataflash...</translation>
    </message>
    <message>
        <source>Saveing...</source>
        <translation>Zapisywanie...</translation>
    </message>
    <message>
        <source>Please wait... 
Reading dataflash...
Page: %1/512</source>
        <translation>Proszę czekać... 
Odczyt pamięci dataflash...
Strona: %1/512</translation>
    </message>
    <message>
        <source>Lm740 Dataflash writing...</source>
        <translation>Lm740 - zapis pamięci dataflash...</translation>
    </message>
    <message>
        <source>Please wait... 
                    Writing dataflash...                    
Page:%1/512</source>
        <translation>Proszę czekać... 
                    Zapis pamięci dataflash...                    
Strona:%1/512</translation>
    </message>
    <message>
        <source>Unsaved changes -- Lm740</source>
        <translation>Niezapisane zmiany -- Lm740</translation>
    </message>
    <message>
        <source>The show has changes that were neither saved to a file nor sent to the Lm740.
Save the show first?</source>
        <translation>Pokaz ma zmiany, które nie zostały zapisane do pliku ani wysłane do Lm740.
Zapisać najpierw pokaz?</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Edycja</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Cofnij</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Ponów</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;Cofnij: %1</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;Ponów: %1</translation>
    </message>
    <message>
        <source>Change lamp count to %1</source>
        <translation>Zmiana liczby lamp na %1</translation>
    </message>
    <message>
        <source>Change scene time to %1 s</source>
        <translation>Zmiana czasu sceny na %1 s</translation>
    </message>
    <message>
        <source>Mark last step</source>
        <translation>Zaznaczenie ostatniego kroku</translation>
    </message>
    <message>
        <source>Clear last step</source>
        <translation>Odznaczenie ostatniego kroku</translation>
    </message>
    <message>
        <source>Go online</source>
        <translation>Przejście w tryb online</translation>
    </message>
    <message>
        <source>Load %1</source>
        <translation>Wczytanie %1</translation>
    </message>
    <message>
        <source>Read %1 from Lm740</source>
        <translation>Odczyt: %1 z Lm740</translation>
    </message>
    <message>
        <source>Read from Lm740</source>
        <translation>Odczyt z Lm740</translation>
    </message>
    <message>
        <source>Read Program %1 from Lm740</source>
        <translation>Odczyt programu %1 z Lm740</translation>
    </message>
    <message>
        <source>Recovered show -- Lm740</source>
        <translation>Odzyskany pokaz -- Lm740</translation>
    </message>
    <message>
        <source>Lm740 ended on %1 without keeping the changes of its show.
Restore the show as it was then?</source>
        <translation>Lm740 zakończył działanie %1, nie zachowując zmian swojego pokazu.
Przywrócić pokaz w ówczesnym stanie?</translation>
    </message>
    <message>
        <source>The recovered show could not be read:
%1</source>
        <translation>Nie można odczytać odzyskanego pokazu:
%1</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Plik</translation>
    </message>
    <message>
        <source>&amp;Scenes</source>
        <translation>&amp;Sceny</translation>
    </message>
    <message>
        <source>C&amp;hasers</source>
        <translation>C&amp;hasery</translation>
    </message>
    <message>
        <source>&amp;Programs</source>
        <translation>Progra&amp;my</translation>
    </message>
    <message>
        <source>&amp;USB</source>
        <translation>&amp;USB</translation>
    </message>
    <message>
        <source>Ab&amp;out</source>
        <translation>&amp;O programie</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Zakończ</translation>
    </message>
    <message>
        <source>&amp;Load Scene...</source>
        <translation>&amp;Wczytaj scenę...</translation>
    </message>
    <message>
        <source>&amp;Save Scene...</source>
        <translation>&amp;Zapisz scenę...</translation>
    </message>
    <message>
        <source>L&amp;oad Scenes...</source>
        <translation>W&amp;czytaj sceny...</translation>
    </message>
    <message>
        <source>Sa&amp;ve Scenes...</source>
        <translation>Z&amp;apisz sceny...</translation>
    </message>
    <message>
        <source>&amp;Load Program ...</source>
        <translation>&amp;Wczytaj program ...</translation>
    </message>
    <message>
        <source>&amp;Save Program ...</source>
        <translation>&amp;Zapisz program ...</translation>
    </message>
    <message>
        <source>L&amp;oad Programs ...</source>
        <translation>W&amp;czytaj programy ...</translation>
    </message>
    <message>
        <source>Sa&amp;ve Programs ...</source>
        <translation>Z&amp;apisz programy ...</translation>
    </message>
    <message>
        <source>&amp;Load Chaser ...</source>
        <translation>&amp;Wczytaj chaser ...</translation>
    </message>
    <message>
        <source>&amp;Save Chaser ...</source>
        <translation>&amp;Zapisz chaser ...</translation>
    </message>
    <message>
        <source>L&amp;oad Chasers ...</source>
        <translation>W&amp;czytaj chasery ...</translation>
    </message>
    <message>
        <source>Sa&amp;ve Chasers ...</source>
        <translation>Z&amp;apisz chasery ...</translation>
    </message>
    <message>
        <source>&amp;Run Program</source>
        <translation>&amp;Uruchom program</translation>
    </message>
    <message>
        <source>S&amp;top Program</source>
        <translation>Za&amp;trzymaj program</translation>
    </message>
    <message>
        <source>&amp;Run Chaser</source>
        <translation>&amp;Uruchom chaser</translation>
    </message>
    <message>
        <source>S&amp;top Chaser</source>
        <translation>Za&amp;trzymaj chaser</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;O programie</translation>
    </message>
    <message>
        <source>&amp;Read Settings</source>
        <translation>&amp;Odczytaj ustawienia</translation>
    </message>
    <message>
        <source>&amp;Write Settings</source>
        <translation>&amp;Zapisz ustawienia</translation>
    </message>
    <message>
        <source>&amp;Upgrade Lm740</source>
        <translation>&amp;Aktualizuj Lm740</translation>
    </message>
    <message>
        <source>Write &amp;current Scene, Chaser or Program Settings To Lm740</source>
        <translation>Zapisz &amp;bieżącą scenę, chaser lub program do Lm740</translation>
    </message>
    <message>
        <source>Rea&amp;d current Scene, Chaser or ProgramSettings From Lm740</source>
        <translation>Odczytaj b&amp;ieżącą scenę, chaser lub program z Lm740</translation>
    </message>
    <message>
        <source>&amp;Blackout</source>
        <translation>&amp;Wygaszenie</translation>
    </message>
    <message>
        <source>&amp;Online</source>
        <translation>O&amp;nline</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Pomoc</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>Z&amp;apisz...</translation>
    </message>
    <message>
        <source>&amp;Load...</source>
        <translation>&amp;Wczytaj...</translation>
    </message>
    <message>
        <source>Write current &amp;Program to Lm740</source>
        <translation>Zapisz bieżący &amp;program do Lm740</translation>
    </message>
    <message>
        <source>Read current Pro&amp;gram from Lm740</source>
        <translation>Odczytaj bieżący pro&amp;gram z Lm740</translation>
    </message>
    <message>
        <source>Restore the recovered show</source>
        <translation>Przywrócenie odzyskanego pokazu</translation>
    </message>
    <message>
        <source>Saving a backup...</source>
        <translation>Zapisywanie kopii zapasowej...</translation>
    </message>
    <message>
        <source>&amp;Simulated Lm740</source>
        <translation>&amp;Symulowany Lm740</translation>
    </message>
    <message>
        <source>Replace the show&apos;s file? -- Lm740</source>
        <translation>Zastąpić plik pokazu? -- Lm740</translation>
    </message>
    <message>
        <source>%1 holds the open show as it was last kept.
Replaced, the show is kept nowhere but in this window until it is saved again.
Replace it?</source>
        <translation>%1 zawiera otwarty pokaz w postaci ostatnio zachowanej.
Po zastąpieniu pokaz jest zachowany tylko w tym oknie, dopóki nie zostanie ponownie zapisany.
Zastąpić go?</translation>
    </message>
    <message>
        <source>it holds the open show and was left as it was</source>
        <translation>zawiera otwarty pokaz i pozostał bez zmian</translation>
    </message>
</context>
<context>
    <name>PatternActions</name>
    <message>
        <source>&amp;Pattern...</source>
        <translation>&amp;Wzór...</translation>
    </message>
    <message>
        <source>Draws a pattern script over the lamps as they hang, into a scene, a chaser, a program or the selected lamps</source>
        <translation>Rysuje skrypt wzoru na lampach tak, jak wiszą, w scenie, chaserze, programie lub na zaznaczonych lampach</translation>
    </message>
    <message>
        <source>La&amp;yout...</source>
        <translation>&amp;Układ...</translation>
    </message>
    <message>
        <source>Where the lamps hang: a strip, a grid, a ring or cells of your own choice</source>
        <translation>Gdzie wiszą lampy: pasek, siatka, pierścień lub wybrane przez ciebie pola</translation>
    </message>
    <message>
        <source>Pattern...</source>
        <translation>Wzór...</translation>
    </message>
    <message>
        <source>Layout - Lm740</source>
        <translation>Układ - Lm740</translation>
    </message>
    <message>
        <source>The show was saved, but its layout could not be written to %1:
%2</source>
        <translation>Pokaz został zapisany, ale jego układu nie udało się zapisać do %1:
%2</translation>
    </message>
    <message>
        <source>The show was loaded, but its layout could not be read, so the lamps are shown in a strip:
%1</source>
        <translation>Pokaz został wczytany, ale jego układu nie udało się odczytać, więc lampy są pokazane w pasku:
%1</translation>
    </message>
</context>
<context>
    <name>PatternDialog</name>
    <message>
        <source>Pattern - Lm740</source>
        <translation>Wzór - Lm740</translation>
    </message>
    <message>
        <source>Script</source>
        <translation>Skrypt</translation>
    </message>
    <message>
        <source>Author</source>
        <translation>Autor</translation>
    </message>
    <message>
        <source>Built in</source>
        <translation>Wbudowany</translation>
    </message>
    <message>
        <source>Not loaded:
%1</source>
        <translation>Nie wczytano:
%1</translation>
    </message>
    <message>
        <source>&amp;Scripts</source>
        <translation>&amp;Skrypty</translation>
    </message>
    <message>
        <source>Your own scripts go into %1.</source>
        <translation>Własne skrypty umieść w %1.</translation>
    </message>
    <message>
        <source>Properties</source>
        <translation>Właściwości</translation>
    </message>
    <message>
        <source>Colours</source>
        <translation>Kolory</translation>
    </message>
    <message>
        <source>How many colours the pattern takes</source>
        <translation>Ile kolorów przyjmuje wzór</translation>
    </message>
    <message>
        <source>Pattern colour</source>
        <translation>Kolor wzoru</translation>
    </message>
    <message>
        <source>Into</source>
        <translation>Dokąd</translation>
    </message>
    <message>
        <source>Scene</source>
        <translation>Scena</translation>
    </message>
    <message>
        <source>Chaser</source>
        <translation>Chaser</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Program</translation>
    </message>
    <message>
        <source>Selected lamps</source>
        <translation>Zaznaczone lampy</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Cel</translation>
    </message>
    <message>
        <source>Step of the &amp;pattern</source>
        <translation>Krok &amp;wzoru</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source> %</source>
        <translation> %</translation>
    </message>
    <message>
        <source>Sample evenly</source>
        <translation>Wybierz równomiernie</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Obetnij</translation>
    </message>
    <message>
        <source>&amp;First step</source>
        <translation>&amp;Pierwszy krok</translation>
    </message>
    <message>
        <source>Step t&amp;ime</source>
        <translation>&amp;Czas kroku</translation>
    </message>
    <message>
        <source>Cross-&amp;fade</source>
        <translation>P&amp;łynność</translation>
    </message>
    <message>
        <source>More steps than fit</source>
        <translation>Więcej kroków niż miejsca</translation>
    </message>
    <message>
        <source>Preview on the layout</source>
        <translation>Podgląd na układzie</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>&amp;Zastosuj</translation>
    </message>
    <message>
        <source>Colours (start and end)</source>
        <translation>Kolory (początkowy i końcowy)</translation>
    </message>
    <message>
        <source>scene %1</source>
        <translation>scena %1</translation>
    </message>
    <message>
        <source>chaser %1</source>
        <translation>chaser %1</translation>
    </message>
    <message>
        <source>program %1</source>
        <translation>program %1</translation>
    </message>
    <message>
        <source>1 lamp of %1</source>
        <translation>1 lampa: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n lamps of %1</source>
        <translation>
            <numerusform>%n lampa: %1</numerusform>
            <numerusform>%n lampy: %1</numerusform>
            <numerusform>%n lamp: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>No pattern script could be loaded.</source>
        <translation>Nie udało się wczytać żadnego skryptu wzoru.</translation>
    </message>
    <message>
        <source>No lamps are selected in the panel: select the lamps the pattern goes on first.</source>
        <translation>W panelu nie zaznaczono lamp: najpierw zaznacz lampy, na które ma trafić wzór.</translation>
    </message>
    <message>
        <source>%1 has 1 step.</source>
        <translation>%1 ma 1 krok.</translation>
    </message>
    <message numerus="yes">
        <source>%1 has %n steps.</source>
        <translation>
            <numerusform>%1 ma %n krok.</numerusform>
            <numerusform>%1 ma %n kroki.</numerusform>
            <numerusform>%1 ma %n kroków.</numerusform>
        </translation>
    </message>
    <message>
        <source>Step %1 of the pattern&apos;s %2 goes in.</source>
        <translation>Wpisany zostanie krok %1 z %2 kroków wzoru.</translation>
    </message>
    <message>
        <source>Step %1 of the pattern&apos;s %2 goes on the selected lamps.</source>
        <translation>Krok %1 z %2 kroków wzoru trafi na zaznaczone lampy.</translation>
    </message>
    <message>
        <source>Program steps %1 to %2; step %2 is marked as the last.</source>
        <translation>Kroki programu od %1 do %2; krok %2 zostanie oznaczony jako ostatni.</translation>
    </message>
    <message>
        <source>Program step %1, marked as the last.</source>
        <translation>Krok programu %1, oznaczony jako ostatni.</translation>
    </message>
    <message>
        <source>The pattern&apos;s one step fits.</source>
        <translation>Jedyny krok wzoru się mieści.</translation>
    </message>
    <message numerus="yes">
        <source>All %n steps of the pattern fit.</source>
        <translation>
            <numerusform>Mieści się %n krok wzoru.</numerusform>
            <numerusform>Mieszczą się wszystkie %n kroki wzoru.</numerusform>
            <numerusform>Mieści się wszystkich %n kroków wzoru.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The pattern has %n steps and %1 fit: they are sampled evenly.</source>
        <translation>
            <numerusform>Wzór ma %n krok, a mieści się %1: zostaną wybrane równomiernie.</numerusform>
            <numerusform>Wzór ma %n kroki, a mieści się %1: zostaną wybrane równomiernie.</numerusform>
            <numerusform>Wzór ma %n kroków, a mieści się %1: zostaną wybrane równomiernie.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The pattern has %n steps and %1 fit: it is cut after step %1.</source>
        <translation>
            <numerusform>Wzór ma %n krok, a mieści się %1: zostanie obcięty po kroku %1.</numerusform>
            <numerusform>Wzór ma %n kroki, a mieści się %1: zostanie obcięty po kroku %1.</numerusform>
            <numerusform>Wzór ma %n kroków, a mieści się %1: zostanie obcięty po kroku %1.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Scene</name>
    <message>
        <source>Move mouse to Scroll LEDs</source>
        <comment>frame left</comment>
        <translation>Przesuń mysz, aby przewinąć lampy</translation>
    </message>
    <message>
        <source>Move mouse to Scroll LEDs</source>
        <translation>Przesuń mysz, aby przewinąć lampy</translation>
    </message>
    <message>
        <source>Repeat Number</source>
        <comment>repeat number for chaser label</comment>
        <translation>Powtórzenia</translation>
    </message>
    <message>
        <source>Numbers of repeating chaser pattern</source>
        <comment>liczba powtorzen wzorca ktorego dlugos okresla spinbox pattern length</comment>
        <translation>Liczba powtórzeń wzorca chasera</translation>
    </message>
    <message>
        <source>OK</source>
        <comment>repeat OK button</comment>
        <translation>OK</translation>
    </message>
    <message>
        <source>Scene Xfade</source>
        <comment>label xfade scena:</comment>
        <translation>Przenikanie sceny</translation>
    </message>
    <message>
        <source>Scene Xfade</source>
        <comment>tooltip label xfade scena:</comment>
        <translation>Przenikanie sceny</translation>
    </message>
    <message>
        <source>XFade</source>
        <comment>plynnosc</comment>
        <translation>Przenikanie</translation>
    </message>
    <message>
        <source>Time in percent of scene time to smoothly set new color</source>
        <comment>plynnosc</comment>
        <translation>Czas płynnego przejścia do nowego koloru w procentach czasu sceny</translation>
    </message>
    <message>
        <source>OK</source>
        <comment>afade ok button</comment>
        <translation>OK</translation>
    </message>
    <message>
        <source>Speed</source>
        <comment>label scene time</comment>
        <translation>Szybkość</translation>
    </message>
    <message>
        <source>Speed</source>
        <comment>tooltip label scene time</comment>
        <translation>Szybkość</translation>
    </message>
    <message>
        <source>Scene Time</source>
        <comment>scene: scene time</comment>
        <translation>Czas sceny</translation>
    </message>
    <message>
        <source>OK</source>
        <comment>ok button scene time</comment>
        <translation>OK</translation>
    </message>
    <message>
        <source>Pattern Length</source>
        <comment>label pattern len</comment>
        <translation>Długość wzorca</translation>
    </message>
    <message>
        <source>Pattern Length</source>
        <comment>tooltip label pattern len</comment>
        <translation>Długość wzorca</translation>
    </message>
    <message>
        <source>Pattern Length</source>
        <comment>spinbox: no comment</comment>
        <translation>Długość wzorca</translation>
    </message>
    <message>
        <source>OK</source>
        <comment>patter len Ok button</comment>
        <translation>OK</translation>
    </message>
    <message>
        <source>Direction</source>
        <comment>chaser label direction</comment>
        <translation>Kierunek</translation>
    </message>
    <message>
        <source>Chaser Direction</source>
        <comment>tooltip: chaser direction</comment>
        <translation>Kierunek chasera</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>W lewo</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>W prawo</translation>
    </message>
    <message>
        <source>Last Step</source>
        <comment>checkbox last step</comment>
        <translation>Ostatni krok</translation>
    </message>
    <message>
        <source>If chceked program return to first scene</source>
        <comment>tooltip: direction chceckbox</comment>
        <translation>Gdy zaznaczone, program wraca do pierwszej sceny</translation>
    </message>
    <message>
        <source>Move to LED number %1</source>
        <comment>chaser: napis z formatowaniem pod %1 bedzie podstawiona liczba</comment>
        <translation>Przejdź do lampy numer %1</translation>
    </message>
    <message>
        <source>Move to LED number %1</source>
        <comment>napis z formatowaniem pod %1 bedzie podstawiona liczba</comment>
        <translation>Przejdź do lampy numer %1</translation>
    </message>
    <message>
        <source>Scene time</source>
        <comment>set scene mode</comment>
        <translation>Czas sceny</translation>
    </message>
    <message>
        <source>Scene time</source>
        <comment>tooltip set scene mode</comment>
        <translation>Czas sceny</translation>
    </message>
    <message>
        <source>Chaser Xfade</source>
        <comment>set chaser mode</comment>
        <translation>Przenikanie</translation>
    </message>
    <message>
        <source>Chaser Xfade</source>
        <comment>tooltip set chaser mode</comment>
        <translation>Przenikanie chasera</translation>
    </message>
    <message>
        <source>Chaser time</source>
        <comment>set chaser mode</comment>
        <translation>Czas chasera</translation>
    </message>
    <message>
        <source>Chaser time</source>
        <comment>tooltip set chaser mode</comment>
        <translation>Czas chasera</translation>
    </message>
    <message>
        <source>Step Xfade</source>
        <comment>set programs mode</comment>
        <translation>Przenikanie kroku</translation>
    </message>
    <message>
        <source>Step Xfade</source>
        <comment>tooltip set programs mode</comment>
        <translation>Przenikanie kroku</translation>
    </message>
    <message>
        <source>Step time</source>
        <comment>set programs mode</comment>
        <translation>Czas kroku</translation>
    </message>
    <message>
        <source>Step time</source>
        <comment>tooltip set programs mode</comment>
        <translation>Czas kroku</translation>
    </message>
    <message>
        <source>Lamp %1, chaser start</source>
        <comment>accessible name of a chaser overview cell</comment>
        <translation>Lampa %1, start chasera</translation>
    </message>
    <message>
        <source>Lamp %1, overview</source>
        <comment>accessible name of a colour overview cell</comment>
        <translation>Lampa %1, podgląd</translation>
    </message>
    <message>
        <source>OK, repeat number</source>
        <comment>accessible name of the repeat OK button</comment>
        <translation>OK, liczba powtórzeń</translation>
    </message>
    <message>
        <source>OK, cross-fade</source>
        <comment>accessible name of the xfade OK button</comment>
        <translation>OK, przenikanie</translation>
    </message>
    <message>
        <source>OK, time</source>
        <comment>accessible name of the time OK button</comment>
        <translation>OK, czas</translation>
    </message>
    <message>
        <source>OK, pattern length</source>
        <comment>accessible name of the pattern OK button</comment>
        <translation>OK, długość wzoru</translation>
    </message>
    <message>
        <source>Lamps</source>
        <comment>accessible name of the lamp strip&apos;s scroll bar</comment>
        <translation>Lampy</translation>
    </message>
</context>
<context>
    <name>SimulatedLm740View</name>
    <message>
        <source>Identify</source>
        <translation>Identyfikacja</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Wersja</translation>
    </message>
    <message>
        <source>Read memory</source>
        <translation>Odczyt pamięci</translation>
    </message>
    <message>
        <source>Write byte</source>
        <translation>Zapis bajtu</translation>
    </message>
    <message>
        <source>Write block</source>
        <translation>Zapis bloku</translation>
    </message>
    <message>
        <source>End of pass</source>
        <translation>Koniec przebiegu</translation>
    </message>
    <message>
        <source>Run scene</source>
        <translation>Uruchom scenę</translation>
    </message>
    <message>
        <source>Run chaser</source>
        <translation>Uruchom chaser</translation>
    </message>
    <message>
        <source>Run program</source>
        <translation>Uruchom program</translation>
    </message>
    <message>
        <source>Blackout</source>
        <translation>Wygaszenie</translation>
    </message>
    <message>
        <source>Upgrade data</source>
        <translation>Dane aktualizacji</translation>
    </message>
    <message>
        <source>Upgrade write</source>
        <translation>Zapis aktualizacji</translation>
    </message>
    <message>
        <source>Upgrade read</source>
        <translation>Odczyt aktualizacji</translation>
    </message>
    <message>
        <source>Request %1</source>
        <translation>Żądanie %1</translation>
    </message>
    <message>
        <source>not on the bus at all</source>
        <translation>w ogóle nie ma go na magistrali</translation>
    </message>
    <message>
        <source>this user may not open it</source>
        <translation>ten użytkownik nie może go otworzyć</translation>
    </message>
    <message>
        <source>identifies itself as another device</source>
        <translation>przedstawia się jako inne urządzenie</translation>
    </message>
    <message>
        <source>waits in its upgrade mode</source>
        <translation>czeka w trybie aktualizacji</translation>
    </message>
    <message>
        <source>%1 % of the requests fail (seed %2)</source>
        <translation>%1 % żądań kończy się błędem (ziarno %2)</translation>
    </message>
    <message>
        <source>%1 % of the answers come one byte short</source>
        <translation>%1 % odpowiedzi jest o bajt za krótkich</translation>
    </message>
    <message>
        <source>%1 ms per request</source>
        <translation>%1 ms na żądanie</translation>
    </message>
    <message>
        <source>leaves the bus after %1 requests, back after %2 searches</source>
        <translation>znika z magistrali po %1 żądaniach, wraca po %2 wyszukiwaniach</translation>
    </message>
    <message>
        <source>ignores %1 polls after programming a block</source>
        <translation>po zaprogramowaniu bloku pomija %1 zapytań</translation>
    </message>
    <message>
        <source>%1: %2 fail after %3 went through</source>
        <translation>%1: %2 błędów po %3 udanych</translation>
    </message>
    <message>
        <source>reports release %1</source>
        <translation>podaje wersję %1</translation>
    </message>
    <message>
        <source>none</source>
        <translation>brak</translation>
    </message>
    <message>
        <source>Request</source>
        <translation>Żądanie</translation>
    </message>
    <message>
        <source>Page:offset</source>
        <translation>Strona:przesunięcie</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Długość</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Wynik</translation>
    </message>
    <message numerus="yes">
        <source>%n times in a row</source>
        <translation>
            <numerusform>%n raz z rzędu</numerusform>
            <numerusform>%n razy z rzędu</numerusform>
            <numerusform>%n razy z rzędu</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (repeated)</source>
        <translation>%1 (powtórzone)</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>błąd</translation>
    </message>
    <message>
        <source>short: %1</source>
        <translation>za krótko: %1</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>ok</translation>
    </message>
    <message>
        <source>Simulated Lm740</source>
        <translation>Symulowany Lm740</translation>
    </message>
    <message>
        <source>Faults:</source>
        <translation>Usterki:</translation>
    </message>
    <message>
        <source>Read memory (repeated)</source>
        <translation>Odczyt pamięci (powtórzone)</translation>
    </message>
    <message>
        <source>Requests received, newest first</source>
        <translation>Odebrane żądania, najnowsze pierwsze</translation>
    </message>
    <message>
        <source>Upgrade mode</source>
        <translation>Aktualizacja</translation>
    </message>
    <message>
        <source>Block %1</source>
        <translation>Blok %1</translation>
    </message>
    <message>
        <source>USB transfer</source>
        <translation>Transmisja USB</translation>
    </message>
    <message>
        <source>Scene %1</source>
        <translation>Scena %1</translation>
    </message>
    <message>
        <source>Chaser %1</source>
        <translation>Chaser %1</translation>
    </message>
    <message>
        <source>Program %1 step %2</source>
        <translation>Program %1 krok %2</translation>
    </message>
    <message>
        <source>Not on the bus</source>
        <translation>Brak na magistrali</translation>
    </message>
    <message>
        <source>Off the bus: unplugged</source>
        <translation>Poza magistralą: odłączony</translation>
    </message>
    <message>
        <source>On the bus</source>
        <translation>Na magistrali</translation>
    </message>
    <message>
        <source>Simulated Lm740 %1</source>
        <translation>Symulowany Lm740 %1</translation>
    </message>
    <message>
        <source>serial number %1</source>
        <translation>numer seryjny %1</translation>
    </message>
</context>
<context>
    <name>lm740::ShowDocument</name>
    <message>
        <source>Change time</source>
        <translation>Zmiana czasu</translation>
    </message>
    <message>
        <source>Change cross-fade</source>
        <translation>Zmiana płynności</translation>
    </message>
    <message>
        <source>Change direction</source>
        <translation>Zmiana kierunku</translation>
    </message>
    <message>
        <source>Change pattern length</source>
        <translation>Zmiana długości wzorca</translation>
    </message>
    <message>
        <source>Change repeat number</source>
        <translation>Zmiana liczby powtórzeń</translation>
    </message>
    <message>
        <source>Change last step</source>
        <translation>Zmiana ostatniego kroku</translation>
    </message>
    <message>
        <source>Paste lamp %1</source>
        <translation>Wklejenie lampy %1</translation>
    </message>
    <message numerus="yes">
        <source>Paste %n lamps</source>
        <translation>
            <numerusform>Wklejenie %n lampy</numerusform>
            <numerusform>Wklejenie %n lamp</numerusform>
            <numerusform>Wklejenie %n lamp</numerusform>
        </translation>
    </message>
    <message>
        <source>Drop on lamp %1</source>
        <translation>Upuszczenie na lampę %1</translation>
    </message>
    <message>
        <source>Change lamp %1</source>
        <translation>Zmiana lampy %1</translation>
    </message>
    <message numerus="yes">
        <source>Change %n lamps</source>
        <translation>
            <numerusform>Zmiana %n lampy</numerusform>
            <numerusform>Zmiana %n lamp</numerusform>
            <numerusform>Zmiana %n lamp</numerusform>
        </translation>
    </message>
    <message>
        <source>Apply pattern %1</source>
        <translation>Zastosowanie wzoru %1</translation>
    </message>
</context>
</TS>
