#include "zonesend/Strings.h"

#include <array>

namespace zonesend {

namespace {

// The English texts keep their historic spellings ("responce", "succeded", "was found"): pilots
// and support documents quote them as they appear on screen.
constexpr std::array<seriallink::StringEntry, 100> kEntries = {{
    {101, "Inf&o about Airspace...", "Inf&o über Airspace..."},
    {102, "Select Airspace file", "Wähle Luftraum Datei"},
    {103, "No file selected", "Keine Datei gewählt"},
    {104, "An error has occured while opening file", "Beim öffnen der Datei trat ein Fehler auf."},
    {105, "No responce from Quillon", "Keine Antwort vom Quillon"},
    {106, "Can not open port", "Port lässt sich nicht öffnen"},
    {107, "No data selected", "Keine Daten gewählt"},
    {108, "Not enough free space. ", "Nicht genug freier Speicherplatz."},
    {109, "bytes required but only ", "bytes benötigt aber nur"},
    {110, "bytes free.", "bytes frei."},
    {111,
     "You can not load more than 3192 bytes/228 blocks of airspace data into Quillon\n"
     "Please reduce selected airspaces.",
     "Man kann nicht mehr als 3192 bytes/228 Blöcke Luftraum Daten in den Quillon "
     "laden\nBitte reduzieren sie die gewählten Luftraume."},
    {112, "Download succeded", "Download erfolgreich abgeschlossen"},
    {113, "No Com Port is available", "Kein Com Port ist verfügbar"},
    {114, "Unexpected Error at select items", "Unerwarteter Fehler beim Auswählen der Items"},
    {115, "Korvalis", "Korvalis"},
    {116, "Class", "Class"},
    {117, "Name", "Name"},
    {118, "Floor", "Floor"},
    {119, "Ceiling", "Ceiling"},
    {120, "Size", "Size"},
    {121, "Airspace Setup", "Airspace Setup"},
    {122, "File:", "Datei:"},
    {123, "Blocks used:", "Blöcke benötigt:"},
    {124, "Bytes used:", "Bytes benötigt:"},
    {125, "Port:", "Port:"},
    {126, "Load File", "Öffne Datei"},
    {127, "Select &All", "&Alle Markieren"},
    {128, "Select &None", "&Nichts Markieren"},
    {129, "Send Airspace", "Sende Lufträume"},
    {130, "Exit", "Beenden"},
    {131, "Info about Airspace", "Info über Airspace"},
    {132, "Airspace Version", "Airspace Version"},
    {133, "Airspace setup for the Korvalis Quillon", "Airspace setup for the Korvalis Quillon"},
    {134, "OK", "OK"},
    {135, "Error", "Fehler"},
    {136, "Info", "Info"},
    {137, "A new Com Port was found.\nShould it be selected?",
     "Es wurde ein neues Com Port gefunden.\nSoll es automatisch ausgewählt werden?"},
    {138, "%d new Com Ports was found (%s).", "Es wurden %d neue Com Ports gefunden und zwar %s."},
    {139, "Select...", "Auswahl..."},
    {140, "Select airspace", "Lufträume auswählen"},
    {141, "Take-off point:", "Startplatz:"},
    {142, "Radius:", "Umkreis:"},
    {143, "Types:", "Typen:"},
    {144, "Floor below:", "Untergrenze unter:"},
    {145, "Name contains:", "Name enthält:"},
    {146, "Fit to the instrument", "In den Quillon einpassen"},
    {147, "Simplify outlines (m):", "Umrisse vereinfachen (m):"},
    {148, "Apply", "Anwenden"},
    {149, "Close", "Schließen"},
    {150, "Map", "Karte"},
    {151, "%d matched, %d selected: %d bytes, %d blocks.",
     "%d passend, %d ausgewählt: %d Bytes, %d Blöcke."},
    {152, "Left out for lack of space:", "Aus Platzmangel weggelassen:"},
    {153, "Kept although the floor is not understood:",
     "Behalten, obwohl die Untergrenze nicht lesbar ist:"},
    {154,
     "The take-off point is not understood.\nWrite it as 46.7N 7.6E, 46.7, 7.6 or "
     "46:42:00 N 007:36:00 E.",
     "Der Startplatz ist nicht lesbar.\nSchreiben sie ihn als 46.7N 7.6E, 46.7, 7.6 oder "
     "46:42:00 N 007:36:00 E."},
    {155, "The radius is not a distance.", "Der Umkreis ist keine Entfernung."},
    {156, "The floor limit is not a height.", "Die Untergrenze ist keine Höhe."},
    {157, "The simplification is not a distance in metres.",
     "Die Vereinfachung ist keine Entfernung in Metern."},
    {158, "No type is chosen.", "Kein Typ ist gewählt."},
    {159, "%d of %d bytes", "%d von %d Bytes"},
    {160, "%s - type %s, class %s, %s to %s", "%s - Typ %s, Klasse %s, %s bis %s"},
    {161, "%s (%d bytes)", "%s (%d Bytes)"},
    {162, "Simplified outlines save %d bytes.", "Vereinfachte Umrisse sparen %d Bytes."},
    {163, "No airspace file is loaded.", "Keine Luftraum Datei ist geladen."},
    {180, "The selected airspaces hold no outline data",
     "Die gewählten Lufträume enthalten keine Umrissdaten"},
    {200, "Selected only", "Nur gewählte"},
    {201, "Always include", "Immer aufnehmen"},
    {202, "Never include", "Nie aufnehmen"},
    {203, "Auto", "Auto"},
    {204, "up to (m):", "bis (m):"},
    {205, "Only within the radius", "Nur innerhalb des Umkreises"},
    {206, "Preferred types:", "Bevorzugte Typen:"},
    {207, "Sent once, sharing an identical outline:", "Einmal gesendet, gleicher Umriss wie:"},
    {208, "%s shares the outline of line %d (%s)", "%s teilt den Umriss von Zeile %d (%s)"},
    {209, "%d simplified at %d m.", "%d mit %d m vereinfacht."},
    {210, "Auto chose %d m.", "Auto wählte %d m."},
    {211, "Cut to the radius:", "Auf den Umkreis zugeschnitten:"},
    {212, "Kept as the file draws them:", "Wie in der Datei behalten:"},
    {213, "Never included:", "Nie aufgenommen:"},
    {214, "%d always included.", "%d immer aufgenommen."},
    {215, "The ceiling of Auto is not a distance in metres.",
     "Die Obergrenze von Auto ist keine Entfernung in Metern."},
    {216, "%s (%d pieces, %d bytes)", "%s (%d Teile, %d Bytes)"},
    {290, "Whole selection", "Ganze Auswahl"},
    {291, "Zoom in (+)", "Vergrößern (+)"},
    {292, "Zoom out (-)", "Verkleinern (-)"},
    // No semicolons: the Windows resource script is made from these lines by a CMake script.
    {293, "Wheel, + and -: zoom. Drag or arrow keys: move the map.",
     "Mausrad, + und -: zoomen. Ziehen oder Pfeiltasten: Karte verschieben."},
    {270, "No airspace was found in this file: is this an OpenAir file?\n%s",
     "In dieser Datei wurde kein Luftraum gefunden: ist das eine OpenAir Datei?\n%s"},
    // Several files, OpenAir 2.0 details and the flying date.
    {240, "Add File", "Datei hinzufügen"},
    {241,
     "ACCSEC=ACC sector|ADIZ=Air defence identification zone|ALERT=Alert area|"
     "ASRA=Aerial sporting and recreation area|ATZ=Aerodrome traffic zone|AWY=Airway|"
     "CTA=Control area|CTR=Control zone|FIR=Flight information region|"
     "FIS=Flight information sector|GP=Glider prohibited|GSEC=Gliding sector|"
     "HTZ=Helicopter traffic zone|LTA=Lower traffic area|MATZ=Military aerodrome traffic zone|"
     "MTA=Military training area|MTR=Military training route|N=NOTAM area|NONE=No type|"
     "OFR=Overflight restriction|P=Prohibited area|Q=Danger area|R=Restricted area|"
     "RMZ=Radio mandatory zone|TFR=Temporary flight restriction|TIA=Traffic information area|"
     "TIZ=Traffic information zone|TMA=Terminal area|TMZ=Transponder mandatory zone|"
     "TRA=Temporary reserved area|TRAFR=Temporary reserved area (flight restricted)|"
     "TRZ=Transponder recommended zone|TSA=Temporary segregated area|UIR=Upper information region|"
     "UNC=Unclassified airspace|UTA=Upper traffic area|VFRR=VFR route|VFRSEC=VFR sector|"
     "W=Wave window|WARNING=Warning area",
     "ACCSEC=ACC-Sektor|ADIZ=Luftverteidigungs-Identifizierungszone|ALERT=Warngebiet|"
     "ASRA=Luftsport- und Freizeitgebiet|ATZ=Flugplatzverkehrszone|AWY=Luftstraße|"
     "CTA=Kontrollbezirk|CTR=Kontrollzone|FIR=Fluginformationsgebiet|"
     "FIS=Fluginformationssektor|GP=Segelflugverbot|GSEC=Segelflugsektor|"
     "HTZ=Hubschrauberverkehrszone|LTA=Unterer Verkehrsbereich|"
     "MATZ=Militärische Flugplatzverkehrszone|MTA=Militärisches Übungsgebiet|"
     "MTR=Militärische Tiefflugstrecke|N=NOTAM-Gebiet|NONE=Ohne Typ|"
     "OFR=Überflugbeschränkung|P=Flugverbotsgebiet|Q=Gefahrengebiet|R=Flugbeschränkungsgebiet|"
     "RMZ=Funkpflichtige Zone|TFR=Zeitweilige Flugbeschränkung|TIA=Verkehrsinformationsgebiet|"
     "TIZ=Verkehrsinformationszone|TMA=Nahkontrollbereich|TMZ=Transponderpflichtige Zone|"
     "TRA=Zeitweilig reserviertes Gebiet|TRAFR=Zeitweilig reserviertes Gebiet "
     "(Flugbeschränkung)|TRZ=Transponder empfohlen|TSA=Zeitweilig abgetrenntes Gebiet|"
     "UIR=Oberes Fluginformationsgebiet|UNC=Nicht klassifizierter Luftraum|"
     "UTA=Oberer Verkehrsbereich|VFRR=VFR-Strecke|VFRSEC=VFR-Sektor|W=Wellenfenster|"
     "WARNING=Warngebiet"},
    {242, "active %s", "aktiv %s"},
    {243, "active only by NOTAM", "nur per NOTAM aktiv"},
    {244, "radio %s", "Funk %s"},
    {245, "transponder %s", "Transponder %s"},
    {246, "from %s", "aus %s"},
    {247, "also in %s", "auch in %s"},
    {248, "Flying date (UTC):", "Flugdatum (UTC):"},
    {249, "Leave out airspaces active only by NOTAM", "Nur per NOTAM aktive Lufträume weglassen"},
    {250,
     "The flying date is not understood.\nWrite it as 2026-07-15, or 2026-07-15/2026-07-20 "
     "for several days, or leave it empty for any day.",
     "Das Flugdatum ist nicht lesbar.\nSchreiben sie es als 2026-07-15, oder "
     "2026-07-15/2026-07-20 für mehrere Tage, oder lassen sie es leer für jeden Tag."},
    {251, "%d of them active only by NOTAM: check the NOTAMs before the flight.",
     "%d davon nur per NOTAM aktiv: prüfen sie die NOTAMs vor dem Flug."},
    // The language choice in the About box.
    {300, "Language:", "Sprache:"},
    {301, "The new language applies when Airspace Setup starts again.",
     "Die neue Sprache gilt ab dem nächsten Start von Airspace Setup."},
}};

}  // namespace

std::span<const seriallink::StringEntry> stringEntries() {
    return kEntries;
}

seriallink::StringTable makeStringTable(seriallink::Language language) {
    return seriallink::StringTable(kEntries, ids::kErrorCaption, language, frenchEntries());
}

}  // namespace zonesend
