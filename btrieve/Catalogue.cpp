// The 61 catalogue entries and the two operations built on them.
#include "btrieve/Catalogue.h"

#include <initializer_list>

#include "foundation/Conversions.h"
#include "foundation/ErrorReporter.h"
#include "platform/VbErrors.h"

namespace {

struct Row {
    int16_t no;
    const char* description;
    char perStationCost;
    int32_t recordLength, pageSize, keyCountOf;
    std::initializer_list<BtrieveSegment> segments;  // position, length, flags
};

// Entries 8, 18, 50 to 54, 56 to 58 and 60 stay empty. Only the files the program opens or
// creates carry their segments.
const Row kRows[] = {
    {0, "Paramétrage", 'N', 1000, 1024, 1, {}},
    {1, "Commerciaux", 'N', 300, 1024, 2, {}},
    {2, "Secteurs d'activité", 'N', 100, 512, 2, {}},
    {3, "Clients", 'N', 900, 1024, 2, {}},
    {4, "Produits", 'N', 100, 512, 2, {}},
    {5, "Entêtes des contrats", 'O', 150, 512, 3, {}},
    {6, "Entêtes des spots", 'O', 400, 512, 2, {}},
    {7, "Dates de programmation des passages des spots", 'O', 100, 512, 4, {}},
    {9, "Paramétrage (Backup)", 'N', 1000, 1024, 1, {}},
    {10, "Publicité: Données programmées", 'O', 400, 512, 1, {}},
    {11, "Gestion des droits des utilisateurs", 'N', 350, 1536, 1, {}},
    {12, "Publicité: Système Tiers: Campagnes", 'N', 300, 1536, 7, {}},
    {13, "Publicité: Système Tiers: Spots", 'N', 300, 1536, 5, {}},
    {14, "Publicité: Système Tiers: Messages", 'N', 300, 1536, 3, {}},
    {15, "Publicité: Système Tiers: Produits", 'N', 100, 1536, 2, {}},
    {16, "Publicité: Système Tiers: Clients", 'N', 100, 1536, 2, {}},
    {17, "V 3.4 Planification", 'O', 1000, 2048, 2, {}},
    {19, "Télévision: Données d'un système tiers", 'N', 1000, 4096, 3, {}},
    {20, "Artistes", 'O', 300, 1024, 4, {{1, 5, 2}, {6, 10, 3}, {16, 20, 1027}, {46, 1, 19}, {16, 20, 3}}},
    {21,
     "Voix, Groupe, Sonorité, Catégorie, ...",
     'O',
     980,
     1024,
     2,
     {{1, 10, 2}, {1, 5, 1043}, {11, 10, 1027}}},
    {22,
     "Morceaux",
     'O',
     900,
     2048,
     6,
     {{1, 8, 2}, {9, 5, 3}, {19, 5, 3}, {64, 5, 3}, {69, 5, 3}, {24, 20, 1027}}},
    {23, "Piles de morceaux par sujet", 'O', 100, 512, 3, {}},
    {24, "Piles de morceaux par catégorie", 'O', 100, 512, 3, {}},
    {25, "Priorités", 'O', 250, 512, 1, {}},
    {26,
     "Table des morceaux pour le magnétophone",
     'O',
     150,
     512,
     4,
     {{1, 8, 3}, {9, 19, 3}, {28, 14, 3}, {42, 39, 1027}}},
    {27, "Conducteur publicité", 'O', 50, 512, 2, {}},
    {28, "Evénements musicaux réellement diffusés", 'O', 150, 512, 3, {}},
    {29, "Morceaux (Clés complémentaires)", 'O', 100, 512, 3, {}},
    {30, "Squelette des horloges", 'O', 250, 512, 1, {}},
    {31, "Pointeurs de start, stop, loop, ...", 'O', 50, 512, 1, {{1, 11, 2}}},
    {32, "Renseignements complémentaires sur les morceaux", 'O', 250, 1024, 1, {{1, 10, 2}}},
    {33, "Historique des artistes et groupes programmés", 'O', 100, 512, 3, {}},
    {34, "Historique des morceaux programmés", 'O', 200, 1024, 6, {}},
    {35, "Historique des événements programmés", 'O', 400, 1024, 3, {}},
    {36, "Base de référence pour les titres", 'N', 800, 1024, 6, {}},
    {37, "V 3.4 Informations sur les sons", 'N', 500, 1024, 3, {{1, 8, 2}, {9, 12, 3}, {21, 12, 3}}},
    {38, "V 3.4 Coralind", 'N', 900, 1024, 2, {}},
    {39, "V 3.4 Coralind: Détail des imports/exports", 'N', 300, 2048, 1, {}},
    {40, "V 3.4 Morceaux non diffusés", 'O', 900, 1024, 2, {{1, 8, 3}, {9, 14, 3}}},
    {41, "V 3.4 Convert Entête", 'N', 900, 2048, 3, {{1, 10, 2}, {11, 50, 1027}, {61, 14, 1027}}},
    {42, "V 3.4 Convert Détail", 'N', 900, 2048, 1, {{1, 20, 2}}},
    {43, "V 3.4 Podcast: Emission", 'O', 4000, 4096, 2, {{1, 8, 2}, {9, 60, 1027}}},
    {44,
     "V 3.4 Podcast: Articles des Emissions",
     'O',
     4000,
     4096,
     3,
     {{1, 8, 2}, {9, 21, 3}, {30, 60, 1027}}},
    {45, "V 3.4 Podcast: Images des Emissions ou des Articles", 'O', 4000, 4096, 1, {{1, 8, 2}}},
    {46, "V 3.4 Equivalence entre les morceaux", 'N', 512, 1024, 1, {{1, 5, 2}}},
    {47, "V 3.4 Historique de Diffusion: Codes et Libellés", 'O', 4082, 4096, 1, {{1, 11, 2}}},
    {48, "V 3.4 Table des titres", 'O', 100, 512, 2, {{1, 8, 2}, {9, 43, 1027}}},
    {49, "V 3.4 Historique de Diffusion: Ecarts", 'O', 450, 512, 1, {{1, 8, 2}}},
    {55, "V.2017 Dialogue Player --> Relaytone", 'O', 500, 1024, 1, {{1, 16, 2}}},
    {59, "V.2017 Relaytone: Calcul du CRC pour la norme UECP", 'N', 250, 2048, 1, {{1, 200, 2}}},
};

constexpr int32_t kSegmented = 16;

BtrieveFileDef entryOf(const Row& row) {
    BtrieveFileDef def;
    def.Description = row.description;
    def.baseName = "FRAD" + Lib_Public::N2S(row.no, 3) + " ";
    def.perStation = std::string(1, row.perStationCost);
    def.SecondFlag = row.no == 47 || row.no == 59 ? "O" : "N";
    def.RecordLength = row.recordLength;
    def.PageSize = row.pageSize;
    def.keyCount = row.keyCountOf;
    bool keyGoesOn = false;
    size_t k = 0;
    for (const BtrieveSegment& s : row.segments) {
        BtrieveSegment& seg = def.Segments[k];
        seg.Position = s.Position;
        seg.byteLength = s.byteLength;
        seg.Flags = s.Flags;
        // The catalogue marks the first segment of every multi-segment key (and, once, the
        // second segment of file 21's second key); nothing reads the mark.
        if ((s.Flags & kSegmented) && !keyGoesOn) seg.Reserve1 = 65535;
        if (row.no == 21 && k == 2) seg.Reserve1 = 65535;
        keyGoesOn = s.Flags & kSegmented;
        ++k;
    }
    return def;
}

void put16(size_t offset, int32_t value) {
    BtrieveFileSpec[offset] = static_cast<unsigned char>(value & 0xff);
    BtrieveFileSpec[offset + 1] = static_cast<unsigned char>((value >> 8) & 0xff);
}

bool inCatalogue(int16_t no, const char* procedure) {
    if (no >= 0 && no < kBtrFileCount) return true;
    Lib_Public::ReportError(platform::vb::kSubscriptOutOfRange,
                            "Subscript out of range (file " + std::to_string(no) + ")",
                            std::string("Lib_Data_BTrieve:") + procedure);
    return false;
}

const std::array<BtrieveFileDef, kBtrFileCount>& catalogue() {
    static const std::array<BtrieveFileDef, kBtrFileCount> entries = [] {
        std::array<BtrieveFileDef, kBtrFileCount> all{};
        for (const Row& row : kRows) all[size_t(row.no)] = entryOf(row);
        return all;
    }();
    return entries;
}

}  // namespace

