#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace ws::cli {

// Every failure of worldsmith-cli is one line on standard error:
//   worldsmith-cli: WHERE: MESSAGE (DETAIL)
// WHERE is the file as the user typed it ("<stdin>" for "-"), followed for a
// world file by the place inside it ("w.json: areas[0] (始まりの門)"); it is
// left out when no file is to blame. MESSAGE is the system's own text (the
// game's Japanese message where there is one) and DETAIL the English
// explanation, left out when empty.
std::string formatFailure(std::string_view where, const Error& error);

// Prints formatFailure on standard error and returns kExitBadInput.
int reportFailure(std::string_view where, const Error& error);

// The name of an input or output file in WHERE: the path as typed (UTF-8,
// never passed through CP932), "<stdin>" or "<stdout>" for "-", with control
// characters escaped.
std::string inputName(const std::filesystem::path& path);
std::string outputName(const std::filesystem::path& path);

// Text from the user or from files made safe for a terminal: control
// characters are written as escapes (\x1b, \n, \t), bytes that are not valid
// UTF-8 as \xNN. `name` also writes a backslash as \\, so that a name read
// from a file reads back unambiguously; paths keep theirs.
std::string escapeText(std::string_view utf8);
std::string escapeName(std::string_view utf8);

// A CP932 name from a game file (catalogue, save body) as terminal-safe
// UTF-8: escaped as escapeName, and a byte that is not valid CP932 as \xNN.
std::string cp932Name(std::string_view cp932);

// For "did you mean": the name among `known` nearest to `name` by edit
// distance (ignoring ASCII case), when it is near enough to be a slip of the
// keyboard; empty otherwise.
std::string_view nearestName(std::string_view name, const std::vector<std::string_view>& known);

}  // namespace ws::cli
