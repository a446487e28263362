<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl_PL">
<context>
    <name>App</name>
    <message>
        <location filename="../app/main_window.cpp" line="+86"/>
        <source>RGB Lamps Number</source>
        <translation>Liczba lamp RGB</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Number of RGB lamps</source>
        <translation>Liczba lamp RGB</translation>
    </message>
    <message>
        <location line="+1"/>
        <location line="+12"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="-8"/>
        <source>Scenes Time</source>
        <translation>Czas scen</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>s</source>
        <translation>s</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Global Scene Time</source>
        <translation>Globalny czas sceny</translation>
    </message>
    <message>
        <location line="+78"/>
        <source>Scene %1</source>
        <translation>Scena %1</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Chaser %1</source>
        <translation>Chaser %1</translation>
    </message>
    <message>
        <location line="+23"/>
        <source>Program %1</source>
        <translation>Program %1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>%1</source>
        <translation>%1</translation>
    </message>
    <message>
        <location filename="../app/main_window_device.cpp" line="+21"/>
        <source>Error</source>
        <translation>Błąd</translation>
    </message>
    <message>
        <location line="+93"/>
        <location line="+16"/>
        <location line="+4"/>
        <location line="+6"/>
        <source>VXL Lm740</source>
        <translation>VXL Lm740</translation>
    </message>
    <message>
        <location line="-25"/>
        <source>The Lm740 is connected, but this user may not use it.
Install the udev rule 70-lm740.rules (cmake --install), then run
sudo udevadm control --reload-rules
and plug the Lm740 in again.</source>
        <translation>Lm740 jest podłączony, ale ten użytkownik nie ma do niego dostępu.
Zainstaluj regułę udev 70-lm740.rules (cmake --install), a następnie uruchom
sudo udevadm control --reload-rules
i podłącz Lm740 ponownie.</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Unknown firmware version in Lm740 device.</source>
        <translation>Nieznana wersja oprogramowania w urządzeniu Lm740.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Plase upgrade device to version %1</source>
        <translation>Zaktualizuj urządzenie do wersji %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>Can not get version from Lm740 device.
Upgrade Lm740 to version 13</source>
        <comment>first checkstatus</comment>
        <translation>Nie można odczytać wersji z urządzenia Lm740.