namespace Lib_Data_BTrieve_2 {

void InitGeneralData() { BtrieveFileDefs = catalogue(); }

}  // namespace Lib_Data_BTrieve_2

namespace Lib_Data_BTrieve {

std::string NomFichierBTR(int16_t NoFichier, int16_t Instance) {
    if (!inCatalogue(NoFichier, "NomFichierBTR")) return {};
    const BtrieveFileDef& def = BtrieveFileDefs[size_t(NoFichier)];
    std::string name = def.baseName;
    while (!name.empty() && name.back() == ' ') name.pop_back();
    while (!name.empty() && name.front() == ' ') name.erase(0, 1);
    if (def.perStation == "O") {
        if (Instance < 0 || Instance > 19 || name.size() < 5) {
            Lib_Public::ReportError(platform::vb::kSubscriptOutOfRange,
                                    "Subscript out of range (station " + std::to_string(Instance + 1) + ")",
                                    "Lib_Data_BTrieve:NomFichierBTR");
            return {};
        }
        name[4] = char('A' + Instance);
    }
    return name + ".bt6";
}

const BtrieveFileDef& catalogueEntry(int16_t NoFichier) {
    static const BtrieveFileDef empty;
    return NoFichier >= 0 && NoFichier < kBtrFileCount ? catalogue()[size_t(NoFichier)] : empty;
}

void InitStructureFichierBTR(int16_t NoFichier, bool Compression) {
    if (!inCatalogue(NoFichier, "InitStructureFichierBTR")) return;
    const BtrieveFileDef& def = BtrieveFileDefs[size_t(NoFichier)];
    put16(0, def.RecordLength);
    put16(2, def.PageSize);
    put16(4, def.keyCount);
    put16(10, Compression ? 8 : 0);
    for (size_t k = 0; k < def.Segments.size(); ++k) {
        const size_t at = 16 + 16 * k;
        put16(at, def.Segments[k].Position);
        put16(at + 2, def.Segments[k].byteLength);
        put16(at + 4, def.Segments[k].Flags);
        BtrieveFileSpec[at + 10] = 0;  // extended key type: string
    }
}

}  // namespace Lib_Data_BTrieve
