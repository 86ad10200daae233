// Airspace Setup in French: written for French-speaking pilots, not word for word. An id left
// out here is shown in English.
#include <array>

#include "zonesend/Strings.h"

namespace zonesend {

namespace {

constexpr std::array<seriallink::TranslatedEntry, 100> kFrench = {{
    {101, "Inf&os sur Airspace..."},
    {102, "Choisir un fichier d'espaces aériens"},
    {103, "Aucun fichier choisi"},
    {104, "Une erreur est survenue à l'ouverture du fichier"},
    {105, "Le Quillon ne répond pas"},
    {106, "Impossible d'ouvrir le port"},
    {107, "Aucun espace aérien sélectionné"},
    {108, "Pas assez de place libre."},
    {109, "octets nécessaires, mais seulement"},
    {110, "octets libres."},
    {111,
     "Le Quillon ne peut pas recevoir plus de 3192 octets (228 blocs) d'espaces aériens.\n"
     "Réduisez la sélection."},
    {112, "Transfert réussi"},
    {113, "Aucun port COM disponible"},
    {114, "Erreur inattendue pendant la sélection"},
    {115, "Korvalis"},
    {116, "Classe"},
    {117, "Nom"},
    {118, "Plancher"},
    {119, "Plafond"},
    {120, "Taille"},
    {121, "Airspace Setup"},
    {122, "Fichier :"},
    {123, "Blocs utilisés :"},
    {124, "Octets utilisés :"},
    {125, "Port :"},
    {126, "Ouvrir un fichier"},
    {127, "&Tout sélectionner"},
    {128, "Tout &désélectionner"},
    {129, "Envoyer au Quillon"},
    {130, "Quitter"},
    {131, "Infos sur Airspace"},
    {132, "Airspace version"},
    {133, "Espaces aériens pour le Korvalis Quillon"},
    {134, "OK"},
    {135, "Erreur"},
    {136, "Info"},
    {137, "Un nouveau port COM est apparu.\nFaut-il le sélectionner ?"},
    {138, "%d nouveaux ports COM sont apparus (%s)."},
    {139, "Sélection..."},
    {140, "Sélectionner des espaces aériens"},
    {141, "Décollage :"},
    {142, "Rayon :"},
    {143, "Types :"},
    {144, "Plancher sous :"},
    {145, "Nom contenant :"},
    {146, "Remplir le Quillon au mieux"},
    {147, "Simplifier (m) :"},
    {148, "Appliquer"},
    {149, "Fermer"},
    {150, "Carte"},
    {151, "%d trouvés, %d sélectionnés : %d octets, %d blocs."},
    {152, "Laissés de côté faute de place :"},
    {153, "Gardés bien que le plancher soit illisible :"},
    {154,
     "Le point de décollage n'est pas compris.\nÉcrivez-le par exemple 46.7N 7.6E, 46.7, 7.6 "
     "ou 46:42:00 N 007:36:00 E."},
    {155, "Le rayon n'est pas une distance."},
    {156, "Le plancher n'est pas une hauteur."},
    {157, "La simplification n'est pas une distance en mètres."},
    {158, "Aucun type n'est coché."},
    {159, "%d sur %d octets"},
    {160, "%s - type %s, classe %s, de %s à %s"},
    {161, "%s (%d octets)"},
    {162, "Les contours simplifiés font gagner %d octets."},
    {163, "Aucun fichier d'espaces aériens n'est chargé."},
    {180, "Les espaces aériens sélectionnés n'ont aucun contour"},
    {200, "Sélection seule"},
    {201, "Toujours inclure"},
    {202, "Ne jamais inclure"},
    {203, "Auto"},
    {204, "jusqu'à (m) :"},
    {205, "Seulement dans le rayon"},
    {206, "Types prioritaires :"},
    {207, "Envoyés une seule fois, même contour qu'un autre :"},
    {208, "%s a le même contour que la ligne %d (%s)"},
    {209, "%d simplifiés à %d m."},
    {210, "Auto a choisi %d m."},
    {211, "Découpés au rayon :"},
    {212, "Gardés tels que le fichier les dessine :"},
    {213, "Jamais inclus :"},
    {214, "%d toujours inclus."},
    {215, "La limite d'Auto n'est pas une distance en mètres."},
    {216, "%s (%d morceaux, %d octets)"},
    {290, "Toute la sélection"},
    {291, "Zoom avant (+)"},
    {292, "Zoom arrière (-)"},
    {293, "Molette, + et - : zoom. Glisser ou flèches : déplacer la carte."},
    {270, "Aucun espace aérien trouvé dans ce fichier : est-ce bien un fichier OpenAir ?\n%s"},
    // Several files, OpenAir 2.0 details and the flying date. The type words keep the codes of
    // the file before each "=".
    {240, "Ajouter un fichier"},
    {241,
     "ACCSEC=Secteur ACC|ADIZ=Zone d'identification de défense aérienne|ALERT=Zone d'alerte|"
     "ASRA=Zone de sports aériens et de loisirs|ATZ=Zone de circulation d'aérodrome|"
     "AWY=Voie aérienne|CTA=Région de contrôle|CTR=Zone de contrôle|"
     "FIR=Région d'information de vol|FIS=Secteur d'information de vol|"
     "GP=Interdit aux planeurs|GSEC=Secteur de vol à voile|HTZ=Zone de trafic hélicoptères|"
     "LTA=Région de trafic inférieure|MATZ=Zone de trafic d'aérodrome militaire|"
     "MTA=Zone d'entraînement militaire|MTR=Itinéraire d'entraînement militaire|N=Zone NOTAM|"
     "NONE=Sans type|OFR=Restriction de survol|P=Zone interdite|Q=Zone dangereuse|"
     "R=Zone réglementée|RMZ=Zone à radio obligatoire|TFR=Restriction temporaire de vol|"
     "TIA=Région d'information de trafic|TIZ=Zone d'information de trafic|"
     "TMA=Région de contrôle terminale|TMZ=Zone à transpondeur obligatoire|"
     "TRA=Zone temporairement réservée|TRAFR=Zone temporairement réservée (vol restreint)|"
     "TRZ=Zone à transpondeur recommandé|TSA=Zone temporairement ségrégée|"
     "UIR=Région supérieure d'information de vol|UNC=Espace aérien non classé|"
     "UTA=Région de trafic supérieure|VFRR=Route VFR|VFRSEC=Secteur VFR|W=Fenêtre d'onde|"
     "WARNING=Zone d'avertissement"},
    {242, "actif %s"},
    {243, "actif seulement par NOTAM"},
    {244, "radio %s"},
    {245, "transpondeur %s"},
    {246, "fichier %s"},
    {247, "aussi dans %s"},
    {248, "Date du vol (UTC) :"},
    {249, "Laisser de côté les zones actives seulement par NOTAM"},
    {250,
     "La date du vol n'est pas comprise.\nÉcrivez-la par exemple 2026-07-15, ou "
     "2026-07-15/2026-07-20 pour plusieurs jours, ou laissez-la vide pour n'importe quel jour."},
    {251, "%d d'entre eux actifs seulement par NOTAM : consultez les NOTAM avant le vol."},
    {300, "Langue :"},
    {301, "La nouvelle langue s'appliquera au prochain démarrage d'Airspace Setup."},
}};

}  // namespace

std::span<const seriallink::TranslatedEntry> frenchEntries() {
    return kFrench;
}

}  // namespace zonesend
