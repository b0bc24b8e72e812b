<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CommandLine</name>
    <message>
        <source>Lumirune II turns a picture into a web page drawn in coloured text.</source>
        <translation>Lumirune II macht aus einem Bild eine Webseite aus farbigem Text.</translation>
    </message>
    <message>
        <source>Show this help and exit.</source>
        <translation>Diese Hilfe zeigen und beenden.</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>Die Version zeigen und beenden.</translation>
    </message>
    <message>
        <source>PICTURE</source>
        <translation>BILD</translation>
    </message>
    <message>
        <source>Picture to load at start, as if chosen with &quot;Load picture&quot;.</source>
        <translation>Bild, das beim Start geladen wird, als wäre es mit „Bild laden“ gewählt.</translation>
    </message>
    <message>
        <source>[PICTURE]</source>
        <translation>[BILD]</translation>
    </message>
    <message>
        <source>one picture at most</source>
        <translation>höchstens ein Bild</translation>
    </message>
    <message>
        <source>Try &apos;lumirune --help&apos;.</source>
        <translation>Mehr mit &apos;lumirune --help&apos;.</translation>
    </message>
</context>
<context>
    <name>FailureGuard</name>
    <message>
        <source>Error: Send file errormsg.txt to Corvalis...</source>
        <translation>Fehler: Senden Sie die Datei errormsg.txt an Corvalis...</translation>
    </message>
</context>
<context>
    <name>ui::ColorFrame</name>
    <message>
        <source>Color</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Black background color</source>
        <translation>Schwarzer Hintergrund</translation>
    </message>
    <message>
        <source>White background color</source>
        <translation>Weißer Hintergrund</translation>
    </message>
    <message>
        <source>Ignore color:</source>
        <translation>Farben ersetzen:</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Rem</source>
        <translation>Weg</translation>
    </message>
    <message>
        <source>That color you have choose is already added!</source>
        <translation>Diese Farbe ist schon in der Liste!</translation>
    </message>
    <message>
        <source>Select item from ignore list!</source>
        <translation>Wählen Sie einen Eintrag der Liste!</translation>
    </message>
    <message>
        <source>Color quality:                %</source>
        <extracomment>The blanks leave room for the quality box, which lies over them, before the &quot;%&quot;.</extracomment>
        <translation>Qualität:                  %</translation>
    </message>
</context>
<context>
    <name>ui::ConvertFrame</name>
    <message>
        <source>STOP</source>
        <translation>STOPP</translation>
    </message>
    <message>
        <source>Error: Cant find a plase to save file.</source>
        <translation>Fehler: Kein Name zum Speichern der Datei frei.</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>Sind Sie sicher?</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>Umwandeln</translation>
    </message>
    <message>
        <source>Allowed char in text box: </source>
        <translation>Erlaubte Zeichen im Textfeld: </translation>
    </message>
    <message>
        <source>You have to choose a message text!</source>
        <translation>Sie müssen einen Nachrichtentext wählen!</translation>
    </message>
    <message>
        <source>You have to load a picture!</source>
        <translation>Sie müssen ein Bild laden!</translation>
    </message>
    <message>
        <source>Convert Complete</source>
        <translation>Umwandlung fertig</translation>
    </message>
    <message>
        <source>Convert aborted.</source>
        <translation>Umwandlung abgebrochen.</translation>
    </message>
    <message>
        <source>Open page</source>
        <translation>Seite öffnen</translation>
    </message>
    <message>
        <source>Status:</source>
        <translation>Status:</translation>
    </message>
    <message>
        <source>%1 sec elasped, %2 sec left.</source>
        <translation>%1 s vergangen, %2 s übrig.</translation>
    </message>
    <message>
        <source>Working on:</source>
        <translation>Arbeite an:</translation>
    </message>
    <message>
        <source>Save in file:</source>
        <translation>Speichern in:</translation>
    </message>
    <message>
        <source>Pixel number:</source>
        <translation>Pixel Nr.:</translation>
    </message>
    <message>
        <source>Line number:</source>
        <translation>Zeile Nr.:</translation>
    </message>
    <message>
        <source>The page %1 is gone.</source>
        <translation>Die Seite %1 ist nicht mehr da.</translation>
    </message>
    <message>
        <source>No program was found to show the page %1.</source>
        <translation>Es wurde kein Programm gefunden, das die Seite %1 zeigt.</translation>
    </message>
</context>
<context>
    <name>ui::PictureFrame</name>
    <message>
        <source>Load picture</source>
        <translation>Bild laden</translation>
    </message>
    <message>
        <source>Set render area</source>
        <translation>Bereich wählen</translation>
    </message>
    <message>
        <source>Fit picture to box</source>
        <translation>Bild einpassen</translation>
    </message>
    <message>
        <source>Total pixels in render area:</source>
        <translation>Pixel im Bereich:</translation>
    </message>
    <message>
        <source>Render area  (x1 y1 x2 y2):</source>
        <translation>Bereich  (x1 y1 x2 y2):</translation>
    </message>
    <message>
        <source>Load the picture you want to convert and then setup your options.</source>
        <translation>Laden Sie das Bild und wählen Sie dann die Optionen.</translation>
    </message>
    <message>
        <source>All pictures (%1)</source>
        <translation>Alle Bilder (%1)</translation>
    </message>
    <message>
        <source>Error: The picture file you selected maybe damaged.</source>
        <translation>Fehler: Die gewählte Bilddatei ist vielleicht beschädigt.</translation>
    </message>
</context>
<context>
    <name>ui::TextFrame</name>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Double chr per pix (bigger file size)</source>
        <translation>Zwei Zeichen je Pixel (größere Datei)</translation>
    </message>
    <message>
        <source>Insert Pre</source>
        <translation>Pre einfügen</translation>
    </message>
    <message>
        <source>Font size:</source>
        <translation>Schrift:</translation>
    </message>
    <message>
        <source>Message:</source>
        <translation>Nachricht:</translation>
    </message>
    <message>
        <source>Random</source>
        <translation>Zufällig</translation>
    </message>
    <message>
        <source>Fill cells</source>
        <translation>Zellen füllen</translation>
    </message>
    <message>
        <source>Square pixels</source>
        <translation>Quadratische Pixel</translation>
    </message>
</context>
<context>
    <name>ui::choosecolor</name>
    <message>
        <source>Choose Color</source>
        <translation>Farbe wählen</translation>
    </message>
    <message>
        <source>Use</source>
        <translation>Nutzen</translation>
    </message>
    <message>
        <source>The color code is invalid, please use a new color.</source>
        <translation>Der Farbcode ist ungültig, bitte wählen Sie eine andere Farbe.</translation>
    </message>
</context>
<context>
    <name>ui::setrenderareaform</name>
    <message>
        <source>Set Render Area</source>
        <translation>Bereich festlegen</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>Setzen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbruch</translation>
    </message>
    <message>
        <source>Cant set render area...</source>
        <translation>Der Bereich kann jetzt nicht gesetzt werden...</translation>
    </message>
    <message>
        <source>%1 value have to be numeric.</source>
        <translation>Der Wert %1 muss eine Zahl sein.</translation>
    </message>
    <message>
        <source>%1 value have to be between %2 and 300</source>
        <translation>Der Wert %1 muss zwischen %2 und 300 liegen</translation>
    </message>
</context>
</TS>
