// The default period of the criteria lists: characters of today's date written in
// the short date format.
#pragma once

#include <string>

namespace mainform {

// Reads the current date afresh, writes it in the short date format and returns
// `count` characters from the 1-based position `first` (fewer, or none, where the
// text is shorter).
std::string todayCharacters(int first, int count);

}  // namespace mainform
