// flashwizard's texts. The German ones are those the instrument was sold with: the wording,
// spelling slips included, is what pilots know from the manuals and support mails. The English
// ones serve the Downloader and the command line alike; the French ones are in
// WizardStringsFrench.cpp. Ids 190-196 hold the texts of the step pages and the frame's
// buttons, one id per page, the page's texts in template order separated by "|".
#include "flashwizard/core/WizardStrings.h"

#include <array>
#include <string_view>

namespace flashwizard {

namespace {

// The web address is written out in the texts (not KORVALIS_WEB_ADDRESS): the Windows string
// tables are generated from this array, and the generator reads only string literals.
constexpr std::array<seriallink::StringEntry, 62> kEntries = {{
    {129, "Error", "Fehler"},
    {130, "Info", "Info"},
    {131, "Korvalis Downloader step %d", "Korvalis Downloader %d. Schritt"},
    {132, "Quit setup", "Setup beenden"},
    {133,
     "Do you really want to quit the update program?\nYou can run the update again at any time.",
     "Wollen Sie das Updateprogramm wirklich abbrechen?\nSie können das Update jederzeit erneut "
     "durchführen."},
    {134, "There is not enough memory available!",
     "Es steht nicht genügend Arbeisspeicher zur Verfügung!"},
    {135, "Please choose a HEX file", "Bitte wählen sie eine Hex Datei"},
    {136, "Intel Hex File (*.hex)|*.hex|All Files (*.*)|*.*||",
     "Intel Hex File (*.hex)|*.hex|All Files (*.*)|*.*||"},
    {137,
     "No port for a connection to the Quillon was found.\nIf you update over USB, make sure the "
     "cable is connected properly.",
     "Es wurde kein Port für eine Verbindung zum Quillon gefunden.\nFalls Sie über USB updaten "
     "wollen stellen Sie sicher das das Kabel korrekt angeschlossen ist."},
    {138, "Korvalis", "Korvalis"},
    {139, "Information: a new COM port was found in step 3. It is now selected.",
     "Information: Im Schritt 3 wurde ein neues Com Port gefunden. Dieses ist nun automatisch "
     "ausgewählt."},
    {140, "A new COM port was found.\nShall it be selected?",
     "Es wurde ein neues Com Port gefunden.\nSoll es automatisch ausgewählt werden?"},
    {141,
     "Information: %d new COM ports were found in step 3 (%s).\nThe first of them is now "
     "selected.",
     "Information: Im Schritt 3 wurden %d neue Com Ports gefunden (%s).\nDas Erste davon wurde "
     "automatisch ausgewählt."},
    {142, "%d new COM ports were found: %s.", "Es wurden %d neue Com Ports gefunden und zwar %s."},
    {143, "There are no COM ports left!\nMake sure the Quillon is connected properly.",
     "Es stehen keine Com Ports mehr zur Verfügung!\nStellen Sie sicher das der Quillon korrekt "
     "angeschlossen ist."},
    {144, "There are no timers available", "Es sind keine Timer verfügbar"},
    {145, "A file must be chosen!", "Es muss eine Datei gewählt sein!"},
    {146, "The given file does not exist!", "Die angegebene Datei ist nicht vorhanden!"},
    {147,
     "The chosen file is not a valid .HEX file!\nPlease choose a correct file.\nTry loading the "
     "file again from www.korvalis.example.",
     "Die gewählte Datei ist keine gültige .HEX Datei!\nBitte wählen Sie eine korrekte "
     "Datei.\nVersuchen Sie die Datei erneut von www.korvalis.example zu laden."},
    {148, "The update must not be cancelled any more.",
     "Der Update Vorgang darf nicht mehr abgebrochen werden."},
    {149, "Finish", "Fertigstellen"},
    {150, "Next >", "Weiter >"},
    {151, "Searching for the Quillon...", "Nach Quillon wird gesucht..."},
    {152, "Attempt %d to find the Quillon", "%d. Versuch den Quillon zu finden"},
    {153, "There is no Quillon connected to this port\nor the Quillon is not in download mode.",
     "Es ist kein Quillon an diesem Port angeschlossen\noder der Quillon befindet sich nicht im "
     "Downloadmodus."},
    {154, "A wrong device is connected to this port.",
     "Es ist ein falschen Gerät an diesem Port angeschlossen."},
    {155, "Data transfer error.", "Datenübertragungs Fehler."},
    {156, "The chosen COM port could not be opened.",
     "Das gewählte Com Port konnte nicht geöffnet werden."},
    {157, "will be loaded into the Quillon over port %s with \"Finish\".",
     "wird mit \"Fertigstellen\" über Port %s in den Quillon geladen."},
    {158, "Reset of the Quillon", "Reset des Quillons"},
    {159, "Attempt %d to reset the Quillon", "%d. Versuch den Quillon zu reseten"},
    {160, "Erasing the old program code", "Löschen des alten Programmcodes"},
    {161, "Attempt %d to erase the old program code",
     "%d. Versuch den alten Programmcode zu löschen"},
    {162, "Download", "Download"},
    {163, "Download attempt %d", "%d. Versuch des Downloads"},
    {164, "Download attempt %d of line %d", "%d. Downloadversuch der Zeile %d"},
    {165, "Download failed!", "Download fehlgeschlagen!"},
    {166,
     "The update failed.\n Make sure all connections are plugged in properly.\nIf the download "
     "fails again, contact Korvalis.",
     "Der Update Vorgang ist fehlgeschlagen.\n Stellen Sie sicher das alle Verbindungen korrekt "
     "angeschlossen sind.\nSollte der Download wieder fehlschlagen wenden Sie sich an Korvalis."},
    {167, "Switching to fast download mode", "Schneller Download Modus aktivieren"},
    {168, "Attempt %d to switch to fast download mode",
     "%d. Versuch in den schnellen Download Modus zu schalten"},
    {169, "Switching to slow download mode", "Langsamer Download Modus aktivieren"},
    {170, "Attempt %d to switch to slow download mode",
     "%d. Versuch in den langsamen Download Modus zu schalten"},
    {171, "Starting the program", "Start des Programms"},
    {172, "Attempt %d to start the program", "%d. Versuch das Programm zu starten"},
    {173, "Deactivating the boot loader", "Deaktivieren des Bootloaders"},
    {174, "Attempt %d to deactivate the boot loader", "%d. Versuch den Bootloader zu deaktivieren"},
    {175, "Update completed successfully", "Update erfolgreich abgeschlossen"},
    {176, "Close", "Schliessen"},
    {177, "Repeat", "Wiederholen"},
    {178, "The update must not be cancelled any more.\nDo you want to cancel anyway?",
     "Der Update Vorgang darf nicht mehr abgebrochen werden.\nWollen sie dennoch Abbrechen?"},
    {179, "Attention", "Achtung"},
    {182, "Downloader", "Downloader"},
    {190,
     "KORVALIS DOWNLOADER (english)\nV1.2|Welcome to the firmware update\nfor the Quillon.\nThis "
     "program guides you step by step\nthrough the update.\nFirst download the new QLX_Vxx.HEX "
     "file\nfrom our home page 'www.korvalis.example'.",
     "KORVALIS DOWNLOADER (deutsch)\nV1.2|Herzlich willkommen beim Firmware-Update\nfür den "
     "Quillon.\nDiese Anwendung wird Sie Schritt für Schritt\ndurch den Updatevorgang "
     "führen.\nLaden Sie zuerst die neue QLX_Vxx.HEX Datei\nvon unserer homepage "
     "'www.korvalis.example'."},
    {191, "Now choose the new QLX_Vxx.HEX file.", "Wählen Sie nun die neue QLX_Vxx.HEX Datei."},
    {192,
     "Connect the Quillon with its serial or its USB cable.|Use only the cable supplied with the "
     "Quillon",
     "Stellen Sie die serielle oder die USB Verbindung mit dem Quillon her.|Verwenden Sie nur das "
     "mitgelieferte Kabel"},
    {193,
     "Caution:|After this step the download must not be interrupted any more!|1. Press the "
     "download button on the back with a cotton bud or the like\n      and HOLD it down. (You feel "
     "a slight click: never press it hard!)|2. Now press the ON/OFF key for one second while you "
     "hold the "
     "download button down.|Nothing may appear on the display.\nIf the Quillon logo appears all "
     "the same, the instrument is not in download mode yet.\nSwitch the Quillon off and start "
     "again from point 1.",
     "Achtung:|Nach diesem Schritt darf der Download Prozess nicht mehr abgebrochen werden!|1. "
     "Drücken Sie den Download Taster auf der Rückseite mit einem Wattestäbchen etc.\n      und "
     "HALTEN Sie Ihn gedrückt. (Es ist ein Druckpunkt spürbar, keinesfalls mit Gewalt drücken!)|2. "
     "Nun betätigen Sie die ON/OFF Taste eine Sekunde lang bei gedrücktem Download Taster.|Am "
     "Display darf nichts erscheinen.\nSollte dennoch das Quillon-Logo erscheinen, so ist das "
     "Gerät noch nicht im Download Modus.\nSchalten Sie den Quillon aus und wiederholen Sie ab "
     "Punkt 1."},
    {194, "Choose the COM port the Quillon is connected to.",
     "Wählen Sie das COM Port, an dem Sie den Quillon angeschlossen haben."},
    {195,
     "The file|Status:|Ready to download|When the update has finished, the Downloader starts\nthe "
     "Quillon with the new firmware by itself.",
     "Die Datei|Status:|Bereit zum Download|Nach Beendigung das Updates startet der "
     "Downloader\nden Quillon mit der neuen Firmware automatisch."},
    {196, "Cancel|< Back", "Abbrechen|< Zurück"},
    {197, "Inf&o about Downloader...", "Inf&o über Downloader..."},
    {198, "Language:", "Sprache:"},
    {199, "The new language applies when the Downloader starts again.",
     "Die neue Sprache gilt ab dem nächsten Start des Downloaders."},
}};

const seriallink::StringTable* g_replacement = nullptr;

}  // namespace

std::span<const seriallink::StringEntry> WizardStringEntries() {
    return kEntries;
}

const seriallink::StringTable& WizardStringsIn(seriallink::Language language) {
    static const seriallink::StringTable german(kEntries, kStrErrorCaption,
                                                seriallink::Language::German);
    static const seriallink::StringTable english(kEntries, kStrErrorCaption,
                                                 seriallink::Language::English);
    static const seriallink::StringTable french(
        kEntries, kStrErrorCaption, seriallink::Language::French, WizardFrenchEntries());
    switch (language) {
        case seriallink::Language::English:
            return english;
        case seriallink::Language::French:
            return french;
        case seriallink::Language::German:
            break;
    }
    return german;
}

const seriallink::StringTable& WizardStrings() {
    return g_replacement != nullptr ? *g_replacement
                                    : WizardStringsIn(seriallink::Language::German);
}

void UseWizardStrings(const seriallink::StringTable* table) {
    g_replacement = table;
}

std::string WizardText(unsigned id, const std::vector<int>& numbers) {
    std::vector<seriallink::FormatArg> args;
    args.reserve(numbers.size());
    for (int n : numbers) args.emplace_back(static_cast<long long>(n));
    return seriallink::FormatText(WizardStrings().Load(id), args);
}

std::string PageText(unsigned id, std::size_t index) {
    return PageTextIn(WizardStrings(), id, index);
}

std::string PageTextIn(const seriallink::StringTable& table, unsigned id, std::size_t index) {
    const std::string texts = table.Load(id);
    std::size_t begin = 0;
    for (std::size_t i = 0; i < index; ++i) {
        begin = texts.find('|', begin);
        if (begin == std::string::npos) return {};
        ++begin;
    }
    return texts.substr(begin, texts.find('|', begin) - begin);
}

void ShowWizardError(seriallink::MessageOwner* owner, unsigned id) {
    if (owner == nullptr) return;
    seriallink::MessageBoxRequest request;
    request.text = WizardStrings().Load(id);
    request.caption = WizardStrings().ErrorCaption();
    request.buttons = seriallink::MessageButtons::Ok;
    request.icon = seriallink::MessageIcon::Exclamation;
    (void)owner->ShowMessageBox(request);
}

void ShowWizardSuccess(seriallink::MessageOwner* owner, unsigned id) {
    seriallink::ShowSuccessText(owner, WizardStrings().Load(id),
                                WizardStrings().Load(kStrProgramName));
}

}  // namespace flashwizard
