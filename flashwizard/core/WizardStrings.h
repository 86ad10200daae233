// flashwizard's string table in German, English and French, and the names of its ids.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "seriallink/Messages.h"

// The maker's web site, inside text 147 and on the welcome page.
#define KORVALIS_WEB_ADDRESS "www.korvalis.example"

namespace flashwizard {

inline constexpr const char* kWebAddress = KORVALIS_WEB_ADDRESS;

// String ids the core and the wizard refer to by name.
enum StringId : unsigned {
    kStrErrorCaption = 129,
    kStrInfoCaption = 130,
    kStrWindowTitle = 131,  // "Korvalis Downloader %d. Schritt"
    kStrQuitCaption = 132,
    kStrQuitQuestion = 133,
    kStrNoMemory = 134,
    kStrBrowseTitle = 135,
    kStrBrowseFilter = 136,
    kStrNoPortFound = 137,
    kStrCompanyKey = 138,
    kStrOneNewPortInfo = 139,
    kStrSelectNewPortQuestion = 140,
    kStrNewPortsInfo = 141,    // %d ports (%s)
    kStrNewPortsNotice = 142,  // %d, %s
    kStrNoPortsLeft = 143,
    kStrNoTimer = 144,
    kStrNoFileChosen = 145,
    kStrFileMissing = 146,
    kStrFileNotHex = 147,
    kStrCannotCancel = 148,
    kStrFinish = 149,  // "Fertigstellen"
    kStrNext = 150,    // "Weiter >"
    kStrSearching = 151,
    kStrSearchAttempt = 152,  // %d
    kStrNoQuillon = 153,      // IdentifyLoader 2
    kStrWrongDevice = 154,    // IdentifyLoader 1
    kStrTransferError = 155,  // IdentifyLoader 3
    kStrPortNotOpened = 156,
    kStrPortSentence = 157,  // %s
    kStrResetFirst = 158,
    kStrResetLater = 159,
    kStrEraseFirst = 160,
    kStrEraseLater = 161,
    kStrDownload = 162,
    kStrDownloadPass = 163,    // %d pass
    kStrDownloadRecord = 164,  // %d attempt, %d line
    kStrDownloadFailed = 165,
    kStrUpdateFailedBox = 166,
    kStrFastFirst = 167,
    kStrFastLater = 168,
    kStrSlowFirst = 169,
    kStrSlowLater = 170,
    kStrStartFirst = 171,
    kStrStartLater = 172,
    kStrDisableFirst = 173,
    kStrDisableLater = 174,
    kStrUpdateDone = 175,
    kStrClose = 176,   // "Schliessen"
    kStrRepeat = 177,  // "Wiederholen"
    kStrCancelQuestion = 178,
    kStrAttentionCaption = 179,
    kStrProgramName = 182,  // "Downloader", the caption of a good outcome
    // The texts of the pages and of the frame's buttons: one id each, the texts in template
    // order separated by "|" (PageText). German as the templates have them.
    kStrWelcomePage = 190,
    kStrFilePage = 191,
    kStrConnectionPage = 192,
    kStrDownloadModePage = 193,
    kStrPortPage = 194,
    kStrUpdatePage = 195,
    kStrFrameButtons = 196,  // "Abbrechen|< Zurück"
    kStrAboutItem = 197,
    kStrLanguageLabel = 198,
    kStrLanguageNote = 199,
};

// Every id with its English and German text, and the French texts.
[[nodiscard]] std::span<const seriallink::StringEntry> WizardStringEntries();
[[nodiscard]] std::span<const seriallink::TranslatedEntry> WizardFrenchEntries();

// The table in one language, with 129 as its error caption.
[[nodiscard]] const seriallink::StringTable& WizardStringsIn(seriallink::Language language);

// The German table, with 129 "Fehler" as its error caption; or the table put in its place.
[[nodiscard]] const seriallink::StringTable& WizardStrings();

// Puts another table with the same ids (another language's) in place of the German one for
// WizardStrings, WizardText, PageText and ShowWizardError; null restores the German one. The
// table must outlive its use.
void UseWizardStrings(const seriallink::StringTable* table);

// The text of id formatted with whole numbers (printf rules, as the status line shows it).
[[nodiscard]] std::string WizardText(unsigned id, const std::vector<int>& numbers = {});

// Text number index (from 0) of a page's texts, id 190-196; empty when there is no such text.
[[nodiscard]] std::string PageText(unsigned id, std::size_t index);
// The same from the given table.
[[nodiscard]] std::string PageTextIn(const seriallink::StringTable& table, unsigned id,
                                     std::size_t index);

// An error box of the wizard: text id under "Fehler", OK, exclamation icon. Taken from the
// wizard's own table, so it does not depend on which table the process installed.
void ShowWizardError(seriallink::MessageOwner* owner, unsigned id);
// A good outcome: string id under the program's name (182), information icon, OK.
void ShowWizardSuccess(seriallink::MessageOwner* owner, unsigned id);

}  // namespace flashwizard
