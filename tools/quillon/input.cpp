#include "tools/quillon/input.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "airspace/Selection.h"
#include "tools/quillon/command.h"
#include "tools/quillon/json.h"
#include "tools/quillon/texts.h"

namespace quillon {

bool loadAirspaces(const std::string& path, airspace::LoadResult& result, bool warnIfEmpty) {
    result = airspace::loadAirspaceFile(path);
    if (result.status == airspace::LoadStatus::SystemError) {
        (void)fail(text("cannot read '", "kann '", "impossible de lire '") + path +
                   text("': ", "' nicht lesen: ", "' : ") + result.systemErrorText);
        return false;
    }
    if (result.status != airspace::LoadStatus::Ok) {
        (void)fail(text("cannot read '", "kann '", "impossible de lire '") + path +
                   text("': the file could not be read completely",
                        "' nicht lesen: die Datei ließ sich nicht vollständig lesen",
                        "' : le fichier n'a pas pu être lu en entier"));
        return false;
    }
    if (result.records.empty() && warnIfEmpty) warnNoAirspace(path);
    return true;
}

bool loadAirspaces(const std::vector<std::string>& paths, airspace::FilesLoadResult& result) {
    result = airspace::loadAirspaceFiles(paths);
    if (result.status != airspace::LoadStatus::Ok) {
        // Said as for one file: the failed one's name and cause.
        const std::string& path = paths[result.failedFile];
        if (result.status == airspace::LoadStatus::SystemError) {
            (void)fail(text("cannot read '", "kann '", "impossible de lire '") + path +
                       text("': ", "' nicht lesen: ", "' : ") + result.systemErrorText);
        } else {
            (void)fail(text("cannot read '", "kann '", "impossible de lire '") + path +
                       text("': the file could not be read completely",
                            "' nicht lesen: die Datei ließ sich nicht vollständig lesen",
                            "' : le fichier n'a pas pu être lu en entier"));
        }
        return false;
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (result.counts[i] == 0) warnNoAirspace(paths[i]);
    }
    return true;
}

void writeAirspaceFacts(JsonWriter& json, const airspace::AirspaceRecord& record,
                        const std::vector<std::string>& paths) {
    const auto pathOf = [&](std::size_t file) {
        return file < paths.size() ? paths[file] : std::string();
    };
    json.key("file").value(pathOf(record.fileIndex));
    json.key("type").value(airspace::airspaceType(record));
    json.key("activations").beginArray();
    for (const airspace::Activation& activation : record.activations) {
        json.beginObject();
        for (const auto& [name, time] :
             {std::pair{"start", activation.start}, std::pair{"end", activation.end}}) {
            json.key(name);
            if (time) {
                json.value(airspace::utcTimeText(*time));
            } else {
                json.null();
            }
        }
        json.endObject();
    }
    json.endArray();
    json.key("notam_only").value(record.notamOnly);
    for (const auto& [name, text] :
         {std::pair{"transponder", &record.transponder}, std::pair{"id", &record.identifier}}) {
        json.key(name);
        if (text->empty()) {
            json.null();
        } else {
            json.value(*text);
        }
    }
    json.key("also_in").beginArray();
    for (const std::size_t file : record.alsoInFiles) json.value(pathOf(file));
    json.endArray();
}

void writeFilesJson(JsonWriter& json, const std::vector<std::string>& paths,
                    const airspace::FilesLoadResult& loaded) {
    json.key("files").beginArray();
    for (std::size_t i = 0; i < paths.size() && i < loaded.headers.size(); ++i) {
        json.beginObject().key("file").value(paths[i]).key("version");
        if (loaded.headers[i].version.empty()) {
            json.null();
        } else {
            json.value(loaded.headers[i].version);
        }
        json.key("airspaces").value(loaded.counts[i]).endObject();
    }
    json.endArray();
    json.key("duplicates").value(loaded.duplicates);
}

void warnNoAirspace(const std::string& path) {
    if (settings().quiet()) return;
    std::cerr
        << path
        << text(": warning: no airspace found (is this an OpenAir file?)\n",
                ": Warnung: kein Luftraum gefunden (ist das eine OpenAir-Datei?)\n",
                " : attention : aucun espace aérien trouvé (est-ce bien un fichier OpenAir ?)\n");
}

std::string lowercaseExtension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

bool looksLikeHex(const std::string& path) {
    if (lowercaseExtension(path) == ".hex") return true;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    std::ifstream file(path, std::ios::binary);
    char c = 0;
    while (file.get(c)) {
        if (c == ':') return true;
        if (!std::isspace(static_cast<unsigned char>(c))) return false;
    }
    return false;
}

const char* hexProblemKey(seriallink::HexProblem problem) {
    using seriallink::HexProblem;
    switch (problem) {
        case HexProblem::None:
            return "none";
        case HexProblem::CannotOpen:
            return "cannot-open";
        case HexProblem::NotRegular:
            return "not-a-regular-file";
        case HexProblem::TooLarge:
            return "too-large";
        case HexProblem::NoColon:
            return "no-colon";
        case HexProblem::NotHexDigit:
            return "not-a-hex-digit";
        case HexProblem::Length:
            return "length";
        case HexProblem::Checksum:
            return "checksum";
        case HexProblem::RecordType:
            return "record-type";
        case HexProblem::EndRecord:
            return "end-record";
        case HexProblem::AfterEnd:
            return "after-end";
        case HexProblem::MissingEnd:
            return "missing-end";
    }
    return "unknown";
}

std::string hexProblemText(const seriallink::HexVerdict& verdict) {
    using seriallink::HexProblem;
    std::string reason;
    switch (verdict.problem) {
        case HexProblem::None:
            reason = text("a valid firmware file", "eine gültige Firmware-Datei",
                          "un fichier de firmware valide");
            break;
        case HexProblem::CannotOpen:
            reason = text("cannot be opened", "lässt sich nicht öffnen", "ne peut pas être ouvert");
            break;
        case HexProblem::NotRegular:
            reason = text("not a regular file (a pipe or a device)",
                          "keine gewöhnliche Datei (eine Pipe oder ein Gerät)",
                          "pas un fichier ordinaire (un tube ou un périphérique)");
            break;
        case HexProblem::TooLarge:
            reason = text("larger than 16 MB, far larger than any firmware",
                          "größer als 16 MB, weit größer als jede Firmware",
                          "plus de 16 Mo, bien plus que n'importe quel firmware");
            break;
        case HexProblem::NoColon:
            reason = text("a record must start with ':'", "ein Datensatz muss mit ':' beginnen",
                          "un enregistrement doit commencer par ':'");
            break;
        case HexProblem::NotHexDigit:
            reason =
                text("a character that is not a hex digit", "ein Zeichen, das keine Hex-Ziffer ist",
                     "un caractère qui n'est pas un chiffre hexadécimal");
            break;
        case HexProblem::Length:
            reason = text(
                "wrong length (a record of at most 16 data bytes is 11 to 43 "
                "characters, as long as its byte count says)",
                "falsche Länge (ein Datensatz mit höchstens 16 Datenbytes hat 11 bis "
                "43 Zeichen, so viele wie seine Byteanzahl sagt)",
                "longueur fausse (un enregistrement d'au plus 16 octets de données fait 11 à 43 "
                "caractères, autant que l'annonce son nombre d'octets)");
            break;
        case HexProblem::Checksum:
            reason = text("checksum does not match", "Prüfsumme stimmt nicht",
                          "la somme de contrôle ne correspond pas");
            break;
        case HexProblem::RecordType:
            reason = text("record type other than 00 (data) or 01 (end)",
                          "Satzart weder 00 (Daten) noch 01 (Ende)",
                          "type d'enregistrement autre que 00 (données) ou 01 (fin)");
            break;
        case HexProblem::EndRecord:
            reason = text("end record other than :00000001FF", "Endesatz ist nicht :00000001FF",
                          "enregistrement de fin autre que :00000001FF");
            break;
        case HexProblem::AfterEnd:
            reason = text("a record after the end record", "ein Datensatz nach dem Endesatz",
                          "un enregistrement après celui de fin");
            break;
        case HexProblem::MissingEnd:
            reason = text("the end record :00000001FF is missing", "der Endesatz :00000001FF fehlt",
                          "l'enregistrement de fin :00000001FF manque");
            break;
    }
    if (verdict.line == 0) return reason;
    if (verdict.problem == HexProblem::MissingEnd) {
        return reason + text(" after line ", " nach Zeile ", " après la ligne ") +
               std::to_string(verdict.line);
    }
    return text("line ", "Zeile ", "ligne ") + std::to_string(verdict.line) + ": " + reason;
}

}  // namespace quillon