Zaktualizuj Lm740 do wersji 13</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>Get Color  Mode</source>
        <translation>Odczyt trybu koloru</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Set Color Mode</source>
        <translation>Zapis trybu koloru</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Get GlobalSceneTime</source>
        <translation>Odczyt globalnego czasu sceny</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Set GlobalSceneTime</source>
        <translation>Zapis globalnego czasu sceny</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>Get LampsNumber</source>
        <translation>Odczyt liczby lamp</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>Set LampsNumber</source>
        <translation>Zapis liczby lamp</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../app/main_window.ui" line="+26"/>
        <source>Lm740</source>
        <translation>Lm740</translation>
    </message>
    <message>
        <location line="+43"/>
        <location line="+46"/>
        <source>Scenes</source>
        <translation>Sceny</translation>
    </message>
    <message>
        <location line="-35"/>
        <location line="+45"/>
        <source>Chasers</source>
        <translation>Chasery</translation>
    </message>
    <message>
        <location line="-34"/>
        <location line="+47"/>
        <source>Programs</source>
        <translation>Programy</translation>
    </message>
    <message>
        <location line="-31"/>
        <source>File</source>
        <translation>Plik</translation>
    </message>
    <message>
        <location line="+44"/>
        <source>USB</source>
        <translation>USB</translation>
    </message>
    <message>
        <location line="+14"/>
        <location line="+208"/>
        <source>About</source>
        <translation>O programie</translation>
    </message>
    <message>
        <location line="-193"/>
        <source>Exit</source>
        <translation>Zakończ</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Load Scene...</source>
        <translation>Wczytaj scenę...</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Save Scene...</source>
        <translation>Zapisz scenę...</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Load Scenes...</source>
        <translation>Wczytaj sceny...</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Save Scenes...</source>
        <translation>Zapisz sceny...</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>LEDs Number</source>
        <translation>Liczba lamp</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Load Program ...</source>
        <translation>Wczytaj program ...</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Save Program ...</source>
        <translation>Zapisz program ...</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Load Programs ...</source>
        <translation>Wczytaj programy ...</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Save Programs ...</source>
        <translation>Zapisz programy ...</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Load Chaser ...</source>
        <translation>Wczytaj chaser ...</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Save Chaser ...</source>
        <translation>Zapisz chaser ...</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Load Chasers ...</source>
        <translation>Wczytaj chasery ...</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Save Chasers ...</source>
        <translation>Zapisz chasery ...</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Run Program</source>
        <translation>Uruchom program</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Stop Program</source>
        <translation>Zatrzymaj program</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Run Chaser</source>
        <translation>Uruchom chaser</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Stop Chaser</source>
        <translation>Zatrzymaj chaser</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Generate_set_file</source>
        <translation>Utwórz plik ustawień</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Polski</source>
        <translation>Polski</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>Connect</source>
        <translation>Połącz</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Disconnect</source>
        <translation>Rozłącz</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Get Lm ID</source>
        <translation>Odczytaj ID Lm</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+23"/>
        <source>Read Settings</source>
        <translation>Odczytaj ustawienia</translation>
    </message>
    <message>
        <location line="-14"/>
        <source>Write Settings</source>
        <translation>Zapisz ustawienia</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Upgrade Lm740</source>
        <translation>Aktualizuj Lm740</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>Write current Scene, Chaser or Program Settings To Lm740</source>
        <translation>Zapisz bieżącą scenę, chaser lub program do Lm740</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Read current Scene, Chaser or ProgramSettings From Lm740</source>
        <translation>Odczytaj bieżącą scenę, chaser lub program z Lm740</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Blackout</source>
        <translation>Wygaszenie</translation>
    </message>
    <message>
        <location line="+18"/>
        <source>Online</source>
        <translation>Online</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>GetColorMode</source>
        <translation>Odczytaj tryb koloru</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>SetColorMode</source>
        <translation>Ustaw tryb koloru</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>GetLampsNumber</source>
        <translation>Odczytaj liczbę lamp</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>SetLampsNumber</source>
        <translation>Ustaw liczbę lamp</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>GetGlobalSceneTime</source>
        <translation>Odczytaj globalny czas sceny</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>SetGlobalSceneTime</source>
        <translation>Ustaw globalny czas sceny</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>GetNumberNow</source>
        <translation>Odczytaj bieżący numer</translation>
    </message>
    <message>
        <location line="+9"/>
        <location filename="../app/main_window.cpp" line="-76"/>
        <source>Help</source>
        <translation>Pomoc</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Save...</source>
        <translation>Zapisz...</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Load...</source>
        <translation>Wczytaj...</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Write current Program to Lm740</source>
        <translation>Zapisz bieżący program do Lm740</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Read current Program from Lm740</source>
        <translation>Odczytaj bieżący program z Lm740</translation>
    </message>
    <message>
        <location filename="../app/help.cpp" line="+52"/>
        <source>LM740 ver. </source>
        <translation>LM740 wer. </translation>
    </message>
    <message>
        <location line="+0"/>
        <source>1.07</source>
        <translation>1.07</translation>
    </message>
    <message>
        <location line="+1"/>
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
        <location line="+4"/>
        <source>VXL S.C. Lm740 - About</source>
        <translation>VXL S.C. Lm740 - O programie</translation>
    </message>
    <message>
        <location filename="../app/main_window.cpp" line="-119"/>
        <source>Lm740 ver. 1.07</source>
        <translation>Lm740 wer. 1.07</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>Globals</source>
        <translation>Ustawienia globalne</translation>
    </message>
    <message>
        <location line="+57"/>
        <source>Offline</source>
        <translation>Offline</translation>
    </message>
    <message>
        <location filename="../app/main_window_device.cpp" line="-144"/>
        <location line="+32"/>
        <source>Lm740 Connected</source>
        <translation>Lm740 podłączony</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>Lm740 Not connected</source>
        <translation>Lm740 niepodłączony</translation>
    </message>
</context>
</TS>
