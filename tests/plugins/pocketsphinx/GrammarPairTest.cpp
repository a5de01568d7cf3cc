// The recogniser's grammar pair reader: what it accepts and the clear errors it gives.
#include <gtest/gtest.h>

#include "plugins/pocketsphinx/GrammarPair.h"

using namespace PocketSphinxPlugin;

TEST(GrammarPair, ReadsTransitionsFinalStatesAndWords) {
    std::string error;
    const auto g = parseGrammar("# comment\n0 1 1 0 0\r\n1 2 2 0 0\n2 -1 -1 1 0\n1 -1 -1 1\n",
                                "1 [open] OW P AH N\n2 []\t sil\n2 [door]\n", error);
    ASSERT_TRUE(g) << error;
    EXPECT_EQ(g->stateCount, 3);
    ASSERT_EQ(g->transitions.size(), 2u);
    EXPECT_EQ(g->transitions[1].from, 1);
    EXPECT_EQ(g->transitions[1].category, 2);
    EXPECT_EQ(g->finalStates, (std::vector<std::int32_t>{1, 2}));
    ASSERT_EQ(g->categories.at(2).size(), 2u);
    EXPECT_TRUE(g->categories.at(2)[0].silent());
    EXPECT_EQ(g->categories.at(2)[1].output, "door");
    EXPECT_TRUE(g->categories.at(2)[1].phones.empty());
    EXPECT_EQ(g->categories.at(1)[0].phones, (std::vector<std::string>{"OW", "P", "AH", "N"}));
}

TEST(GrammarPair, RefusesBrokenPairsWithAReason) {
    const struct {
        const char* dfa;
        const char* dict;
        const char* error;
    } cases[] = {
        {"0 1 1 0 0\n", "1 [a]\n", "the automaton has no final state"},
        {"0 1 x 0 0\n1 -1 -1 1 0\n", "1 [a]\n", "automaton line 1 is malformed"},
        {"0 1 1\n", "1 [a]\n", "automaton line 1 is malformed"},
        {"0 1 100000 0 0\n1 -1 -1 1 0\n", "1 [a]\n", "automaton line 1 is malformed"},
        {"0 1 1 0 0\n1 -1 -1 1 0\n", "1 a\n", "dictionary line 1 is malformed"},
        {"0 1 1 0 0\n1 -1 -1 1 0\n", "\n-1 [a]\n", "dictionary line 2 is malformed"},
        {"0 1 1 0 0\n1 -1 -1 1 0\n", "2 [a]\n", "category 1 has no words"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(parseGrammar(c.dfa, c.dict, error)) << c.dfa;
        EXPECT_EQ(error, c.error) << c.dfa;
    }
    std::string error;
    EXPECT_FALSE(readGrammar("/nonexistent/grammar", error));
    EXPECT_EQ(error, "cannot read the grammar pair /nonexistent/grammar");
}
