// The dialogs' filter lines become patterns that match in any case.
#include <gtest/gtest.h>

#include "platform/file_filters.h"

using platform::any_case_glob;
using platform::file_filters;

TEST(FileFilters, LettersMatchEitherCase) {
  const std::pair<const char*, const char*> cases[] = {
      {"*.jpg", "*.[jJ][pP][gG]"},
      {"*", "*"},
      {"*.olp", "*.[oO][lL][pP]"},
      {"*_2.Png", "*_2.[pP][nN][gG]"},
      // Bracket expressions are kept as they stand, with a ']' that opens the set.
      {"*.[ch]", "*.[ch]"},
      {"x[]a]?", "[xX][]a]?"},
      {"*.[!o]x", "*.[!o][xX]"},
      // An unclosed '[' is a plain character.
      {"a[b", "[aA][[][bB]"},
  };
  for (const auto& [glob, want] : cases) EXPECT_EQ(any_case_glob(glob), want) << glob;
}

TEST(FileFilters, LinesBecomeNamedPatternLists) {
  const auto f = file_filters("Pictures|*.png;*.jpg\nno bar here\nEmpty|;;\nAll Files|*");
  ASSERT_EQ(f.size(), 3u);
  EXPECT_EQ(f[0].name, "Pictures");
  EXPECT_EQ(f[0].patterns, (std::vector<std::string>{"*.[pP][nN][gG]", "*.[jJ][pP][gG]"}));
  EXPECT_EQ(f[1].name, "Empty");
  EXPECT_TRUE(f[1].patterns.empty());
  EXPECT_EQ(f[2].patterns, std::vector<std::string>{"*"});
}
