#include "core/spell_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace karbelon {
namespace {

TEST(SpellTable, LooksUpEveryRowByItsExactName) {
    struct Row {
        const char* name;
        double manaOffset;
        double multiplier;
        double cooldown;
    };
    const Row rows[] = {
        {"카르벨론", 600, 1.5, 10},    {"지옥염화", 2000, 1.65, 9.375},
        {"지옥진화", 6500, 1.8, 8.75}, {"지옥멸화", 21600, 1.95, 8.125},
        {"지옥겁화", 32300, 2.1, 7.5}, {"삼매진화", 600, 1.5, 61},
        {"삼매멸화", 21600, 1.95, 46}, {"삼매겁화", 32300, 2.1, 36},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto entry = lookupSpell(row.name);
        ASSERT_TRUE(entry.has_value());
        EXPECT_EQ(entry->manaOffset, row.manaOffset);
        EXPECT_EQ(entry->multiplier, row.multiplier);
        EXPECT_EQ(entry->cooldown, row.cooldown);
    }
}

TEST(SpellTable, SeriesCooldownsEqualTheirFormula) {
    const char* series[] = {"지옥염화", "지옥진화", "지옥멸화", "지옥겁화"};
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(lookupSpell(series[k - 1])->cooldown, 10 - k * (5.0 / 8));
    }
}

TEST(SpellTable, NamesComeInListOrderAndAreDistinct) {
    const auto names = spellNames();
    EXPECT_EQ(names.front(), "카르벨론");
    EXPECT_EQ(names.back(), "삼매겁화");
    EXPECT_EQ(std::set<std::string_view>(names.begin(), names.end()).size(), names.size());
}

TEST(SpellTable, MatchIsExactAndWhole) {
    const std::string misses[] = {"",
                                  " 카르벨론",
                                  "카르벨론 ",
                                  "카르벨",
                                  "카르벨론카르벨론",
                                  std::string("카르벨론\0", 13),
                                  "karbelon",
                                  "지옥"};
    for (const std::string& text : misses) {
        EXPECT_FALSE(lookupSpell(text).has_value()) << text;
    }
}

}  // namespace
}  // namespace karbelon
