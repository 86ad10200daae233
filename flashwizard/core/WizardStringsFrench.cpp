// The Downloader in French: written for French-speaking pilots, not word for word. An id left
// out here is shown in English.
#include <array>

#include "flashwizard/core/WizardStrings.h"

namespace flashwizard {

namespace {

constexpr std::array<seriallink::TranslatedEntry, 62> kFrench = {{
    {129, "Erreur"},
    {130, "Info"},
    {131, "Korvalis Downloader - étape %d"},
    {132, "Quitter la mise à jour"},
    {133, "Voulez-vous vraiment quitter la mise à jour ?\nVous pourrez la relancer à tout moment."},
    {134, "Mémoire insuffisante !"},
    {135, "Choisissez un fichier HEX"},
    {136, "Fichier Intel Hex (*.hex)|*.hex|Tous les fichiers (*.*)|*.*||"},
    {137,
     "Aucun port n'a été trouvé pour se connecter au Quillon.\nSi vous passez par l'USB, "
     "vérifiez que le câble est bien branché."},
    {138, "Korvalis"},
    {139,
     "Information : un nouveau port COM est apparu à l'étape 3. Il est maintenant "
     "sélectionné."},
    {140, "Un nouveau port COM est apparu.\nFaut-il le sélectionner ?"},
    {141,
     "Information : %d nouveaux ports COM sont apparus à l'étape 3 (%s).\nLe premier est "
     "maintenant sélectionné."},
    {142, "%d nouveaux ports COM sont apparus : %s."},
    {143, "Il ne reste plus aucun port COM !\nVérifiez que le Quillon est bien branché."},
    {144, "Aucun minuteur n'est disponible"},
    {145, "Vous devez choisir un fichier !"},
    {146, "Le fichier indiqué n'existe pas !"},
    {147,
     "Le fichier choisi n'est pas un fichier .HEX valide !\nChoisissez le bon fichier.\n"
     "Au besoin, téléchargez-le à nouveau sur www.korvalis.example."},
    {148, "La mise à jour ne peut plus être interrompue."},
    {149, "Terminer"},
    {150, "Suivant >"},
    {151, "Recherche du Quillon..."},
    {152, "Recherche du Quillon, essai %d"},
    {153,
     "Aucun Quillon n'est branché sur ce port\nou le Quillon n'est pas en mode "
     "téléchargement."},
    {154, "Un autre appareil est branché sur ce port."},
    {155, "Erreur de transmission."},
    {156, "Impossible d'ouvrir le port COM choisi."},
    {157, "sera chargé dans le Quillon par le port %s quand vous cliquerez sur « Terminer »."},
    {158, "Réinitialisation du Quillon"},
    {159, "Réinitialisation du Quillon, essai %d"},
    {160, "Effacement de l'ancien programme"},
    {161, "Effacement de l'ancien programme, essai %d"},
    {162, "Téléchargement"},
    {163, "Téléchargement, essai %d"},
    {164, "Essai %d d'envoi de la ligne %d"},
    {165, "Échec du téléchargement !"},
    {166,
     "La mise à jour a échoué.\nVérifiez que tous les câbles sont bien branchés.\nSi le "
     "téléchargement échoue encore, contactez Korvalis."},
    {167, "Passage en mode de téléchargement rapide"},
    {168, "Passage en mode rapide, essai %d"},
    {169, "Retour au mode de téléchargement lent"},
    {170, "Retour au mode lent, essai %d"},
    {171, "Démarrage du programme"},
    {172, "Démarrage du programme, essai %d"},
    {173, "Désactivation du chargeur de démarrage"},
    {174, "Désactivation du chargeur de démarrage, essai %d"},
    {175, "Mise à jour réussie"},
    {176, "Fermer"},
    {177, "Réessayer"},
    {178, "La mise à jour ne peut plus être interrompue.\nVoulez-vous quand même l'arrêter ?"},
    {179, "Attention"},
    {182, "Downloader"},
    {190,
     "KORVALIS DOWNLOADER (français)\nV1.2|Bienvenue dans la mise à jour\ndu firmware du "
     "Quillon.\nCe programme vous guide pas à pas\ntout au long de la mise à jour.\n"
     "Téléchargez d'abord le nouveau fichier\nQLX_Vxx.HEX sur www.korvalis.example."},
    {191, "Choisissez maintenant le nouveau fichier QLX_Vxx.HEX."},
    {192,
     "Reliez le Quillon à l'ordinateur par le câble série ou USB.|N'utilisez que le câble "
     "fourni avec le Quillon"},
    {193,
     "Attention|Après cette étape, le téléchargement ne doit plus être interrompu !|1. Avec un "
     "coton-tige ou autre, appuyez sur le bouton de téléchargement au dos\n      et GARDEZ-le "
     "enfoncé. (Vous sentez un léger déclic, n'appuyez jamais en force !)|2. Appuyez alors "
     "une seconde sur la touche ON/OFF, sans relâcher le bouton de téléchargement.|Rien ne doit "
     "s'afficher à l'écran.\nSi le logo Quillon apparaît malgré tout, l'appareil n'est pas "
     "encore en mode téléchargement.\nÉteignez le Quillon et recommencez au point 1."},
    {194, "Choisissez le port COM sur lequel le Quillon est branché."},
    {195,
     "Le fichier|État :|Prêt pour le téléchargement|Une fois la mise à jour terminée, le "
     "Downloader redémarre\nle Quillon avec le nouveau firmware."},
    {196, "Annuler|< Précédent"},
    {197, "Inf&os sur le Downloader..."},
    {198, "Langue :"},
    {199, "La nouvelle langue s'appliquera au prochain démarrage du Downloader."},
}};

}  // namespace

std::span<const seriallink::TranslatedEntry> WizardFrenchEntries() {
    return kFrench;
}

}  // namespace flashwizard
