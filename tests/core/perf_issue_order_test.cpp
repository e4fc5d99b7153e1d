// SPDX-License-Identifier: GPL-3.0-or-later
// The fast library ordering against the four exchange passes written out
// plainly, on many random name lists: the same swaps must give the same
// order, whatever the starting order, duplicates and odd names included.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/library/discovery.h"

namespace {

bool Has(const std::string& name, std::string_view word)
{
    return name.find(word) != std::string::npos;
}

template <typename Eligible>
void PlainPass(std::vector<std::string>& names, std::string_view keyWord, Eligible eligible)
{
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!eligible(names[i]))
            continue;
        for (std::size_t j = i + 1; j < names.size(); ++j)
            if (names[i] > names[j] || (!Has(names[i], keyWord) && Has(names[j], keyWord)))
                std::swap(names[i], names[j]);
    }
}

std::vector<std::string> PlainOrder(std::vector<std::string> names)
{
    PlainPass(names, "release-gold", [](const std::string&) { return true; });
    PlainPass(names, "release", [](const std::string& n) { return !Has(n, "gold"); });
    PlainPass(names, "izone", [](const std::string& n) { return !Has(n, "gold") && !Has(n, "release"); });
    PlainPass(names, "protoplex",
              [](const std::string& n) { return !Has(n, "gold") && !Has(n, "release") && !Has(n, "izone"); });
    return names;
}

std::vector<std::string> RandomNames(std::mt19937& random, std::size_t count)
{
    // Prefixes that overlap the key words in every way: inside, around,
    // cut short, and names with no journal at all.
    static const char* const prefixes[] = {"release", "release-gold", "gold",      "izone",     "protoplex",
                                           "hacker",  "goldrelease",  "izonegold", "myizone",   "releas",
                                           "release-gol", "",         "\xE6\xF3\xF0\xED\xE0\xEB", "zprotoplex"};
    std::uniform_int_distribution<std::size_t> prefix(0, std::size(prefixes) - 1);
    std::uniform_int_distribution<int> number(0, 120);
    std::vector<std::string> names;
    for (std::size_t k = 0; k < count; ++k) {
        std::string name = prefixes[prefix(random)];
        if (random() % 4 != 0)
            name += std::to_string(number(random));
        names.push_back(std::move(name));
    }
    return names;
}

TEST(PerfIssueOrder, MatchesThePlainPassesOnRandomLists)
{
    std::mt19937 random(20240517);
    for (int round = 0; round < 600; ++round) {
        const std::size_t count = round < 500 ? random() % 40 : 100 + random() % 300;
        std::vector<std::string> names = RandomNames(random, count);
        // The listing delivers byte order; other starts must agree too.
        if (round % 3 == 0)
            std::sort(names.begin(), names.end());
        else if (round % 3 == 1)
            std::sort(names.rbegin(), names.rend());
        const std::vector<std::string> expected = PlainOrder(names);
        SortIssueFolders(names);
        ASSERT_EQ(names, expected) << "round " << round;
    }
}

TEST(PerfIssueOrder, LargeListingOfOneJournalStaysInTextOrder)
{
    std::vector<std::string> names;
    for (int n = 1; n <= 2000; ++n)
        names.push_back("izone" + std::to_string(n));
    std::sort(names.begin(), names.end());
    const std::vector<std::string> expected = PlainOrder(names);
    SortIssueFolders(names);
    EXPECT_EQ(names, expected);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
}

}  // namespace
