#pragma once

#include <string_view>

namespace quillora {

// How titles are ordered by the sort commands. Both compare Windows-1252 bytes as a "word sort":
// '-' and '\'' are skipped at first and only break ties; punctuation and symbols come before
// digits, digits before letters; accented letters sort next to their base letter. Results are
// <0, 0 or >0.

// Case decides only between titles equal in every other respect, and then lower case comes
// first ("aaa" < "AAA"). Returns 0 only for identical titles.
int CompareTitlesWordSort(std::string_view a, std::string_view b);
// The same comparison with case ignored entirely ("b" and "B" compare equal).
int CompareTitlesIgnoreCase(std::string_view a, std::string_view b);

}  // namespace quillora
