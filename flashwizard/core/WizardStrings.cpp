// flashwizard's texts. German only: the instrument was sold with a German-language downloader.
// The wording, spelling slips included, is what pilots know from the manuals and support mails.
#include "flashwizard/core/WizardStrings.h"

#include <iterator>

namespace flashwizard {

namespace {

const seriallink::StringEntry kTexts[] = {
    {129, "", "Fehler"},
    {130, "", "Info"},
    {131, "", "Korvalis Downloader %d. Schritt"},
    {132, "", "Setup beenden"},
    {133, "",
     "Wollen Sie das Updateprogramm wirklich abbrechen?\nSie können das Update jederzeit erneut "
     "durchführen."},
    {134, "", "Es steht nicht genügend Arbeisspeicher zur Verfügung!"},
    {135, "", "Bitte wählen sie eine Hex Datei"},
    {136, "", "Intel Hex File (*.hex)|*.hex|All Files (*.*)|*.*||"},
    {137, "",
     "Es wurde kein Port für eine Verbindung zum Quillon gefunden.\nFalls Sie über USB updaten "
     "wollen stellen Sie sicher das das Kabel korrekt angeschlossen ist."},
    {138, "", "Korvalis"},
    {139, "",
     "Information: Im Schritt 3 wurde ein neues Com Port gefunden. Dieses ist nun automatisch "
     "ausgewählt."},
    {140, "", "Es wurde ein neues Com Port gefunden.\nSoll es automatisch ausgewählt werden?"},
    {141, "",
     "Information: Im Schritt 3 wurden %d neue Com Ports gefunden (%s).\nDas Erste davon wurde "
     "automatisch ausgewählt."},
    {142, "", "Es wurden %d neue Com Ports gefunden und zwar %s."},
    {143, "",
     "Es stehen keine Com Ports mehr zur Verfügung!\nStellen Sie sicher das der Quillon korrekt "
     "angeschlossen ist."},
    {144, "", "Es sind keine Timer verfügbar"},
    {145, "", "Es muss eine Datei gewählt sein!"},
    {146, "", "Die angegebene Datei ist nicht vorhanden!"},
    {147, "",
     "Die gewählte Datei ist keine gültige .HEX Datei!\nBitte wählen Sie eine korrekte "
     "Datei.\nVersuchen Sie die Datei erneut von " KORVALIS_WEB_ADDRESS " zu laden."},
    {148, "", "Der Update Vorgang darf nicht mehr abgebrochen werden."},
    {149, "", "Fertigstellen"},
    {150, "", "Weiter >"},
    {151, "", "Nach Quillon wird gesucht..."},
    {152, "", "%d. Versuch den Quillon zu finden"},
    {153, "",
     "Es ist kein Quillon an diesem Port angeschlossen\noder der Quillon befindet sich nicht im "
     "Downloadmodus."},
    {154, "", "Es ist ein falschen Gerät an diesem Port angeschlossen."},
    {155, "", "Datenübertragungs Fehler."},
    {156, "", "Das gewählte Com Port konnte nicht geöffnet werden."},
    {157, "", "wird mit \"Fertigstellen\" über Port %s in den Quillon geladen."},
    {158, "", "Reset des Quillons"},
    {159, "", "%d. Versuch den Quillon zu reseten"},
    {160, "", "Löschen des alten Programmcodes"},
    {161, "", "%d. Versuch den alten Programmcode zu löschen"},
    {162, "", "Download"},
    {163, "", "%d. Versuch des Downloads"},
    {164, "", "%d. Downloadversuch der Zeile %d"},
    {165, "", "Download fehlgeschlagen!"},
    {166, "",
     "Der Update Vorgang ist fehlgeschlagen.\n Stellen Sie sicher das alle Verbindungen korrekt "
     "angeschlossen sind.\nSollte der Download wieder fehlschlagen wenden Sie sich an Korvalis."},
    {167, "", "Schneller Download Modus aktivieren"},
    {168, "", "%d. Versuch in den schnellen Download Modus zu schalten"},
    {169, "", "Langsamer Download Modus aktivieren"},
    {170, "", "%d. Versuch in den langsamen Download Modus zu schalten"},
    {171, "", "Start des Programms"},
    {172, "", "%d. Versuch das Programm zu starten"},
    {173, "", "Deaktivieren des Bootloaders"},
    {174, "", "%d. Versuch den Bootloader zu deaktivieren"},
    {175, "", "Update erfolgreich abgeschlossen"},
    {176, "", "Schliessen"},
    {177, "", "Wiederholen"},
    {178, "",
     "Der Update Vorgang darf nicht mehr abgebrochen werden.\nWollen sie dennoch Abbrechen?"},
    {179, "", "Achtung"},
    {182, "", "Downloader"},
};

const seriallink::StringTable* g_replacement = nullptr;

}  // namespace

const seriallink::StringTable& WizardStrings() {
    static const seriallink::StringTable table(kTexts, kStrErrorCaption,
                                               seriallink::Language::German);
    return g_replacement != nullptr ? *g_replacement : table;
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
