// The player's message file: what the start-up replay hands on.
#include <gtest/gtest.h>

#include "engine/FRADx55Drain.h"

TEST(FRADx55, ReplayDropsRdsTextsInAnyCase) {
    const struct { const char* texte; bool rejoue; } cases[] = {
        {"<NoStation:1><CurrNature:Mus><CurrLib:Titre>", true},
        {"<RDS:RT>Now playing", false},
        {"<rds:ps>RELAYTON", false},
        {"<NoStation:2><Rds:Rt>text", false},
        {"<RDS:PI>1234", true},
        {"", true},
    };
    for (const auto& c : cases) EXPECT_EQ(FRADx55::ARejouer(c.texte), c.rejoue) << c.texte;
}
