#include "text.h"

#include <windows.h>

std::wstring wide(std::string_view utf8_text)
{
    if (utf8_text.empty())
        return {};
    const int size = static_cast<int>(utf8_text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8_text.data(), size, nullptr, 0);
    std::wstring result(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8_text.data(), size, result.data(), length);
    return result;
}

std::string utf8(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, result.data(), length, nullptr, nullptr);
    return result;
}

std::string quoted(std::wstring_view text)
{
    std::wstring shown;
    for (wchar_t c : text) {
        switch (c) {
        case L'\r': shown += L"\\r"; break;
        case L'\n': shown += L"\\n"; break;
        case L'\t': shown += L"\\t"; break;
        default: shown += c;
        }
    }
    // Built by appends: GCC 12 warns falsely (-Wrestrict) on "literal" + string at -O2.
    std::string result = "\"";
    result += utf8(shown);
    result += '"';
    return result;
}
