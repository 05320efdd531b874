#pragma once
// Text to and from the UTF-16 strings the Win32 conversion and normalisation functions take.

#include <windows.h>

#include <string>
#include <string_view>

namespace luma::win32 {

// Bytes in a code page (CP_UTF8 included) as UTF-16.
std::wstring ToWide(std::string_view bytes, UINT codePage);

std::string WideToUtf8(const std::wstring& wide);

}  // namespace luma::win32
