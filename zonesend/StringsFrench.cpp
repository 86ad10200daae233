// Airspace Setup in French: written for French-speaking pilots, not word for word. An id left
// out here is shown in English.
#include <array>

#include "zonesend/Strings.h"

namespace zonesend {

namespace {

constexpr std::array<seriallink::TranslatedEntry, 66> kFrench = {{
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
    {300, "Langue :"},
    {301, "La nouvelle langue s'appliquera au prochain démarrage d'Airspace Setup."},
}};

}  // namespace

std::span<const seriallink::TranslatedEntry> frenchEntries() {
    return kFrench;
}

}  // namespace zonesend
