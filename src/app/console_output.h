#pragma once
// What the programs without a window print, in UTF-8 as every text of the tool is. A Windows
// console shows bytes in its own code page (932 on a Japanese system), so there the text goes
// out as wide characters; to a file or a pipe it stays UTF-8 bytes, as on every other system.

#include <cstdio>
#include <string_view>

namespace korvane {

void Print(std::FILE* stream, std::string_view utf8);
void Printf(std::FILE* stream, const char* format, ...) __attribute__((format(printf, 2, 3)));

#ifdef _WIN32
// Writes the text to `console` (a HANDLE) as wide characters, when it is a console; false, and
// nothing written, when it is not (a file, a pipe, nothing).
bool WriteConsoleUtf8(void* console, std::string_view utf8);
#endif

}  // namespace korvane
