#pragma once
// UTF-8 <-> UTF-16 for the wide Win32 API. Windows only.

#include <string>
#include <string_view>

namespace luma {

std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

}  // namespace luma
