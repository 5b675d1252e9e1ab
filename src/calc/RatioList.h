#pragma once
// The ratio list: its comma-separated text form, the conversion of one entry
// to its value and the one list the process works with. Its storage is in
// calc/SettingsFile.h.

#include <string>
#include <string_view>
#include <vector>

#include "runtime/NumberFormatSettings.h"

namespace tavimo {

// The built-in list: the fallback when data.ini gives none, the settings
// dialog's initial text and the marker of an unchanged list.
inline constexpr std::string_view DefaultRatioText =
    "0.191,0.236,1/3,0.382,0.5,0.618,2/3,0.809,1,1.191,1.236,1.382,1.5,1.618,1.809,2";

// Entries exactly as SplitRatioText cuts them: not trimmed further, not
// sorted, not validated; duplicates and empty entries are kept. Entry i is
// bar i and level i.
using RatioList = std::vector<std::string>;

// Cuts a ratio list text at commas and blanks (bytes 1 to 32), with quoted
// items ("1,2" is one entry, "" inside stands for one quote). The text is
// walked by UTF-8 characters and ends at its first NUL byte.
RatioList SplitRatioText(std::string_view text);

// The value of one entry: "n/d" is two 32-bit integers divided in extended
// precision, anything else a decimal number with "." as its decimal
// separator whatever the locale, since the list is stored text that must
// read the same everywhere (and "," separates its entries). Raises
// EConvertError, EZeroDivide (1/0), EInvalidOp (0/0) or EOverflow.
double ParseRatio(std::string_view entry);

// The process-wide list, empty until it is first loaded or replaced; it is
// only ever replaced as a whole.
const RatioList& CurrentRatioList();
void ReplaceRatioList(RatioList list);

// The list a stored text stands for: an empty text means the default list.
RatioList RatioListFromStoredText(std::string_view storedText);

}  // namespace tavimo
