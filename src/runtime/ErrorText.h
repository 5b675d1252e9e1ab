#pragma once
// The texts around a reported error: the error box's text rule and the
// application title that captions the boxes.

#include <string>
#include <string_view>

namespace tavimo {

// The message with a final "." appended when its last character (a whole
// UTF-8 sequence; its first byte decides) sorts after "." in byte order.
std::string ErrorBoxText(std::string_view message);

// The title derived from the executable's path: the file name without its
// directory, cut at its first ".", first letter upper case, the rest lower
// case ("/usr/bin/tavimo" and "PROGRAM.EXE" give "Tavimo" and "Program").
std::string ApplicationTitle(std::string_view executablePath);

}  // namespace tavimo
