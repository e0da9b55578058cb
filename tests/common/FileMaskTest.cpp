#include "common/FileMask.h"

#include <gtest/gtest.h>

namespace pelorin {
namespace {

TEST(MatchesFileMask, WindowsMaskRules) {
  struct Case {
    const char* name;
    const char* mask;
    bool matches;
  };
  const Case cases[] = {
      // "*.*" and "*" take every name, with or without a dot, hidden ones too.
      {"song.mp3", "*.*", true},
      {"README", "*.*", true},
      {".profile", "*.*", true},
      {"a.b.c", "*", true},
      // Letters compare without regard to case, Cyrillic included.
      {"Song.MP3", "*.mp3", true},
      {"song.mp3", "*.MP3", true},
      {"Песня.wav", "ПЕСНЯ.*", true},
      {"ёлка.txt", "Ёлка.txt", false},  // ё is not raised
      // "?" is one character, a Cyrillic letter too; "*" may be empty.
      {"a.wav", "?.wav", true},
      {"я.wav", "?.wav", true},
      {"ab.wav", "?.wav", false},
      {".wav", "*.wav", true},
      {"a.wave", "*.wav", false},
      {"a.wav.bak", "*.wav", false},
      // A mask ending in ".*" also takes the name without an extension.
      {"readme", "README.*", true},
      {"readmefirst", "README.*", false},
      // "*" gives back what it took when a later part of the mask does not fit.
      {"abcabd", "*abd", true},
      {"abcab", "a*b*c", false},
      {"track01.cda", "track??.cda", true},
      {"anything", "", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchesFileMask(c.name, c.mask), c.matches) << c.name << " against " << c.mask;
  }
}

}  // namespace
}  // namespace pelorin
