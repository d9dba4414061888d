#pragma once
// Conversions between the UTF-8 of our expectations and messages and the
// UTF-16 that the Windows text calls give back.
#include <string>
#include <string_view>

std::wstring wide(std::string_view utf8);
std::string utf8(std::wstring_view text);
// Shows control characters as \r, \n, \t so that a message fits one line.
std::string quoted(std::wstring_view text);
